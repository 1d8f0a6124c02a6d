// Shortcut (.lnk) files through the shell's link object.
#pragma once

#include <windows.h>

#include <string>

// Saves a link to target (working folder: the target's folder; icon: the first
// of iconFile) as linkName + ".lnk", the name kept whole even when it holds a
// point ("Quotaline 2.0"); true when it was saved.
bool CreateShortcut(const std::string& linkName, const std::string& target, const std::string& iconFile);

// The link's target in short form, "|" and its description; empty when the
// link cannot be read.
std::string ReadShortcut(HWND owner, const std::string& linkFile);

// Deletes the link linkName + ".lnk"; with a target, only when the
// link points to it. True when a file was deleted.
bool RemoveShortcut(HWND owner, const std::string& linkName, const std::string& target = std::string());
