// The Windows Package Manager's multi-file manifest of an installer, schema
// 1.6.0: the version file, the installer file and the default locale's file,
// in UTF-8 YAML.
#pragma once

#include <string>

#include "winget_package.h"

// Writes the three files into package.Folder (made when missing), with the
// SHA-256 of the installer file as it is now; raises std::runtime_error
// naming the file that cannot be read or written.
void WriteWingetManifest(const WingetPackage& package, const std::string& installer);
