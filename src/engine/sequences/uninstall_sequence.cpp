// The uninstallation: undoes what the uninstall record lists, keeps the
// folders that still hold files for a later clear-up, and always removes the
// recorded registry data.
#include <windows.h>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "engine/sequences/sequence.h"
#include "sys/text.h"

int TInstallObject::DoUninstall() {
  if (!Uninstall) return rcMemoryError;
  LogBanner("Deinstallation ");
  if (!ClosePrograms(CloseList, true)) return rcProgramStillRunning;
  size_t ended = 0;
  const int result = RunSequence(UninstallSteps(), ended);
  // Whatever happened, the recorded registry data goes.
  KillRegistryData(Uninstall->RegistryValues, Uninstall->RegUser, Uninstall->RegMachine);
  CapSharedCounts();
  Report(rkProgress, "100", 0);
  return result;
}

std::vector<SequenceStep> TInstallObject::UninstallSteps() {
  UninstallData& record = *Uninstall;
  return {
      {"ProcessUninstData", Always([this, &record] { ProcessUninstData(&record); }), false},
      {"RemoveLinks", Always([this] { RemoveLinks(); }), false},
      {"UnregisterDotNet, UnregisterComps", Always([this] { UnregisterUnderOle(); }), false},
      {"KillFiles", Always([this, &record] {
         Report(rkMessage, "Lösche Dateien...", rfLog | rfStatus);
         KillFiles(record.InstalledFiles, true);
       }),
       false},
      {"KillDir", Always([this] {
         if (!KillDir(InstallDir)) Report(rkMessage, "Warnung: Einige Dateien konnten nicht gelöscht werden", rfLog | rfStatus);
       }),
       false},
      {"WriteClearupData", Always([this, &record] {
         record.InstalledFiles.push_back(LowerAscii(InstallDir));
         WriteClearupData(record.InstalledFiles);
       }),
       false},
  };
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
