// The uninstallation: undoes what the uninstall record lists, keeps the
// folders that still hold files for a later clear-up, and always removes the
// recorded registry data. The record itself goes last.
#include <windows.h>

#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/sequences/sequence.h"
#include <tuple>

#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

int TInstallObject::DoUninstall() {
  if (!Uninstall) return rcMemoryError;
  LogBanner("Deinstallation ");
  if (!ClosePrograms(CloseList, true)) return rcProgramStillRunning;
  const DeletionBoundary boundary = Boundary();
  FolderSet folders;
  size_t ended = 0;
  const int result = RunSequence(UninstallSteps(boundary, folders), ended);
  // Whatever happened, the recorded registry data goes.
  KillRegistryData(Uninstall->RegistryValues, Uninstall->RegUser, Uninstall->RegMachine);
  CapSharedCounts();
  // Only now the record goes: an uninstallation cut short runs again from it.
  if (result == rcOk) FinishUninstall(*Uninstall, boundary, folders);
  Report(rkProgress, "100", 0);
  return result;
}

std::vector<SequenceStep> TInstallObject::UninstallSteps(const DeletionBoundary& boundary, FolderSet& folders) {
  UninstallData& record = *Uninstall;
  return {
      {"ProcessUninstData", Always([this, &record] {
         ProcessUninstData(&record);
         RecordCountsTaken(record);
       }),
       false},
      {"RemoveLinks", Always([this] { RemoveLinks(); }), false},
      {"UnregisterDotNet, UnregisterComps", Always([this] { UnregisterUnderOle(); }), false},
      {"KillFiles", Always([this, &record, &boundary, &folders] {
         Report(rkMessage, "Lösche Dateien...", rfLog | rfStatus);
         // The record waits for the end; it goes under the name it lists itself with.
         const std::string own = ResolvedPath(RecordPath);
         std::vector<std::string> files;
         for (const std::string& file : record.InstalledFiles)
           if (ResolvedPath(file) != own)
             files.push_back(file);
           else
             RecordPath = file;
         folders = KillRecordedFiles(files, boundary, false);
       }),
       false},
  };
}

void TInstallObject::RecordCountsTaken(const UninstallData& record) {
  if (!IniFile(RecordPath).HasSection("CommonFiles")) return;
  // Run again after being cut short, the uninstallation must neither count
  // the shared files down a second time nor delete those it kept for others.
  WriteThroughCopy(
      RecordPath,
      [&record](const std::string& copy, bool) {
        const IniFile file(copy);
        file.EraseSection("CommonFiles");
        for (const auto& [section, files, value] :
             {std::make_tuple("InstalledFiles", &record.InstalledFiles, "installed"),
              std::make_tuple("COM", &record.ComFiles, "registered")}) {
          IniEntries entries;
          for (const std::string& path : *files) entries.emplace_back(path, value);
          file.EraseSection(section);
          if (!entries.empty()) file.WriteEntries(section, entries);
        }
        file.ReleaseCache();
      },
      true);
}

void TInstallObject::FinishUninstall(UninstallData& record, const DeletionBoundary& boundary, FolderSet& folders) {
  if (KillFile(RecordPath)) ForgetRecordSeal(RecordPath);
  if (boundary.Below(FolderPart(RecordPath))) folders.insert(FolderPart(RecordPath));
  RemoveRecordedFolders(folders, boundary);
  if (!KillDir(InstallDir)) Report(rkMessage, "Warnung: Einige Dateien konnten nicht gelöscht werden", rfLog | rfStatus);
  record.InstalledFiles.push_back(LowerAscii(InstallDir));
  WriteClearupData(record.InstalledFiles);
}

void TInstallObject::UnregisterUnderOle() {
  Report(rkMessage, "Deregistriere Komponenten...", rfLog | rfStatus);
  WithOle([this] {
    ReportWeight("UnregisterDotNet", true);
    UninstallData& record = *Uninstall;
    if (record.DotNetPresent) {
      std::vector<std::string> assemblies, scratch;
      for (const std::string& line : record.DotNetFiles) {
        const size_t registered = line.find("=registered");
        if (registered != std::string::npos) assemblies.push_back(line.substr(0, registered));
      }
      RegisterAssemblyList(assemblies, scratch, record.DotNetDir, true);
    }
    // Assemblies in the global cache stay where they are.
    ReportWeight("DeinstallDotNet", true);
    ReportWeight("UnregisterComps", true);
    std::vector<std::string> scratch;
    RegisterComList(record.ComFiles, scratch, true);
  });
}
