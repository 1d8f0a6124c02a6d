// The completion after a restart: the error record of the installation is
// read as one component and its waiting copies, deferred registrations,
// shared-file counts and registry lines are carried out.
#include <windows.h>

#include "engine/actions/pending.h"
#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/sequences/sequence.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

int TInstallObject::DoAutoInstall() {
  if (!Settings) return rcMemoryError;
  size_t ended = 0;
  return RunSequence(AutoInstallSteps(UninstDir + "error_inst.ini"), ended);
}

std::vector<SequenceStep> TInstallObject::AutoInstallSteps(const std::string& record) {
  // The error record is read as the one component that the steps after it work on.
  const auto completed = [this]() -> ComponentEntry& { return Settings->Components.front(); };
  return {
      {"error_inst.ini",
       [this, record] {
         Settings->Components.clear();
         const int result = ReadSealed(record, [this](const std::string& copy) { return ReadComponent(copy); });
         return result == rcOk && Settings->Components.empty() ? rcMemoryError : result;
       },
       true},
      {"KeepWaitingCopies", Always([this, completed] { KeepWaitingCopies(completed().Copy); }), false},
      // Whether a waiting copy is to replace its target was decided when it was written (with the
      // overwrite rule or its component's force): it is copied as it is.
      {"CopyFiles", [this, completed] { return CopyComponentFiles(completed().Copy, completed().Pending, true); },
       true},
      {"CompleteRegistrations", Always([this, completed] { CompleteRegistrations(completed()); }), false},
      {"SetSharedComps",
       Always([this, completed] { CountShared(completed().Shared, completed().Pending, false, false); }), false},
      {"NeedReboot", Always([this, completed] {
         const bool filesWait = HasPending(completed().Pending, pkCopy);
         for (const std::string& line : completed().Registry) ApplyDeferredDeletion(line, filesWait);
       }),
       false},
      // The waiting copies that are in place now, and the record, go.
      {"KillFiles", Always([this, completed, record] {
         for (const std::string& target : completed().Copy) TempFiles.push_back(target + "~");
         TempFiles.push_back(record);
         KillFiles(TempFiles, false);
         TempFiles.pop_back();
         if (!FileExists(record)) ForgetRecordSeal(record);
       }),
       false},
      // Files still in use arm the completion once more.
      {"SetRebootInfo", Always([this] { SetRebootInfo(); }), false},
  };
}

void TInstallObject::KeepWaitingCopies(std::vector<std::string>& copyList) const {
  std::vector<std::string> kept;
  for (const std::string& line : copyList) {
    std::string source, target;
    SplitAtLast(line, '=', source, target);
    const std::string waiting = ResolvedPath(Trim(source)), beside = ResolvedPath(Trim(target));
    if (!beside.empty() && waiting == beside + "~")
      kept.push_back(line);
    else
      Log(FormatText("Warnung: Kopie %s ist keine wartende Datei neben ihrem Ziel und wird nicht kopiert.", line.c_str()));
  }
  copyList.swap(kept);
}

void TInstallObject::ApplyDeferredDeletion(const std::string& line, bool filesWait) {
  // The installation defers only the deletion of a component's NeedReboot value below the product's key.
  std::string left, value, key, name;
  if (!SplitAtLast(line, '=', left, value) || Trim(value) != "@" || !SplitAtLast(left, '\\', key, name) ||
      !SameText(name, "NeedReboot") || !SameText(ParentFolder(key + "\\"), WithTrailingBackslash(RegMachine()))) {
    Log(FormatText("Warnung: Registry Eintrag %s gehört nicht zur Installation und bleibt erhalten.", line.c_str()));
    return;
  }
  // While a file still waits, the value stays and waits for the next restart too.
  if (filesWait)
    Report(rkErrorRegistry, "Registry|" + left + "|@", 0);
  else
    RegDelete(key, name, false);
}

void TInstallObject::CompleteRegistrations(ComponentEntry& component) {
  // A file that still waits keeps its registrations for the next restart.
  DeferWaitingFiles(component, component.Register, kDeferredComRegistration);
  DeferWaitingFiles(component, component.DotNetInstall, kDeferredDotNetInstallation);
  DeferWaitingFiles(component, component.DotNetRegister, kDeferredDotNetRegistration);
  WithOle([&] {
    RegisterComList(component.Register, component.Pending, false);
    InstallAssemblyList(component.DotNetInstall, component.Pending, component.DotNetDir);
    RegisterAssemblyList(component.DotNetRegister, component.Pending, component.DotNetDir, false);
  });
}
