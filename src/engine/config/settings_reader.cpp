#include "engine/config/settings_reader.h"

#include "engine/config/product_files.h"
#include "engine/install_object.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/dotnet.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

using namespace settings_file;

namespace {

// The first line of a program section as "path parameters".
std::string ProgramLine(const IniFile& ini, const std::string& section) {
  const std::vector<std::string> lines = ini.SectionLines(section);
  if (lines.empty()) return std::string();
  std::string path, parameters;
  SplitAtLast(lines.front(), '=', path, parameters);
  return Trim(path + " " + parameters);
}

void DeleteRegPath(const std::string& path) {
  std::string parent, name;
  if (SplitAtLast(path, '\\', parent, name)) RegDeleteEntry(parent, name, true);
}

void ProbeDotNet(TInstallObject& object, const std::string& versionText) {
  std::string folder;
  object.Settings->DotNetPresent = FindDotNet(versionText, folder);
  object.Log(FormatText("dotNet ver: %s  installed: %d  location: %s", versionText.c_str(),
                        object.Settings->DotNetPresent ? 1 : 0, folder.c_str()));
}

void SetProductKeys(TInstallObject& object, const IniFile& ini, bool errorRecord) {
  InstallSettings& settings = *object.Settings;
  if (errorRecord) {
    // The error record has the [Info] block of the uninstall record, which the
    // completion writes back: its own values must come through unchanged.
    object.ProductName = ini.ReadString("info", "Name", object.ProductName);
    settings.DeleteShared = ini.ReadInteger("info", "DeleteShared", settings.DeleteShared) != 0;
    settings.RegUser = ini.ReadString("info", "RegUser", "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline");
    settings.RegMachine = ini.ReadString("info", "RegMachine", "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline");
  } else {
    const std::string root = ini.ReadString(kInstall, kRegRoot, "");
    settings.Publisher = ini.ReadString(kInstall, kPublisher, root);
    settings.RegUser = ProductKeyPath("HKEY_CURRENT_USER", root, object.ProductName);
    settings.RegMachine = ProductKeyPath("HKEY_LOCAL_MACHINE", root, object.ProductName);
  }
  settings.RegUser = settings.RegUser.substr(0, kUserKeyLimit);
  settings.RegMachine = settings.RegMachine.substr(0, kMachineKeyLimit);
}

void ChooseInstallFolder(TInstallObject& object, const IniFile& ini) {
  std::string registered;
  if (RegReadString(object.Settings->RegMachine, "InstallPath", registered) && !registered.empty() &&
      FolderExists(registered)) {
    object.InstallDir = registered;
  } else {
    const std::string defaultDir = ini.ReadString(kInstall, kDefaultDir, "");
    object.InstallDir =
        !defaultDir.empty() ? object.ExpandPlaceholders(defaultDir) : object.ProgramsDir + object.ProductName;
  }
  object.InstallDir = WithTrailingBackslash(object.InstallDir);
  object.UninstDir = object.InstallDir + "uninst\\";
}

void CheckBaseInstallation(TInstallObject& object, const IniFile& ini) {
  InstallSettings& settings = *object.Settings;
  const std::string base = ini.ReadString(kBase, kName, kBaseComponent);
  settings.BaseComponent = base;
  std::string registered;
  settings.BaseMissing =
      !(RegReadString(settings.RegMachine + "\\Components", base, registered) && !registered.empty());
  std::string installerVersion;
  RegReadString(settings.RegMachine, "InstallerVersion", installerVersion);
  settings.InstallerVersion = installerVersion.substr(0, 9);
  if (settings.BaseMissing) return;
  if (FolderExists(object.InstallDir)) {
    const std::string record = object.UninstDir + record_format::kUninstallRecord;
    // Only a record this installer sealed says which shared files are counted
    // already, read from the copy whose seal was checked.
    const std::string copy = SealedCopy(record, object.WorkDir);
    if (!copy.empty()) {
      const IniFile earlier(copy);
      settings.CommonFiles = earlier.SectionLines(record_format::kCommonFiles);
      for (const std::string& file : earlier.Keys(record_format::kInstalledFiles))
        settings.InstalledBefore.insert(LowerAscii(file));
    }
    DropCopy(copy);
    return;
  }
  // The registered installation is gone: forget it.
  settings.BaseMissing = true;
  DeleteRegPath(settings.RegUser);
  DeleteRegPath(settings.RegMachine);
}

}  // namespace

int ReadInstallSettings(TInstallObject& object, const std::string& path) {
  if (!FileFoundOrLogged(object, path)) return rcNoSettings;
  object.Report(rkMessage, "Lese Installationsinfo...", rfLog | rfStatus);
  InstallSettings& settings = *object.Settings;
  const IniFile ini(path);
  object.OfferReboot = ini.ReadInteger(kInstall, kReboot, 1) == 1;
  settings.Links = ini.SectionLines(kLinks);
  settings.Groups = ini.SectionLines(kGroups);
  object.CloseList = ini.SectionLines(kClose);
  settings.UninstTitle = ini.ReadString(kInstall, kUninstTitle, kDefaultUninstTitle).substr(0, kTitleLimit);
  settings.DotNetVersion = ini.ReadString(kInstall, kCheckDotNet, kDefaultDotNetVersion);
  ProbeDotNet(object, settings.DotNetVersion);

  const int minDiskSpace = ini.ReadInteger(kInstall, kMinDiskSpace, 0);
  settings.MinDiskSpace = static_cast<uint16_t>(minDiskSpace);
  settings.Update = ini.ReadString(kInstall, kUpdate, "0") == "1";
  object.ProductName = ini.ReadString(kInstall, kName, kDefaultName);
  settings.DeleteShared = ini.ReadInteger(kInstall, kDeleteShared, 0) != 0;
  settings.RunProg = ProgramLine(ini, kRunProg).substr(0, kProgramLimit);
  settings.RunProgWait = ProgramLine(ini, kRunProgWait).substr(0, kProgramLimit);
  settings.SupportUrl = ini.ReadString(kInstall, kSupportUrl, "");
  SetProductKeys(object, ini, SameText(FileNamePart(path), record_format::kErrorRecord));
  ChooseInstallFolder(object, ini);
  CheckBaseInstallation(object, ini);
  return settings.BaseMissing && settings.Update ? rcNeedBaseInstall : rcOk;
}
