// The uninstallation: undoes what the uninstall record lists, keeps the
// folders that still hold files for a later clear-up, and always removes the
// recorded registry data. The record itself goes last.
#include <windows.h>

#include <tuple>

#include "engine/actions/file_copy.h"
#include "engine/actions/links.h"
#include "engine/actions/programs.h"
#include "engine/actions/registration.h"
#include "engine/actions/registry_actions.h"
#include "engine/actions/shared_files.h"
#include "engine/boundary/record_trust.h"
#include "engine/install_object.h"
#include "engine/records/record_format.h"
#include "engine/records/record_reader.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "engine/sequences/sequence.h"
#include "engine/sequences/with_ole.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/normal_path.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// Writes into the record that its shared files are counted down: without
// [CommonFiles], and without the files and servers kept for other users.
void RecordCountsTaken(TInstallObject& object, const UninstallData& record) {
  if (!IniFile(object.RecordPath).HasSection(kCommonFiles)) return;
  // Run again after being cut short, the uninstallation must neither count
  // the shared files down a second time nor delete those it kept for others.
  const bool marked = WriteThroughCopy(
      object.RecordPath, object.WorkDir,
      [&record](const std::string& copy, bool) {
        const IniFile file(copy);
        file.EraseSection(kCommonFiles);
        for (const auto& [section, files, value] :
             {std::make_tuple(kInstalledFiles, &record.InstalledFiles, kInstalled),
              std::make_tuple(kCom, &record.ComFiles, kRegistered)}) {
          IniEntries entries;
          for (const std::string& path : *files) entries.emplace_back(path, value);
          file.EraseSection(section);
          if (!entries.empty()) file.WriteEntries(section, entries);
        }
        file.ReleaseCache();
      },
      true);
  // A record that still lists the counted files must never be run again.
  if (!marked) {
    ForgetRecordSeal(object.RecordPath);
    object.Log(FormatText("Warnung: Die Datei %s konnte nicht aktualisiert werden und wird nicht mehr verwendet.",
                          object.RecordPath.c_str()));
  }
}

// The uninstallation's last part, once all else is done: the record goes,
// then the uninstall entry that starts it, then the folders of the
// installation, which become clear-up items. A record that stays keeps its
// entry, from which the uninstallation is completed.
void FinishUninstall(TInstallObject& object, UninstallData& record, std::vector<std::string>& entry,
                     const std::vector<std::string>& keptKeys, const DeletionBoundary& boundary, FolderSet& folders) {
  if (KillFile(object, object.RecordPath, boundary, false)) {
    ForgetRecordSeal(object.RecordPath);
    KillUninstallEntry(object, entry);
  } else if (!entry.empty()) {
    object.Log("Warnung: Der Deinstallationseintrag bleibt, bis die Deinstallation vervollständigt ist.");
  }
  if (boundary.Below(FolderPart(object.RecordPath))) folders.insert(FolderPart(object.RecordPath));
  RemoveRecordedFolders(object, folders, boundary);
  if (KillDir(object, object.InstallDir, boundary)) {
    RemoveCreatedParents(object, record.CreatedFolders, boundary);
  } else {
    object.Report(rkMessage, "Warnung: Einige Dateien konnten nicht gelöscht werden", rfLog | rfStatus);
    // The folders made above it go once the clear-up has emptied it.
    for (const std::string& parent : CreatedParents(object, record.CreatedFolders))
      object.Report(rkCreatedFolder, parent, 0);
  }
  record.InstalledFiles.push_back(LowerAscii(object.InstallDir));
  WriteClearupData(object, record.InstalledFiles);
  // Keys the product made that still hold something go with the clear-up.
  for (const std::string& key : keptKeys) object.Report(rkCreatedKey, key, 0);
}

void UnregisterUnderOle(TInstallObject& object) {
  object.Report(rkMessage, "Deregistriere Komponenten...", rfLog | rfStatus);
  WithOle(object, [&object] {
    ReportWeight(object, WeightedStep::UnregisterDotNet);
    UninstallData& record = *object.Uninstall;
    if (record.DotNetPresent) {
      std::vector<std::string> assemblies;
      PendingActions scratch;
      for (const std::string& line : record.DotNetFiles) {
        const size_t registered = line.find(std::string("=") + kRegistered);
        if (registered != std::string::npos) assemblies.push_back(line.substr(0, registered));
      }
      RegisterAssemblyList(object, assemblies, scratch, record.DotNetDir, true);
    }
    // Assemblies in the global cache stay where they are.
    ReportWeight(object, WeightedStep::DeinstallDotNet);
    ReportWeight(object, WeightedStep::UnregisterComps);
    PendingActions scratch;
    RegisterComList(object, record.ComFiles, scratch, true);
  });
}

std::vector<SequenceStep> UninstallSteps(TInstallObject& object, const DeletionBoundary& boundary, FolderSet& folders) {
  UninstallData& record = *object.Uninstall;
  return {
      {StepName(WeightedStep::ProcessUninstData), Always([&object, &record] {
         ProcessUninstData(object, &record);
         RecordCountsTaken(object, record);
       }),
       false},
      {StepName(WeightedStep::RemoveLinks), Always([&object] { RemoveLinks(object); }), false},
      {"UnregisterDotNet, UnregisterComps", Always([&object] { UnregisterUnderOle(object); }), false},
      {StepName(WeightedStep::KillFiles), Always([&object, &record, &boundary, &folders] {
         object.Report(rkMessage, "Lösche Dateien...", rfLog | rfStatus);
         // The record waits for the end; it goes under the name it lists itself with.
         const std::string own = ResolvedPath(object.RecordPath);
         std::vector<std::string> files;
         for (const std::string& file : record.InstalledFiles)
           if (ResolvedPath(file) != own)
             files.push_back(file);
           else
             object.RecordPath = file;
         folders = KillRecordedFiles(object, files, boundary, false);
       }),
       false},
  };
}

}  // namespace

int TInstallObject::DoUninstall() {
  if (!Uninstall) return rcMemoryError;
  LogBanner(*this, "Deinstallation ");
  if (!ClosePrograms(*this, CloseList, true)) return rcProgramStillRunning;
  const DeletionBoundary boundary = Boundary(*this);
  FolderSet folders;
  size_t ended = 0;
  const int result = RunSequence(UninstallSteps(*this, boundary, folders), ended);
  // Whatever happened, the recorded registry data goes, all but the entry.
  std::vector<std::string> entry = TakeUninstallEntry(Uninstall->RegistryValues);
  KillRegistryData(*this, Uninstall->RegistryValues, Uninstall->RegUser, Uninstall->RegMachine);
  CapSharedCounts(*this);
  const std::vector<std::string> keptKeys =
      RemoveCreatedKeys(*this, Uninstall->CreatedKeys, Uninstall->RegUser, Uninstall->RegMachine);
  // Only now the record goes: an uninstallation cut short runs again from it.
  if (result == rcOk) FinishUninstall(*this, *Uninstall, entry, keptKeys, boundary, folders);
  Report(rkProgress, "100", 0);
  return result;
}
