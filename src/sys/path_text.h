// Path texts of the Windows file system, handled as plain strings. Platform-free.
#pragma once

#include <string>

// Everything up to and including the last backslash; empty without one.
std::string FolderPart(const std::string& path);

// Everything after the last backslash (the whole path without one).
std::string FileNamePart(const std::string& path);

// The path without one trailing backslash.
std::string WithoutTrailingBackslash(const std::string& path);

// The folder that holds a folder: one trailing backslash removed, then the
// folder part (which keeps its backslash); empty when nothing is left.
std::string ParentFolder(const std::string& folder);

// The extension of the file name with its point (".txt"), or empty.
std::string FileExtension(const std::string& path);

// The program name as a command line takes it: in double quotes when it holds a blank.
std::string QuotedIfBlank(const std::string& name);

// Whether name (with or without an extension) is one the system keeps for a
// device: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case.
bool IsReservedDeviceName(const std::string& name);
// name as one folder or file name: characters no name may hold become "_",
// trailing points and blanks go, and a device's name or nothing becomes a
// name of its own ("_" before it).
std::string SafeFileName(const std::string& name);

// Whether every name between backslashes after the drive root ("C:\") is
// non-empty and free of * / : < > ? \ |. A trailing backslash is optional.
bool HasValidFolderNames(const std::string& path);

// A command line that begins with a double quote: program receives the text
// up to the closing quote (or the end), rest what follows it. False, and
// nothing changed, for a command that does not begin with a quote.
bool SplitQuotedProgram(const std::string& command, std::string& program, std::string& rest);

// Replaces every pair of backslashes by one, in one pass from the left.
std::string CollapseBackslashPairs(const std::string& text);
