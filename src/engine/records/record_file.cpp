#include "engine/records/record_file.h"

#include <algorithm>

#include "engine/log_file.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/report_collector.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/locale_order.h"
#include "sys/text.h"
#include "sys/unfollowed_file.h"

using namespace record_format;

namespace {

// One write per section, of each run of entries with the same section: the
// system rewrites the whole file for every single entry, which grows with the
// square of the record's length. Write failures are not reported: the record
// is written as far as the system allows.
void WriteSections(const IniFile& ini, const std::vector<RecordEntry>& entries) {
  IniEntries section;
  for (size_t begin = 0, end = 0; begin < entries.size(); begin = end) {
    section.clear();
    for (end = begin; end < entries.size() && SameText(entries[end].Section, entries[begin].Section); ++end)
      section.emplace_back(entries[end].Key, entries[end].Value);
    ini.WriteEntries(entries[begin].Section, section);
  }
}

}  // namespace

void WriteRecordFile(const std::string& path, const std::string& workFolder, std::vector<std::string>& items,
                     const RecordInfo& info, std::vector<std::string>& log) {
  if (items.empty()) return;
  std::stable_sort(items.begin(), items.end(), LocaleLessText);
  std::vector<std::string> rejected;
  const std::vector<RecordEntry> entries = ItemEntries(items, rejected);
  for (const std::string& item : rejected)
    log.push_back(FormatText("Fehler:  %s", ("Install Info (" + item + ")").c_str()));
  // An existing record is merged into only while its seal holds: entries that
  // someone else put into it would otherwise be sealed along with ours.
  const bool earlier = FileSize(path) > 0;
  const bool written = WriteThroughCopy(path, workFolder, [&](const std::string& copy, bool merge) {
    if (earlier && !merge)
      log.push_back(
          FormatText("Warnung: Die Datei %s wurde nicht von diesem Installationsprogramm geschrieben und "
                     "wird neu geschrieben.",
                     path.c_str()));
    const IniFile ini(copy);
    WriteSections(ini, InfoEntries(info));
    // An installation's list of programs to close replaces the earlier one whole.
    if (!info.CloseList.empty() || !info.DotNetVersion.empty()) ini.EraseSection(kClose);
    WriteSections(ini, CloseEntries(info));
    WriteSections(ini, entries);
    ini.ReleaseCache();
  });
  if (!written)
    log.push_back(FormatText("Fehler:  Datei %s konnte nicht geschrieben werden; die bisherige bleibt unverändert.",
                             path.c_str()));
}

std::string SaveRecords(ReportCollector& lists, const RecordInfo& info, const std::string& uninstDir,
                        const std::string& ownDir, const std::string& workFolder, TRunMode runMode) {
  const bool installed = !uninstDir.empty() && FolderExists(uninstDir);
  // A completion that finds no installation (its restart entry ran twice) writes
  // nothing beside the uninstaller in the Windows folder, where nothing would
  // ever remove it: its log goes to the temporary folder.
  const std::string folder =
      RecordFolder(uninstDir, installed, !installed && runMode == rmAutoInstall ? GetSystemFolder(sfTemp) : ownDir);
  WriteRecordFile(folder + kUninstallRecord, workFolder, lists.RecordLines(), info, lists.LogLines());
  if (!IsUninstallSide(runMode)) {
    // The completion reads the error record as install.ini: no programs to close there.
    RecordInfo errorInfo = info;
    errorInfo.DotNetVersion.clear();
    errorInfo.CloseList.clear();
    WriteRecordFile(folder + kErrorRecord, workFolder, lists.ErrorLines(), errorInfo, lists.LogLines());
  }
  const std::string logPath = folder + LogFileName(runMode);
  // A log that would be written through a link or into a shared file is not written.
  if (UnsharedForWriting(logPath, true)) lists.WriteLog(logPath);
  return logPath;
}
