#include "engine/records/record_file.h"

#include <algorithm>

#include "engine/log_file.h"
#include "engine/report_collector.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/locale_order.h"
#include "sys/text.h"

void WriteRecordFile(const std::string& path, std::vector<std::string>& items, const RecordInfo& info,
                     std::vector<std::string>& log) {
  if (items.empty()) return;
  std::stable_sort(items.begin(), items.end(), LocaleLessText);
  std::vector<std::string> rejected;
  std::vector<RecordEntry> entries = InfoEntries(info);
  for (RecordEntry& entry : ItemEntries(items, rejected)) entries.push_back(std::move(entry));
  std::vector<std::string>().swap(items);  // a large record is held once, not twice
  for (const std::string& item : rejected) log.push_back(FormatText("Fehler:  %s", ("Install Info (" + item + ")").c_str()));
  // One write per section: the system rewrites the whole file for every
  // single entry, which grows with the square of the record's length. Write
  // failures are not reported: the record is written as far as the system allows.
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
  for (const RecordEntry& entry : entries) {
    if (sections.empty() || !SameText(sections.back().first, entry.Section)) sections.push_back({entry.Section, {}});
    sections.back().second.emplace_back(std::move(entry.Key), std::move(entry.Value));
  }
  const IniFile ini(path);
  for (const auto& [section, sectionEntries] : sections) ini.WriteEntries(section, sectionEntries);
  ini.ReleaseCache();
}

std::string SaveRecords(ReportCollector& lists, const RecordInfo& info, const std::string& uninstDir,
                        const std::string& ownDir, TRunMode runMode) {
  const std::string folder = RecordFolder(uninstDir, !uninstDir.empty() && FolderExists(uninstDir), ownDir);
  WriteRecordFile(folder + "uninst.ini", lists.RecordLines(), info, lists.LogLines());
  if (!IsUninstallSide(runMode)) WriteRecordFile(folder + "error_inst.ini", lists.ErrorLines(), info, lists.LogLines());
  const std::string logPath = folder + LogFileName(runMode);
  lists.WriteLog(logPath);
  return logPath;
}
