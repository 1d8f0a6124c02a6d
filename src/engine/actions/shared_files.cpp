#include "engine/actions/shared_files.h"

#include <algorithm>

#include "engine/actions/component_step.h"
#include "engine/actions/pending.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_entries.h"
#include "engine/records/record_format.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/file_system.h"
#include "sys/locale_order.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

using namespace record_format;

namespace {

const char kSharedKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// Counting up stops here, so that one product never holds more than this.
constexpr int32_t kMaxCount = 3;
// The maker's folder below the common files, whose counts an uninstallation caps.
const char kMakerFolder[] = "Verdan Data Works";

// The path of a line "N=path"; a line without "=" is the path.
std::string SharedPath(const std::string& line) {
  std::string head, tail;
  return SplitAtLast(line, '=', head, tail) ? Trim(tail) : Trim(line);
}

// The counter of the file; false when there is none that can be read.
bool ReadCount(const std::string& path, int32_t& count) { return RegReadInteger(kSharedKey, path, count); }

void DropCountedFiles(const TInstallObject& object, std::vector<std::string>& shared) {
  for (const std::string& line : object.Settings->CommonFiles) {
    std::string counted, value;
    if (!SplitAtLast(LowerAscii(line), '=', counted, value)) counted = Trim(LowerAscii(line));
    const auto same = std::find_if(shared.begin(), shared.end(),
                                   [&](const std::string& entry) { return LowerAscii(SharedPath(entry)) == counted; });
    if (same != shared.end()) shared.erase(same);
  }
}

}  // namespace

void CountShared(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending, bool deleteShared,
                 bool decrement) {
  std::sort(list.begin(), list.end(), LocaleLessText);
  for (size_t i = 0; i < list.size();) {
    const std::string path = SharedPath(list[i]);
    int32_t count = 0;
    const bool counted = ReadCount(path, count);
    if (!counted) count = 0;
    bool done = true;
    if (decrement && counted) {
      count = std::max(count - 1, 0);
      object.Log(FormatText("Gemeinsame Datei zurücksetzen:  %s  %d", path.c_str(), count));
      if (count == 0 && deleteShared) {
        done = RegDeleteEntry(kSharedKey, path, false);
        if (done) object.Report(rkFile, path, 0);
      } else {
        done = RegWriteInteger(kSharedKey, path, count);
      }
    } else if (!decrement) {
      count = std::min(count + 1, kMaxCount);
      object.Log(FormatText("Gemeinsame Datei setzen:  %s  %d", path.c_str(), count));
      done = RegWriteInteger(kSharedKey, path, count);
      if (done) object.Report(rkCommonFile, path, 0);
    }
    if (done) {
      ++i;
      continue;
    }
    pending.push_back(Pending(pkShared, path));
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    if (decrement) {
      LogWarning(object, "Shared Datei Eintrag " + path + " ", count != 0 ? "dekrementiert" : "gelöscht");
    } else {
      object.Report(rkErrorCommon, RecordItemText(kErrorCommon, kDeferredKey, path), 0);
      LogWarning(object, "Shared Datei Eintrag " + path + " ", "inkrementiert");
    }
  }
}

void MarkSharedDeletable(std::vector<std::string>& list, bool deleteShared) {
  for (std::string& line : list) {
    int32_t count = 0;
    const bool stillUsed = ReadCount(line, count) && count > 0;
    line = LowerAscii(line) + (deleteShared && !stillUsed ? "=yes" : "=no");
  }
}

int SetSharedComps(TInstallObject& object) {
  return RunComponentStep(object, {WeightedStep::SetSharedComps, "Setze Gemeinsame Dateien...", false,
                                   [&object](ComponentEntry& component) {
                                     DropCountedFiles(object, component.Shared);
                                     CountShared(object, component.Shared, component.Pending, false, false);
                                     return rcOk;
                                   }});
}

void ProcessUninstData(TInstallObject& object, UninstallData* record) {
  object.Report(rkMessage, "Setze Gemeinsame Dateien zurück...", rfLog | rfStatus);
  StepProgress progress(object.ReportProcedure, WeightedStep::ProcessUninstData, 0);
  if (!record) {
    LogWarning(object, "Gemeinsame Dateien ", "zurückgesetzt");
    progress.Finish();
    return;
  }
  // Every file of the record is marked, also one whose counter could not be
  // changed: it still counts its users and so is kept.
  std::vector<std::string> marked = record->CommonFiles;
  PendingActions scratch;  // an uninstallation leaves nothing waiting
  CountShared(object, record->CommonFiles, scratch, record->DeleteShared, true);
  MarkSharedDeletable(marked, record->DeleteShared);
  const auto kept = [&](const std::string& line) {
    return std::find(marked.begin(), marked.end(), LowerAscii(Trim(line)) + "=no") != marked.end();
  };
  for (std::vector<std::string>* files : {&record->ComFiles, &record->InstalledFiles})
    files->erase(std::remove_if(files->begin(), files->end(), kept), files->end());
  progress.Finish();
}

void CapSharedCounts(TInstallObject& object) {
  std::vector<std::string> files;
  if (FindFiles(files, object.CommonFilesDir + kMakerFolder, "*.*", true, false) == 0) return;
  for (const std::string& file : files) {
    const std::string extension = LowerAscii(FileExtension(file));
    int32_t count = 0;
    if ((extension == ".exe" || extension == ".dll") && ReadCount(file, count) && count > kMaxCount)
      RegWriteInteger(kSharedKey, file, kMaxCount);
  }
}
