// The finished installer's own version resource: the product's version and
// name, so that the file's properties, the uninstall entry's DisplayVersion
// and the package manager's PackageVersion all name the release.
// Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "checks/product_checks.h"
#include "sys/version.h"

// The texts of the resource, in Windows-1252.
struct InstallerTexts {
  VersionRecord Version;
  std::string VersionFrom;  // where the version comes from, for zqpack's output
  std::string ProductName, Company, Description, OriginalName;
};

// Up to four numbers up to 65535 between dots, as a version resource holds
// them, in as many characters as the installer keeps.
bool IsVersionText(const std::string& text);
// The product's texts: the version from --version, else the version of the
// first component other than the base that names one, else the image's; the
// name and company (Publisher, else RegRoot) from install.ini. Raises
// std::runtime_error for a --version the installer cannot keep.
InstallerTexts ProductInstallerTexts(const std::string& versionOption, const std::vector<uint8_t>& image,
                                     const std::vector<ComponentFiles>& components, const std::string& output);
// Writes the texts into the image's version resource, in its place; false,
// and the image unchanged, when it has none. Raises std::runtime_error when
// they need more room than the image's resource has.
bool WriteInstallerVersion(std::vector<uint8_t>& image, const InstallerTexts& texts);
