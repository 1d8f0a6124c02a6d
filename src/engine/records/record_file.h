// Writing the uninstall record and the error record, and the end-of-run step
// that writes both together with the run's log.
#pragma once

#include <string>
#include <vector>

#include "engine/records/record_entries.h"
#include "engine/run_options.h"

class ReportCollector;

// Writes the "section|key|value" items into the INI file at path, sorted,
// after the [Info] block. An existing file is updated entry by entry, never
// emptied; with no items the file is not touched at all. Items that cannot be
// split are logged into log and dropped. The items are emptied.
// The file is written through a copy in workFolder (the run's working folder).
void WriteRecordFile(const std::string& path, const std::string& workFolder, std::vector<std::string>& items,
                     const RecordInfo& info, std::vector<std::string>& log);

// The end of a run: writes uninst.ini from the record lines and, unless on the
// uninstall side (uninstalling or clearing up), error_inst.ini from the error
// lines, then appends the log lines to the run's log file. The folder is the
// uninstall folder if it exists, else ownDir. Returns the log file's path.
std::string SaveRecords(ReportCollector& lists, const RecordInfo& info, const std::string& uninstDir,
                        const std::string& ownDir, const std::string& workFolder, TRunMode runMode);
