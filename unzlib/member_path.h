// Where an archive member may be written, and which members a pattern
// list asks for. Platform-free.
#pragma once

#include <string>
#include <vector>

// Turns a stored member name into a path below the extraction folder: "/"
// becomes "\", empty and "." components go. False for a name that would land
// outside the folder (rooted, drive or UNC, a ".." component, a ":") or that
// is empty once cleaned.
bool CleanMemberPath(const std::string& stored, std::string& relative);

// Whether the member matches one of the patterns ("*" and "?" as
// wildcards, case ignored). An empty list and "*.*" match every member.
bool MatchesSpecs(const std::string& member, const std::vector<std::string>& specs);
