// Paths as the file system resolves them: one spelling for every way of
// writing a path, and whether a folder entry leads elsewhere.
#pragma once

#include <string>

// The NormalPath of path with the short (8.3) names of the part that exists
// replaced by their long names; empty when path is no full path.
std::string ResolvedPath(const std::string& path);

// Whether path names a junction, a symbolic link or another reparse point.
bool IsReparsePoint(const std::string& path);
