// Special folders of the shell with their fallbacks for older systems. Each
// is asked in full and handed on as the A functions reach it (ReachablePath):
// a folder with a letter the code page lacks by its short name, or in its "?"
// form where it has none.
#pragma once

#include <functional>
#include <string>

// Shell folder identifiers.
enum ShellFolderId {
  sfiDesktop = 0,
  sfiPrograms = 2,
  sfiDrives = 17,
  sfiCommonDesktop = 25,
  sfiAppData = 26,
  sfiCommonAppData = 35,
  sfiProgramFiles = 38,
  sfiCommonFiles = 43,
};

// The folder by item-ID lookup, without trailing backslash; empty when unknown.
std::string GetSpecialFolder(int id);

// The folder's default path from SHGetFolderPathW of shfolder.dll, else of
// shell32.dll; with create, the shell creates a missing folder. Empty when unknown.
std::string GetFolderPath(int id, bool create);

// The value of the Shell Folders key of the machine or of the user; empty when unreadable.
std::string ReadShellFolder(const std::string& name, bool machine);

// Writes the path (without trailing backslash) into the existing Shell Folders
// key; true when the value exists afterwards.
bool WriteShellFolder(const std::string& name, const std::string& path, bool machine);

// The registry's string value at key that names a folder, as the A functions reach
// it; empty when unreadable.
std::string RegistryPath(const std::string& key, const std::string& name);

// The places a folder can be looked up in. The system's own are the default;
// a system that lacks some folders is represented by sources that answer empty.
struct FolderSources {
  std::function<std::string(int id)> SpecialFolder = GetSpecialFolder;
  std::function<std::string(int id, bool create)> FolderPath = GetFolderPath;
  std::function<std::string(const std::string& name, bool machine)> ShellFolder = ReadShellFolder;
  std::function<std::string(const std::string& path, const std::string& name)> RegistryPath = ::RegistryPath;
};

// The sources of this system.
const FolderSources& SystemFolderSources();

// The all-users application data folder: the shell's common application data,
// the Shell Folders value, or a folder derived from the common desktop (NT) or
// from the user's application data (9x, then recorded as "Common AppData").
std::string GetCommonAppDataFolder(bool isNT, const FolderSources& sources = SystemFolderSources());
