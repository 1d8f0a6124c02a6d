// The installation log file and the folder that holds it and the records. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "start/run_options.h"

// "zqinstall.log" for installing and completing, "zquninstall.log" for
// uninstalling and clearing up.
const char* LogFileName(TRunMode runMode);

// The folder for the records and the log: the uninstall folder if it exists,
// else the program's own folder; with a trailing backslash, in lower case.
std::string RecordFolder(const std::string& uninstDir, bool uninstDirExists, const std::string& ownDir);

// Writes the collected lines with CR LF endings. A new file gets the lines
// alone; an existing one gets them appended followed by one empty line. The
// lines are emptied once written; on a write failure they are kept and false
// is returned. Nothing is written when there are no lines.
bool AppendLogFile(const std::string& path, std::vector<std::string>& lines);
