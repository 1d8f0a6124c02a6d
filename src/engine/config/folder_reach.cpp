#include "engine/config/folder_reach.h"

#include <vector>

#include "engine/run_options.h"
#include "sys/ansi_path.h"
#include "sys/text.h"

namespace {

// The system's folders, and the installer's own, that the run mode works
// with: an uninstallation and a clear-up need no shell folders, and an
// elevated one works in its private folder, not in the temporary one.
std::vector<const std::string*> NeededFolders(const TInstallObject& object, int runMode) {
  const bool installs = runMode == rmInstall || runMode == rmAutoInstall;
  std::vector<const std::string*> folders = {&object.OwnDir, &object.WinDir, &object.SystemDir};
  if (installs || !object.PrivateWork) folders.push_back(&object.TmpDir);
  if (installs)
    folders.insert(folders.end(), {&object.MenuDir, &object.DesktopDir, &object.ProgramsDir, &object.CommonFilesDir,
                                   &object.AllUsersAppDir, &object.AllUsersDir});
  return folders;
}

}  // namespace

void LogShortenedFolders(const TInstallObject& object) {
  for (const std::string* folder : NeededFolders(object, rmInstall)) {
    const std::string full = LackingFullForm(*folder);
    if (!full.empty()) object.Log(FormatText("Verzeichnis %s über seinen Kurznamen: %s", full.c_str(), folder->c_str()));
  }
}

std::string UnreachableFolder(const TInstallObject& object, int runMode) {
  for (const std::string* folder : NeededFolders(object, runMode))
    if (IsUnreachable(*folder)) return *folder;
  return std::string();
}

void LogUnreachableFolder(const TInstallObject& object, const std::string& folder) {
  object.Log(FormatText("Fehler:  Das Verzeichnis %s hat Zeichen, die der Zeichensatz nicht kennt (hier \"?\"), "
                        "und keinen Kurznamen (8.3).",
                        folder.c_str()));
  object.Log(
      "Bitte dem Verzeichnis einen Kurznamen geben (fsutil file setshortname) oder ein Verzeichnis mit anderem "
      "Namen verwenden.");
}
