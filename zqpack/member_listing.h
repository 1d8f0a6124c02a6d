// A component archive's directory with every member named as the installer
// names it on disk, so that zqpack lists and checks the names the
// installation will have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/zip_directory.h"
#include "checks/product_checks.h"

struct ListedName {
  NameFidelity Fidelity;
  std::string Shown;  // the stored name in UTF-8, for messages
};

struct MemberListing {
  ZipDirectory Directory;         // FileName in Windows-1252, "\"-separated, "?" where a character is lacking
  std::vector<ListedName> Names;  // one per entry
};

// Reads the directory of the archive; returns its error (0 when readable).
int ReadMemberListing(const uint8_t* data, size_t size, MemberListing& listing);
