// Reading the uninstall record back for an uninstall or clear-up run, and
// keeping its list of folders to clear up.
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "sys/dotnet.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

const char kInfo[] = "Info";
const char kDirectories[] = "Directories";
const char kDefaultDotNetVersion[] = "1.1.4322";

std::string Limited(const std::string& text, size_t length) { return text.substr(0, length); }

}  // namespace

bool TInstallObject::FileFoundOrLogged(const std::string& path) const {
  if (FileExists(path)) return true;
  LogError("Datei " + path + " ", "gefunden");
  return false;
}

int TInstallObject::ReadUninstallData(const std::string& path, const std::string& source) {
  if (!FileFoundOrLogged(path)) return rcNoSettings;
  Report(rkMessage, "Lese Deinstallationsinfo...", rfLog | rfStatus);
  UninstallData& data = *Uninstall;
  const IniFile record(source.empty() ? path : source);
  data.ComFiles = record.Keys("COM");
  data.DotNetFiles = record.SectionLines("dotNET");
  data.CommonFiles = record.Keys("CommonFiles");
  data.InstalledFiles = record.Keys("InstalledFiles");
  data.RegistryValues = record.SectionLines("Registry");
  data.Directories = record.Keys(kDirectories);
  data.Groups = record.Keys("Groups");
  data.Links = record.SectionLines("Links");
  data.DeleteShared = record.ReadInteger(kInfo, "DeleteShared", 0) != 0;
  data.Name = Limited(record.ReadString(kInfo, "name", ""), 31);
  data.InstallPath = Limited(record.ReadString(kInfo, "InstallPath", ""), 260);
  data.Version = Limited(record.ReadString(kInfo, "Version", ""), 9);
  data.RegMachine = Limited(record.ReadString(kInfo, "RegMachine", ""), 254);
  data.RegUser = Limited(record.ReadString(kInfo, "RegUser", ""), 254);
  record.ReleaseCache();
  InstallDir = WithTrailingBackslash(data.InstallPath);
  UninstDir = FolderPart(path);
  ProductName = data.Name;

  std::string dotNetVersion = kDefaultDotNetVersion;
  const std::string settingsPath = UninstDir + "install.ini";
  if (FileExists(settingsPath)) {
    const IniFile settings(settingsPath);
    dotNetVersion = settings.ReadString("install", "checkDotNet", kDefaultDotNetVersion);
    CloseList = settings.SectionLines("close");
  }
  std::string dotNetDir;
  data.DotNetPresent = FindDotNet(dotNetVersion, dotNetDir);
  if (data.DotNetPresent) data.DotNetDir = Limited(dotNetDir, 260);

  const bool complete = FolderExists(InstallDir) && !data.RegUser.empty() && !data.RegMachine.empty() &&
                        !ProductName.empty() && !data.InstalledFiles.empty();
  return complete ? rcOk : rcNoUninstallData;
}

int TInstallObject::ReadClearupData(const std::string& path, const std::string& source) {
  if (!FileFoundOrLogged(path)) return rcNoSettings;
  Report(rkMessage, "Lese Deinstallationsinfo...", rfLog | rfStatus);
  const IniFile record(source.empty() ? path : source);
  for (const std::string& folder : record.Keys(kDirectories)) ClearupFolders.insert(folder);
  ProductName = record.ReadString(kInfo, "name", "");
  InstallDir = WithTrailingBackslash(record.ReadString(kInfo, "InstallPath", ""));
  Uninstall->RegUser = Limited(record.ReadString(kInfo, "RegUser", ""), 254);
  Uninstall->RegMachine = Limited(record.ReadString(kInfo, "RegMachine", ""), 254);
  UninstDir = FolderPart(path);
  const bool complete = FolderExists(InstallDir) && !Uninstall->RegUser.empty() && !Uninstall->RegMachine.empty() &&
                        !ProductName.empty() && !ClearupFolders.empty();
  return complete ? rcOk : rcNoUninstallData;
}

void TInstallObject::WriteClearupData(const std::vector<std::string>& files) {
  Report(rkMessage, "Aktualisiere Installationsdatei...", rfLog | rfStatus);
  StepProgress progress(ReportProcedure, WeightedStep::WriteClearupData, static_cast<int>(files.size()));
  const DeletionBoundary boundary = Boundary();
  for (const std::string& file : files) {
    const std::string folder = LowerAscii(FolderPart(file));
    if (boundary.Inside(folder)) Report(rkDirectory, folder, 0);
    progress.Advance();
  }
  progress.Finish();
}

void TInstallObject::RemoveClearupInfo() {
  const std::string path = UninstDir + "uninst.ini";
  if (!FileExists(path) || !IniFile(path).HasSection(kDirectories)) return;
  // A record without its seal is never read again: it is left as it is.
  WriteThroughCopy(
      path,
      [](const std::string& copy, bool) {
        const IniFile record(copy);
        record.EraseSection(kDirectories);
        record.ReleaseCache();
      },
      true);
}
