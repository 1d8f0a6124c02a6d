// The completion after a restart: the error record of the installation is
// read as one component and its waiting copies, deferred registrations,
// shared-file counts and registry lines are carried out.
#include <windows.h>

#include "engine/actions/file_copy.h"
#include "engine/actions/pending.h"
#include "engine/actions/reboot_info.h"
#include "engine/actions/registration.h"
#include "engine/actions/registry_actions.h"
#include "engine/actions/shared_files.h"
#include "engine/boundary/record_trust.h"
#include "engine/config/component_reader.h"
#include "engine/install_object.h"
#include "engine/records/record_entries.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/sequences/sequence.h"
#include "engine/sequences/with_ole.h"
#include "engine/step_weights.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// The copy lines of the error record that name a waiting copy beside its
// own target; the others are logged and left out.
void KeepWaitingCopies(const TInstallObject& object, std::vector<CopyEntry>& copyList) {
  std::vector<CopyEntry> kept;
  for (const CopyEntry& entry : copyList) {
    const std::string waiting = ResolvedPath(entry.Source), beside = ResolvedPath(entry.Target);
    if (!beside.empty() && waiting == beside + "~")
      kept.push_back(entry);
    else
      object.Log(FormatText("Warnung: Kopie %s=%s ist keine wartende Datei neben ihrem Ziel und wird nicht kopiert.",
                            entry.Source.c_str(), entry.Target.c_str()));
  }
  copyList.swap(kept);
}

// Carries out an error record's registry line: the deletion of a
// component's NeedReboot value below the product's machine key, and nothing else.
void ApplyDeferredDeletion(TInstallObject& object, const std::string& line, bool filesWait) {
  // The installation defers only the deletion of a component's NeedReboot value below the product's key.
  std::string left, value, key, name;
  if (!SplitAtLast(line, '=', left, value) || Trim(value) != "@" || !SplitAtLast(left, '\\', key, name) ||
      !SameText(name, "NeedReboot") ||
      !SameText(ParentFolder(key + "\\"), WithTrailingBackslash(object.RegMachine()))) {
    object.Log(
        FormatText("Warnung: Registry Eintrag %s gehört nicht zur Installation und bleibt erhalten.", line.c_str()));
    return;
  }
  // While a file still waits, the value stays and waits for the next restart too.
  if (filesWait)
    object.Report(rkErrorRegistry, RecordItemText(kRegistry, left, "@"), 0);
  else
    RegDelete(object, key, name, false);
}

// The registrations the error record defers, inside one OLE initialisation.
void CompleteRegistrations(TInstallObject& object, ComponentEntry& component) {
  // A file that still waits keeps its registrations for the next restart.
  DeferWaitingFiles(object, component, component.Register, kDeferredComRegistration);
  DeferWaitingFiles(object, component, component.DotNetInstall, kDeferredDotNetInstallation);
  DeferWaitingFiles(object, component, component.DotNetRegister, kDeferredDotNetRegistration);
  WithOle(object, [&] {
    RegisterComList(object, component.Register, component.Pending, false);
    InstallAssemblyList(object, component.DotNetInstall, component.Pending, component.DotNetDir);
    RegisterAssemblyList(object, component.DotNetRegister, component.Pending, component.DotNetDir, false);
  });
}

std::vector<SequenceStep> AutoInstallSteps(TInstallObject& object, const std::string& record) {
  // The error record is read as the one component that the steps after it work on.
  const auto completed = [&object]() -> ComponentEntry& { return object.Settings->Components.front(); };
  return {
      {kErrorRecord,
       [&object, record] {
         object.Settings->Components.clear();
         const int result =
             ReadSealed(object, record, [&object](const std::string& copy) { return ReadComponent(object, copy); });
         return result == rcOk && object.Settings->Components.empty() ? rcMemoryError : result;
       },
       true},
      {"KeepWaitingCopies", Always([&object, completed] { KeepWaitingCopies(object, completed().Copy); }), false},
      // Inside the installation folder, a waiting copy replaces its target as
      // was decided when it was written; elsewhere another product may have
      // put a newer file there meanwhile, and the overwrite rule decides.
      {StepName(WeightedStep::CopyFiles),
       [&object, completed] {
         object.RepeatCopies = true;
         return CopyComponentFiles(object, completed().Copy, completed().Pending, false);
       },
       true},
      {"CompleteRegistrations", Always([&object, completed] { CompleteRegistrations(object, completed()); }), false},
      {StepName(WeightedStep::SetSharedComps),
       Always([&object, completed] { CountShared(object, completed().Shared, completed().Pending, false, false); }),
       false},
      {"NeedReboot", Always([&object, completed] {
         const bool filesWait = HasPending(completed().Pending, pkCopy);
         for (const std::string& line : completed().Registry) ApplyDeferredDeletion(object, line, filesWait);
       }),
       false},
      // The waiting copies that are in place now, and the record, go.
      {StepName(WeightedStep::KillFiles), Always([&object, completed, record] {
         for (const CopyEntry& entry : completed().Copy)
           if (entry.Written || entry.Kept) object.TempFiles.push_back(LowerAscii(entry.Target) + "~");
         object.TempFiles.push_back(record);
         KillFiles(object, object.TempFiles, false);
         object.TempFiles.pop_back();
         if (!FileExists(record)) ForgetRecordSeal(record);
       }),
       false},
      // Files still in use arm the completion once more.
      {"SetRebootInfo", Always([&object] { SetRebootInfo(object); }), false},
  };
}

}  // namespace

int TInstallObject::DoAutoInstall() {
  if (!Settings) return rcMemoryError;
  size_t ended = 0;
  return RunSequence(AutoInstallSteps(*this, UninstDir + kErrorRecord), ended);
}
