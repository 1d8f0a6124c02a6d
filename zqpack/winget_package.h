// What the Windows Package Manager's manifest says of an installer zqpack
// builds: the options of --winget, the program image's file version and
// install.ini read as the installer reads it, so that the manifest's
// uninstall entry is the one the installer writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "component.h"

struct WingetOptions {
  std::string Folder;                                       // --winget: where the manifest goes; empty: no manifest
  std::string Identifier, Url, License, Description, Name;  // as the command line gives them

  // The field of a --winget-... option, or null for any other argument.
  std::string* Option(const std::string& argument);
  // What the command line lacks for a manifest, as a message; empty when
  // nothing is (also when it asks for none).
  std::string Missing() const;
};

// Every text UTF-8.
struct WingetPackage {
  std::string Folder, Identifier, Version, Url, License, Description, Name, Publisher;
  // The uninstall entry as the installer writes it: its key's name, DisplayName.
  std::string ProductCode, DisplayName;
};

// The package of the installer of that image and components. Raises
// std::runtime_error for what the manifest would lack or the schema does not allow.
WingetPackage DescribePackage(const WingetOptions& options, const std::vector<uint8_t>& image,
                              const std::vector<Component>& components);
