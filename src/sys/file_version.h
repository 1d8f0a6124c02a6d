// Version resources of files and the rule that decides whether a file is newer.
#pragma once

#include <string>

#include "sys/version.h"

// Reads the file version of the file's version resource; false (and an empty
// text) when it has none.
bool GetFileVersion(const std::string& path, VersionRecord& version, std::string& text);

// The file's version text, or empty.
std::string FileVersion(const std::string& path);

// Whether source should replace target: when either is missing; by version when
// both have one (strictly greater); otherwise by a strictly later write time.
bool SourceIsNewer(const std::string& source, const std::string& target);
