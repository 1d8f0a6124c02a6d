// The installation log file and the folder that holds it and the records. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_options.h"

// "zqinstall.log" for installing and completing, "zquninstall.log" for
// uninstalling and clearing up.
const char* LogFileName(TRunMode runMode);

// The folder for the records and the log: the uninstall folder if it exists,
// else the program's own folder; with a trailing backslash, in lower case.
std::string RecordFolder(const std::string& uninstDir, bool uninstDirExists, const std::string& ownDir);

// Log lines written out ahead to a file of their own while the run goes on:
// the file and how many of its bytes hold them.
struct LogSpill {
  std::string Path;
  uint64_t Bytes = 0;
};

// Writes the lines behind the spill's bytes, with CR LF endings. The lines
// are emptied once written; on a failure they are kept, and bytes a failed
// write left behind are written over next time.
bool SpillLogLines(LogSpill& spill, std::vector<std::string>& lines);

// Writes the collected lines with CR LF endings, the spilled ones (if any)
// first. A new file gets the lines alone; an existing one gets them appended
// followed by one empty line. The lines are emptied and the spill file is
// deleted once written; on a write failure both are kept and false is
// returned. Nothing is written when there are no lines.
bool AppendLogFile(const std::string& path, std::vector<std::string>& lines, LogSpill* spill = nullptr);
