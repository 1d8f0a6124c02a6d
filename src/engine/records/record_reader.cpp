#include "engine/records/record_reader.h"

#include "engine/boundary/record_trust.h"
#include "engine/config/product_files.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/dotnet.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/normal_path.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

using namespace record_format;

namespace {

std::string Limited(const std::string& text, size_t length) { return text.substr(0, length); }

}  // namespace

int ReadUninstallData(TInstallObject& object, const std::string& path, const std::string& source) {
  if (!FileFoundOrLogged(object, path)) return rcNoSettings;
  object.Report(rkMessage, "Lese Deinstallationsinfo...", rfLog | rfStatus);
  UninstallData& data = *object.Uninstall;
  const IniFile record(source.empty() ? path : source);
  data.ComFiles = record.Keys(kCom);
  data.DotNetFiles = record.SectionLines(kDotNet);
  data.CommonFiles = record.Keys(kCommonFiles);
  data.InstalledFiles = record.Keys(kInstalledFiles);
  data.RegistryValues = record.SectionLines(kRegistry);
  data.Directories = record.Keys(kDirectories);
  data.CreatedFolders = record.Keys(kFolders);
  data.CreatedKeys = record.Keys(kKeys);
  data.Groups = record.Keys(kGroups);
  data.Links = record.SectionLines(kLinks);
  data.DeleteShared = record.ReadInteger(kInfo, kDeleteShared, 0) != 0;
  data.Name = Limited(record.ReadString(kInfo, kName, ""), kNameLimit);
  data.InstallPath = Limited(record.ReadString(kInfo, kInstallPath, ""), kInstallPathLimit);
  data.Version = Limited(record.ReadString(kInfo, kVersion, ""), record_format::kVersionLimit);
  data.RegMachine = Limited(record.ReadString(kInfo, kRegMachine, ""), kKeyLimit);
  data.RegUser = Limited(record.ReadString(kInfo, kRegUser, ""), kKeyLimit);
  // From the sealed record alone: install.ini beside it is anybody's who can
  // write the installation folder. A record of an earlier version has neither.
  const std::string dotNetVersion = record.ReadString(kInfo, kCheckDotNet, settings_file::kDefaultDotNetVersion);
  object.CloseList = record.SectionLines(kClose);
  record.ReleaseCache();
  object.InstallDir = WithTrailingBackslash(data.InstallPath);
  object.UninstDir = FolderPart(path);
  object.ProductName = data.Name;

  std::string dotNetDir;
  data.DotNetPresent = FindDotNet(dotNetVersion, dotNetDir);
  if (data.DotNetPresent) data.DotNetDir = Limited(dotNetDir, 260);

  const bool complete = FolderExists(object.InstallDir) && !data.RegUser.empty() && !data.RegMachine.empty() &&
                        !object.ProductName.empty() && !data.InstalledFiles.empty();
  return complete ? rcOk : rcNoUninstallData;
}

int ReadClearupData(TInstallObject& object, const std::string& path, const std::string& source) {
  if (!FileFoundOrLogged(object, path)) return rcNoSettings;
  object.Report(rkMessage, "Lese Deinstallationsinfo...", rfLog | rfStatus);
  const IniFile record(source.empty() ? path : source);
  for (const std::string& folder : record.Keys(kDirectories)) object.ClearupFolders.insert(folder);
  object.ProductName = record.ReadString(kInfo, kName, "");
  object.InstallDir = WithTrailingBackslash(record.ReadString(kInfo, kInstallPath, ""));
  object.Uninstall->RegUser = Limited(record.ReadString(kInfo, kRegUser, ""), kKeyLimit);
  object.Uninstall->RegMachine = Limited(record.ReadString(kInfo, kRegMachine, ""), kKeyLimit);
  object.Uninstall->CreatedKeys = record.Keys(kKeys);
  object.Uninstall->CreatedFolders = record.Keys(kFolders);  // those above the installation's folder
  object.UninstDir = FolderPart(path);
  // Folders to clear up, inside an installation folder that is there, or keys.
  const bool somethingLeft = (FolderExists(object.InstallDir) && !object.ClearupFolders.empty()) ||
                             (object.ClearupFolders.empty() && !object.Uninstall->CreatedKeys.empty());
  const bool complete = !object.Uninstall->RegUser.empty() && !object.Uninstall->RegMachine.empty() &&
                        !object.ProductName.empty() && somethingLeft;
  return complete ? rcOk : rcNoUninstallData;
}

void WriteClearupData(TInstallObject& object, const std::vector<std::string>& files) {
  object.Report(rkMessage, "Aktualisiere Installationsdatei...", rfLog | rfStatus);
  StepProgress progress(object.ReportProcedure, WeightedStep::WriteClearupData, static_cast<int>(files.size()));
  const DeletionBoundary boundary = Boundary(object);
  const std::vector<std::string>& created = object.Uninstall->CreatedFolders;
  // Only what an installation of the product created: a folder that was
  // there before (the user's own) and what else it holds stay. A record of
  // an earlier version, which kept no created folders, clears as before.
  const auto ours = [&created](const std::string& folder) {
    if (created.empty()) return true;
    const std::string resolved = ResolvedPath(folder);
    for (const std::string& made : created)
      if (IsSameOrBelow(resolved, ResolvedPath(made))) return true;
    return false;
  };
  for (const std::string& file : files) {
    const std::string folder = LowerAscii(FolderPart(file));
    // A folder that is gone needs no clear-up.
    if (boundary.Inside(folder) && ours(folder) && FolderExists(folder)) object.Report(rkDirectory, folder, 0);
    progress.Advance();
  }
  progress.Finish();
}

void RemoveClearupInfo(TInstallObject& object) {
  const std::string path = object.UninstDir + kUninstallRecord;
  if (!FileExists(path) || !IniFile(path).HasSection(kDirectories)) return;
  // A record without its seal is never read again: it is left as it is.
  WriteThroughCopy(
      path, object.WorkDir,
      [](const std::string& copy, bool) {
        const IniFile record(copy);
        record.EraseSection(kDirectories);
        record.ReleaseCache();
      },
      true);
}
