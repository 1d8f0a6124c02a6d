// Paths with letters the ANSI code page lacks (a user named Ayşe): the A
// functions reach them through their short (8.3) names, never through a
// look-alike.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The short form of an existing path, empty when the system has none to give.
using ShortPathLookup = std::function<std::wstring(const std::wstring& path)>;
std::wstring SystemShortPath(const std::wstring& path);

// The path as the A functions reach it: as it is where the code page holds
// every letter, else with the short name of each part up to the last one
// with a lacking letter (the parts the code page holds keep their names).
// Where there is no such form (the part does not exist, or its volume makes
// no short names), the path comes with "?" for each lacking letter: no file
// has that name, and IsUnreachable tells it.
std::string ReachablePath(const std::wstring& path, const ShortPathLookup& shortPath = SystemShortPath);
bool IsUnreachable(const std::string& path);

// The full name of a path that goes by a short name because of a letter the
// code page lacks, with "?" for that letter; empty for any other path.
std::string LackingFullForm(const std::string& path);

// The long form of an existing path, as the A functions reach it: a part
// with a letter the code page lacks keeps its short name, where the A
// function would give a look-alike. Empty when the path does not exist.
std::string LongReachableForm(const std::string& path);

// The path an environment variable holds, as the A functions reach it;
// empty when the variable is not set.
std::string EnvironmentPath(const char* name);

// A folder the user names: its missing parts up to the last one with a
// lacking letter are created first, under their full names, so that they
// have short names; created receives their reachable forms (with trailing
// backslash), outermost first. Empty when a part cannot be created, the "?"
// form when the folder has no short name; then what was made is removed.
std::string ReachFolder(const std::wstring& folder, std::vector<std::string>& created);

// The absolute path, "." and ".." resolved, as the system would take it.
std::wstring FullWidePath(const std::wstring& path);

// The path with "_" standing for each letter the code page lacks: its shape,
// to check it as a path before anything is made.
std::string PathShape(const std::wstring& path);
