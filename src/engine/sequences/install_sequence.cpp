// The installation: the checks before anything changes, the install steps in
// their order, and the outcome written into the product's machine key.
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/sequences/sequence.h"
#include "engine/step_weights.h"
#include "engine/system_keys.h"
#include "sys/file_system.h"
#include "sys/locale_order.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

// The steps from the file copy on undo a failed new installation.
const char kFirstStepToUndo[] = "CopyFiles";
// Set under the product's machine key while the installation runs: a run that
// finds it completes one that was cut short.
const char kInProgressValue[] = "InstallInProgress";

}  // namespace

int TInstallObject::DoInstall(const std::string& folder, bool& restartNeeded) {
  restartNeeded = false;
  if (!FolderExists(folder)) return rcFolderMissing;
  InstallDir = WithTrailingBackslash(folder);
  UninstDir = InstallDir + "uninst\\";
  if (BaseMissing() && !EnoughDiskSpace()) {
    RemoveCreatedFolders(false);
    return rcDiskSpace;
  }
  Log("Installiere... " + LogTimeStamp());
  std::sort(TempFiles.begin(), TempFiles.end(), LocaleLessText);

  const std::vector<SequenceStep> steps = InstallSteps();
  size_t ended = 0;
  const int result = RunSequence(steps, ended);
  if (result != rcOk && BaseMissing()) {
    const auto undone = std::find_if(steps.begin(), steps.end(),
                                     [](const SequenceStep& step) { return SameText(step.Name, kFirstStepToUndo); });
    if (ended >= static_cast<size_t>(undone - steps.begin()))
      CleanInstallation();
    else
      RemoveCreatedFolders(false);
  }
  WriteInstallOutcome(result, restartNeeded);
  return result;
}

std::vector<SequenceStep> TInstallObject::InstallSteps() {
  return {
      {"ClosePrograms", [this] { return ClosePrograms(CloseList, true) ? rcOk : rcProgramStillRunning; }, true},
      {"%installdir%", Always([this] { PlaceholderTable.push_back("%installdir%=" + InstallDir); }), false},
      {"ProcessInstInis", [this] { return ProcessInstInis(); }, true},
      {kInProgressValue, Always([this] { MarkInProgress(); }), false},
      {"CopyFiles",
       [this] {
         const int result = CopyFiles();
         CopiesComplete = result == rcOk;
         return result;
       },
       true},
      {"InstallUninstaller", Always([this] { InstallUninstaller(); }), false},
      {"RegisterComps, InstallDotNet, RegisterDotNet", Always([this] { RegisterUnderOle(); }), false},
      {"uninst.ini of a clear-up", Always([this] {
         TempFiles.push_back(WinDir + "uninst.ini");
         ForgetRecordSeal(WinDir + "uninst.ini");
       }),
       false},
      {"SetRegUninstInfo", Always([this] {
         if (!Update())
           SetRegUninstInfo(Settings->UninstTitle);
         else
           RefreshUninstallEntry();
         ReportWeight("SetRegUninstInfo");
       }),
       false},
      {"SetSharedComps", [this] { return SetSharedComps(); }, false},
      {"SetRegInstInfo", [this] { return SetRegInstInfo(); }, false},
      {"SetRegUserInfo", [this] { return SetRegUserInfo(); }, false},
      {"CreateLinks", Always([this] { CreateLinks(!Invisible); }), false},
      {"SetInstIniData", [this] { return SetInstIniData(); }, false},
      {"RemoveClearupInfo", Always([this] {
         RemoveClearupInfo();
         ReportWeight("RemoveClearupInfo");
       }),
       false},
      {"RunProg", Always([this] {
         RunProg();
         ReportWeight("RunProg");
       }),
       false},
  };
}

bool TInstallObject::EnoughDiskSpace() const {
  const int64_t required = static_cast<int64_t>(Settings ? Settings->MinDiskSpace : 0) << 20;
  const int64_t free = DriveFreeSpace(DriveNumber(InstallDir));
  if (free >= 0 && free >= required) return true;
  Log(FormatText("Auf dem Ziellaufwerk (%s) müssen mindestens %d MB freier Speicherplatz verfügbar sein.",
                 (InstallDir.substr(0, 1) + ":").c_str(), Settings ? Settings->MinDiskSpace : 0));
  return false;
}

void TInstallObject::InstallUninstaller() const {
  // A read-only copy of an earlier installation is replaced too.
  const std::string installed = WinDir + kUninstallerName;
  SetFileAttributesA(installed.c_str(), 0);
  CopyFileA((WorkFolder() + kUninstallerName).c_str(), installed.c_str(), FALSE);
}

void TInstallObject::RegisterUnderOle() {
  const bool registered = WithOle([this] {
    RegisterComps();
    InstallDotNet();
    RegisterDotNet();
  });
  if (!registered) throw std::runtime_error("OLEInitialize failed.");
}

void TInstallObject::ReportWeight(const char* step, bool uninstallTable) const {
  Report(rkProgress, std::to_string(GetStepWeight(step, uninstallTable)), 0);
}

void TInstallObject::MarkInProgress() {
  int32_t mark = 0;
  RepeatCopies = RegReadInteger(RegMachine(), kInProgressValue, mark) && mark == 1;
  // A file the cut-short run wrote in part carries a later time than the
  // payload's: only copying every file again replaces it.
  if (RepeatCopies) Log("Eine unterbrochene Installation wird vervollständigt: alle Dateien werden neu kopiert.");
  RegWriteInteger(RegMachine(), kInProgressValue, 1);
}

void TInstallObject::WriteInstallOutcome(int result, bool& restartNeeded) {
  if (result != rcOk) {
    RegWrite(RegMachine(), "InstallInfo", ResultMessage(result));
  } else {
    restartNeeded = SetRebootInfo();
    RegDelete(RegMachine(), "InstallInfo", false);
  }
  // The mark of a run cut short stays until a run has copied every file.
  if (CopiesComplete) RegDeleteEntry(RegMachine(), kInProgressValue, false);
  Report(rkProgress, "100", 0);
}
