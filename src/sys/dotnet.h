// The .NET framework folder whose tools register assemblies.
#pragma once

#include <string>

#include "sys/version.h"

// Finds the first framework folder (in the file system's listing order) below
// the registered InstallRoot whose name is "v" + a version that matches wanted
// and that holds gacutil.exe. Without equalOnly, wanted becomes the found
// version. folder receives the path with a trailing backslash, or empty.
bool FindDotNet(VersionRecord& wanted, bool equalOnly, std::string& folder);

// Whether a framework of at least the version in text (numbers separated by
// dots) is installed; folder as above.
bool FindDotNet(const std::string& minimumVersion, std::string& folder);
