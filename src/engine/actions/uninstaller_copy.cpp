#include "engine/actions/uninstaller_copy.h"

#include <windows.h>

#include <vector>

#include "engine/install_object.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/system_keys.h"
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/resolved_path.h"
#include "sys/restart_deletion.h"
#include "sys/system_error.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// Whether an uninstall entry of any product names the uninstaller as its icon.
bool NamedByAnEntry(const std::string& uninstaller) {
  std::vector<std::string> products;
  bool any = false;
  if (!RegKeyHasEntries(kUninstallKeys, products, any, true)) return false;
  const std::string own = ResolvedPath(uninstaller);
  for (const std::string& product : products) {
    std::string icon;
    if (RegReadString(std::string(kUninstallKeys) + "\\" + product, "DisplayIcon", icon) && !icon.empty() &&
        ResolvedPath(icon) == own)
      return true;
  }
  return false;
}

}  // namespace

std::string UninstallerFolder(const std::string& winDir, const std::string& productName) {
  return winDir + kUninstallersFolder + "\\" + SafeFileName(Trim(productName)) + "\\";
}

std::string UninstallerPath(const TInstallObject& object) {
  return UninstallerFolder(object.WinDir, object.ProductName) + kUninstallerName;
}

std::string UninstallerCommand(const TInstallObject& object) {
  const std::string exe = UninstallerPath(object);
  char shortPath[512] = {};
  const DWORD length = GetShortPathNameA(exe.c_str(), shortPath, sizeof shortPath);
  if (length > 0 && length < sizeof shortPath) return QuotedIfBlank(shortPath);
  object.Log("Warnung: " + SystemErrorText(GetLastError()));
  return QuotedIfBlank(exe);
}

std::string RestartValueName(const std::string& productName) {
  const std::string name = Trim(productName);
  return name.empty() ? kRunOnceValue : SafeFileName(name);
}

std::string RestartValueOf(const std::string& uninstaller) {
  // Started from its restart entry, the uninstaller has its short name.
  const std::string path = LongReachableForm(uninstaller);
  if (path.empty()) return kRunOnceValue;
  const std::string folder = WithoutTrailingBackslash(FolderPart(path));
  const bool own = SameText(FolderPart(folder), GetSystemFolder(sfWindows) + kUninstallersFolder + "\\");
  return own ? FileNamePart(folder) : kRunOnceValue;
}

void InstallUninstaller(const TInstallObject& object) {
  const std::string installed = UninstallerPath(object);
  KeepAtRestart(FolderPart(installed));
  ForceFolders(FolderPart(installed));
  // A read-only copy of an earlier installation is replaced too.
  SetFileAttributesA(installed.c_str(), 0);
  CopyFileA((object.WorkDir + kUninstallerName).c_str(), installed.c_str(), FALSE);
}

void ForgetClearupRecord(TInstallObject& object) {
  const std::string own = FolderPart(UninstallerPath(object)) + kUninstallRecord;
  object.TempFiles.push_back(own);
  ForgetRecordSeal(own);
  // Earlier versions kept one clear-up record for all products in the Windows folder.
  const std::string shared = object.WinDir + kUninstallRecord;
  if (RecordSealed(shared) && SameText(IniFile(shared).ReadString(kInfo, kName, ""), Trim(object.ProductName))) {
    object.TempFiles.push_back(shared);
    ForgetRecordSeal(shared);
  }
}

void RetireUninstaller(const TInstallObject& object) {
  const std::string own = FolderPart(ResolvedPath(object.OwnPath));
  const std::string uninstallers = ResolvedPath(object.WinDir + kUninstallersFolder) + "\\";
  if (own.empty() || ParentFolder(own) != uninstallers || FileExists(own + kUninstallRecord) ||
      NamedByAnEntry(object.OwnPath))
    return;
  std::vector<std::string> files;
  FindFiles(files, own, "*.*", true, true);
  for (const std::string& file : files) DeleteAtRestart(file);
  DeleteAtRestart(own);
  // Goes too when no other product's folder is left in it by then.
  DeleteAtRestart(uninstallers);
}
