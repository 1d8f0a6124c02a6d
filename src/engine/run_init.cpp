// Initialising the install object for its run: the framing log lines, the
// four initialisers and the dispatch by run mode.
#include <windows.h>

#include <utility>

#include "engine/actions/uninstaller_copy.h"
#include "engine/boundary/record_trust.h"
#include "engine/config/folder_reach.h"
#include "engine/config/settings_reader.h"
#include "engine/guarded.h"
#include "engine/install_object.h"
#include "engine/payload/archive_extraction.h"
#include "engine/payload/payload_writer.h"
#include "engine/records/record_format.h"
#include "engine/records/record_reader.h"
#include "engine/result_codes.h"
#include "engine/run_options.h"
#include "engine/run_report.h"
#include "engine/system_keys.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

using namespace record_format;

namespace {

struct InitNames {
  const char* Title;
  const char* Function;
};

// Indexed by run mode.
const InitNames kInitNames[] = {{"", ""},
                                {"Installation ", "DoInitInstall"},
                                {"Auto Installation ", "DoInitAutoInstall"},
                                {"Deinstallation ", "DoInitUninstall"},
                                {"Clearup ", "DoInitClearup"}};

void LogInitStart(const TInstallObject& object, int runMode) {
  LogBanner(object, kInitNames[runMode].Title);
  object.Log(FormatText("Function: %s  Forced (%d)  AutoRun (%d)  Invisible (%d)  IsNT (%d)  IsAdmin (%d)",
                        kInitNames[runMode].Function, object.Forced != 0, object.AutoRun != 0, object.Invisible != 0,
                        object.IsNT != 0, object.IsAdmin != 0));
  LogShortenedFolders(object);
}

// A product whose record cannot be uninstalled leaves no entry behind that
// offers the uninstallation again or completes it after a restart.
void ForgetRejectedProduct(const TInstallObject& object) {
  RegDeleteEntry(kUninstallKeys, object.ProductName, true);
  const std::string value = RestartValueName(object.ProductName);
  std::string restart;
  if (RegReadString(kRunOnceKey, value, restart) && !restart.empty()) RegDeleteEntry(kRunOnceKey, value, false);
}

}  // namespace

int TInstallObject::DoInit(ReportProc report, int runMode, const std::string& argument) {
  SetLastError(0);
  ReportProcedure = std::move(report);
  if (runMode < rmInstall || runMode > rmClearup) return rcInitError;
  LogInitStart(*this, runMode);
  // Nothing is done where a folder the run needs could only be named by a look-alike.
  const std::string unreachable = UnreachableFolder(*this, runMode);
  if (!unreachable.empty()) {
    LogUnreachableFolder(*this, unreachable);
    return rcUnreachableFolder;
  }
  // Without its working folder a run can neither unpack nor read a record safely.
  if (WorkDir.empty()) {
    LogError(*this, "Arbeitsverzeichnis ", "erstellt");
    return rcCreateFolder;
  }
  switch (runMode) {
    case rmInstall:
      return DoInitInstall();
    case rmAutoInstall:
      return DoInitAutoInstall(argument);
    case rmUninstall:
      return DoInitUninstall(argument);
    case rmClearup:
      return DoInitClearup(argument);
    default:
      return rcInitError;
  }
}

int TInstallObject::DoInitInstall() {
  int result = rcUnknownError;
  Settings = std::make_unique<InstallSettings>();
  // An elevated run's private folder exists already; the user's own is made.
  const std::string& work = WorkDir;
  CreateDirectoryA(WithoutTrailingBackslash(work).c_str(), nullptr);
  if (FolderExists(work)) {
    const DWORD start = GetTickCount();
    result = Guarded([&] { return WriteData(*this, work); });
    Log(FormatText("Time to write: %d ms", static_cast<int>(GetTickCount() - start)));
  } else {
    result = rcCreateFolder;
    LogSystemError(*this, GetLastError());
  }
  if (result == rcOk) result = Guarded([&] { return ExtractArchives(*this, work, ArchiveFiles); });
  // The library goes with the run's other temporary files, also when the
  // payload turned out damaged after it was written.
  if (result == rcOk || FileExists(work + "UnzLib.dll")) TempFiles.push_back(work + "UnzLib.dll");
  if (result == rcOk) result = Guarded([&] { return ReadInstallSettings(*this, work + "uninst\\install.ini"); });
  Log("DoInitInstall: " + std::to_string(result));
  return result;
}

int TInstallObject::DoInitAutoInstall(const std::string& errorRecord) {
  int result = rcUnknownError;
  Settings = std::make_unique<InstallSettings>();
  result = ReadSealed(*this, errorRecord, [this](const std::string& copy) { return ReadInstallSettings(*this, copy); });
  Log("DoInitAutoInstall: " + std::to_string(result));
  return result;
}

int TInstallObject::DoInitUninstall(const std::string& record) {
  int result = rcUnknownError;
  Uninstall = std::make_unique<UninstallData>();
  RecordPath = record;
  UninstDir = FolderPart(record);  // the log goes beside the record, also when it is refused
  // Nothing of a record the installer did not write is acted on, not even its
  // product's entry: its name is never read.
  result = ReadSealed(*this, record, [&](const std::string& copy) { return ReadUninstallData(*this, record, copy); });
  // An installation in a folder that may not be one is left as it is, its entry too.
  if (result == rcOk && !AllowedInstallationFolder(*this, InstallDir))
    result = rcNoUninstallData;
  else if (result != rcOk && !ProductName.empty())
    ForgetRejectedProduct(*this);
  Log("DoInitUninstall: " + std::to_string(result));
  return result;
}

int TInstallObject::DoInitClearup(const std::string& record) {
  int result = rcUnknownError;
  Uninstall = std::make_unique<UninstallData>();
  const std::string path = Trim(record);
  RecordPath = path.empty() ? OwnDir + kUninstallRecord : path;
  UninstDir = FolderPart(RecordPath);
  // An uninstallation that left nothing wrote no record beside its uninstaller.
  NothingToClearUp = path.empty() && !FileExists(RecordPath);
  if (NothingToClearUp) {
    Log("Es ist nichts zu bereinigen.");
    result = rcOk;
  } else {
    result = ReadSealed(*this, RecordPath,
                        [this](const std::string& copy) { return ReadClearupData(*this, RecordPath, copy); });
  }
  if (result == rcOk && !NothingToClearUp && !AllowedInstallationFolder(*this, InstallDir)) result = rcNoUninstallData;
  Log("DoInitClearup: " + std::to_string(result));
  return result;
}
