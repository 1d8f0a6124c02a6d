// Paths as the system resolves them before it acts on them, worked out on the
// text alone, so that paths written in different ways compare alike.
// Platform-free.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The names of a path below a folder: "\" and "/" both separate them, empty
// names and "." are dropped and each ".." takes away the name before it.
// False when a ".." climbs above the folder the path starts in.
bool ResolvedNames(const std::string& relative, std::vector<std::string>& names);

// Those names joined by "\"; nothing when a ".." climbs above the folder.
std::optional<std::string> ResolvedBelowFolder(const std::string& relative);

// The path in one spelling: lower case (the letters of Windows-1252), "\"
// for "/", without the "\\?\" prefix, repeated separators, "." and ".."
// names, and without the trailing dots and blanks the system drops from the
// last name; a folder has no trailing backslash, a drive root keeps its own
// ("c:\"). UNC paths keep their "\\server\share" root. Empty for a ".."
// that climbs above the root, and for a text that is not a full path of a drive or share:
// relative and drive-relative paths, device paths ("\\.\"), names with
// * ? " < > | : or control characters (":" would name a stream), names of
// dots and blanks only, folder names in the middle that end in a dot or a
// blank, and paths longer than the system's 259 characters.
std::string NormalPath(const std::string& path);

// Whether a NormalPath may name something by a short (8.3) name the system
// made: a name of at most 8 characters and an extension of at most 3 that
// holds a "~". Every other name is its own long name.
bool MayHoldShortNames(const std::string& normal);

// Whether a NormalPath is a root (of a drive or a share).
bool IsRootPath(const std::string& normal);

// Whether NormalPath inner lies below NormalPath outer (not the same).
bool LiesBelow(const std::string& inner, const std::string& outer);

// Whether NormalPath inner is outer or lies below it.
bool IsSameOrBelow(const std::string& inner, const std::string& outer);
