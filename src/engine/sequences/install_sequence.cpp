// The installation: the checks before anything changes, the install steps in
// their order, and the outcome written into the product's machine key.
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "engine/actions/file_copy.h"
#include "engine/actions/ini_edits.h"
#include "engine/actions/links.h"
#include "engine/actions/programs.h"
#include "engine/actions/reboot_info.h"
#include "engine/actions/registration.h"
#include "engine/actions/registry_actions.h"
#include "engine/actions/shared_files.h"
#include "engine/actions/uninstaller_copy.h"
#include "engine/config/component_reader.h"
#include "engine/install_object.h"
#include "engine/payload/payload_writer.h"
#include "engine/records/record_format.h"
#include "engine/records/record_reader.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "engine/sequences/sequence.h"
#include "engine/sequences/with_ole.h"
#include "engine/step_weights.h"
#include "engine/system_keys.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// The steps from the file copy on undo a failed new installation.
const char* const kFirstStepToUndo = StepName(WeightedStep::CopyFiles);

// Whether the installation folder's drive has MinDiskSpace free; logs when not.
bool EnoughDiskSpace(const TInstallObject& object) {
  const int64_t required = static_cast<int64_t>(object.Settings ? object.Settings->MinDiskSpace : 0) << 20;
  const int64_t free = DriveFreeSpace(DriveNumber(object.InstallDir));
  if (free >= 0 && free >= required) return true;
  object.Log(FormatText("Auf dem Ziellaufwerk (%s) müssen mindestens %d MB freier Speicherplatz verfügbar sein.",
                        (object.InstallDir.substr(0, 1) + ":").c_str(),
                        object.Settings ? object.Settings->MinDiskSpace : 0));
  return false;
}

// The three registration steps inside one OLE initialisation; raises when
// OLE cannot be initialised.
void RegisterUnderOle(TInstallObject& object) {
  const bool registered = WithOle(object, [&object] {
    RegisterComps(object);
    InstallDotNet(object);
    RegisterDotNet(object);
  });
  if (!registered) throw std::runtime_error("OLEInitialize failed.");
}

// Marks the installation as running; finding the mark of a run that was
// cut short, copies every file again.
void MarkInProgress(TInstallObject& object) {
  int32_t mark = 0;
  object.RepeatCopies = RegReadInteger(object.RegMachine(), kInProgressValue, mark) && mark == 1;
  // A file the cut-short run wrote in part carries a later time than the
  // payload's: only copying every file again replaces it.
  if (object.RepeatCopies)
    object.Log("Eine unterbrochene Installation wird vervollständigt: alle Dateien werden neu kopiert.");
  RegWriteInteger(object.RegMachine(), kInProgressValue, 1);
}

// "InstallInfo" after a failure; the restart decision after a success;
// and the mark of a running installation cleared.
void WriteInstallOutcome(TInstallObject& object, int result, bool& restartNeeded) {
  if (result != rcOk) {
    RegWriteNumberOrText(object, object.RegMachine(), "InstallInfo", ResultMessage(result));
  } else {
    restartNeeded = SetRebootInfo(object);
    RegDelete(object, object.RegMachine(), "InstallInfo", false);
  }
  // The mark of a run cut short stays until a run has copied every file.
  if (object.CopiesComplete) RegDeleteEntry(object.RegMachine(), kInProgressValue, false);
  object.Report(rkProgress, "100", 0);
}

std::vector<SequenceStep> InstallSteps(TInstallObject& object) {
  return {
      {"ClosePrograms",
       [&object] { return ClosePrograms(object, object.CloseList, true) ? rcOk : rcProgramStillRunning; }, true},
      {"%installdir%", Always([&object] { object.PlaceholderTable.push_back("%installdir%=" + object.InstallDir); }),
       false},
      {StepName(WeightedStep::ProcessInstInis), [&object] { return ProcessInstInis(object); }, true},
      {kInProgressValue, Always([&object] {
         RecordCreatedKeys(object);
         MarkInProgress(object);
       }),
       false},
      {StepName(WeightedStep::CopyFiles),
       [&object] {
         const int result = CopyFiles(object);
         object.CopiesComplete = result == rcOk;
         return result;
       },
       true},
      {"InstallUninstaller", Always([&object] { InstallUninstaller(object); }), false},
      {"RegisterComps, InstallDotNet, RegisterDotNet", Always([&object] { RegisterUnderOle(object); }), false},
      {"uninst.ini of a clear-up", Always([&object] { ForgetClearupRecord(object); }), false},
      {StepName(WeightedStep::SetRegUninstInfo), Always([&object] {
         if (!object.Update())
           SetRegUninstInfo(object, object.Settings->UninstTitle);
         else
           RefreshUninstallEntry(object);
         ReportWeight(object, WeightedStep::SetRegUninstInfo);
       }),
       false},
      {StepName(WeightedStep::SetSharedComps), [&object] { return SetSharedComps(object); }, false},
      {StepName(WeightedStep::SetRegInstInfo), [&object] { return SetRegInstInfo(object); }, false},
      {StepName(WeightedStep::SetRegUserInfo), [&object] { return SetRegUserInfo(object); }, false},
      {StepName(WeightedStep::CreateLinks), Always([&object] { CreateLinks(object, !object.Invisible); }), false},
      {StepName(WeightedStep::SetInstIniData), [&object] { return SetInstIniData(object); }, false},
      {StepName(WeightedStep::RemoveClearupInfo), Always([&object] {
         RemoveClearupInfo(object);
         ReportWeight(object, WeightedStep::RemoveClearupInfo);
       }),
       false},
      {StepName(WeightedStep::RunProg), Always([&object] {
         RunProg(object);
         ReportWeight(object, WeightedStep::RunProg);
       }),
       false},
  };
}

// The folders this run created and that are still there: only those (and
// what lies in them) may go again with the uninstallation and the clear-up.
void RecordCreatedFolders(TInstallObject& object) {
  for (const std::string& made : object.CreatedFolders)
    if (FolderExists(made)) object.Report(rkCreatedFolder, LowerAscii(WithTrailingBackslash(made)), 0);
}

}  // namespace

int TInstallObject::DoInstall(const std::string& folder, bool& restartNeeded) {
  restartNeeded = false;
  if (!FolderExists(folder)) return rcFolderMissing;
  InstallDir = WithTrailingBackslash(folder);
  UninstDir = InstallDir + "uninst\\";
  if (BaseMissing() && !EnoughDiskSpace(*this)) {
    RemoveCreatedFolders(*this, false);
    return rcDiskSpace;
  }
  Log("Installiere... " + LogTimeStamp());

  const std::vector<SequenceStep> steps = InstallSteps(*this);
  size_t ended = 0;
  const int result = RunSequence(steps, ended);
  if (result != rcOk && BaseMissing()) {
    const auto undone = std::find_if(steps.begin(), steps.end(),
                                     [](const SequenceStep& step) { return SameText(step.Name, kFirstStepToUndo); });
    if (ended >= static_cast<size_t>(undone - steps.begin()))
      CleanInstallation(*this);
    else
      RemoveCreatedFolders(*this, false);
  }
  RecordCreatedFolders(*this);
  WriteInstallOutcome(*this, result, restartNeeded);
  return result;
}
