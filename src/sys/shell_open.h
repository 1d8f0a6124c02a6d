// Opening documents with the program the system associates with them.
#pragma once

#include <string>

// The command registered for verb on files of the extension ("txt" or ".txt"),
// or empty.
std::string ShellOpenCommand(const std::string& extension, const std::string& verb);

// Starts the "open" command of the extension (taken from the file name when
// empty) for the file; "%1" in it stands for the file, else the quoted file is
// appended. Unless allowMissing, the file must exist.
bool OpenWithAssociatedProgram(const std::string& file, const std::string& extension, bool allowMissing);
