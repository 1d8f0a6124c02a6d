#include "engine/config/folder_variables.h"

#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

const char kVersionKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";

// The special folder, else SHGetFolderPathW, else the last source, which is
// only asked when the shell gave nothing.
template <typename LastSource>
std::string ShellFolder(const FolderSources& sources, int id, bool create, LastSource last) {
  std::string folder = sources.SpecialFolder(id);
  if (folder.empty()) folder = sources.FolderPath(id, create);
  if (folder.empty()) folder = last();
  return WithTrailingBackslash(folder);
}

}  // namespace

FolderVariables DetermineFolderVariables(const FolderSources& sources) {
  auto userShellFolder = [&](const char* name) {
    return [&sources, name] { return sources.ShellFolder(name, false); };
  };
  auto versionValue = [&](const char* name) {
    return [&sources, name] { return sources.RegistryPath(kVersionKey, name); };
  };

  FolderVariables folders;
  folders.TmpDir = GetSystemFolder(sfTemp);
  folders.WinDir = GetSystemFolder(sfWindows);
  folders.SystemDir = GetSystemFolder(sfSystem);
  folders.MenuDir = ShellFolder(sources, sfiPrograms, false, userShellFolder("Programs"));
  folders.DesktopDir = ShellFolder(sources, sfiDesktop, false, userShellFolder("Desktop"));
  folders.ProgramsDir = ShellFolder(sources, sfiProgramFiles, false, versionValue("ProgramFilesDir"));
  folders.CommonFilesDir = ShellFolder(sources, sfiCommonFiles, true, versionValue("CommonFilesDir"));
  // The family-dependent fallback is always taken as on the 9x family.
  folders.AllUsersAppDir = WithTrailingBackslash(GetCommonAppDataFolder(false, sources));
  folders.AllUsersDir = ParentFolder(folders.AllUsersAppDir);
  return folders;
}
