#include "sys/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/library_proc.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/system_library.h"
#include "sys/text.h"

namespace {

const char kShellFolderKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr int kCreateFlag = 0x8000;
constexpr DWORD kDefaultPath = 1;

std::string ShellFolderKey(bool machine) {
  return std::string(machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") + kShellFolderKey;
}

std::string FolderPathFrom(const char* library, int id, bool create) {
  using FolderPathProc = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  const HMODULE module = LoadSystemLibrary(library);
  if (!module) return std::string();
  std::string path;
  auto proc = LibraryProc<FolderPathProc>(module, "SHGetFolderPathW");
  wchar_t buffer[MAX_PATH + 1] = {};
  if (proc && SUCCEEDED(proc(nullptr, id | (create ? kCreateFlag : 0), nullptr, kDefaultPath, buffer)))
    path = ReachablePath(buffer);
  FreeLibrary(module);
  return path;
}

std::string CommonAppDataOfNT(const FolderSources& sources) {
  const std::string folder = sources.SpecialFolder(sfiCommonAppData);
  if (!folder.empty()) return folder;
  const std::string commonDesktop = sources.SpecialFolder(sfiCommonDesktop);
  return commonDesktop.empty() ? std::string() : ParentFolder(commonDesktop);
}

std::string CommonAppDataOf9x(const FolderSources& sources) {
  const std::string folder = sources.SpecialFolder(sfiCommonAppData);
  if (!folder.empty()) return folder;
  const std::string appData = sources.SpecialFolder(sfiAppData);
  if (appData.empty()) return std::string();
  const std::string derived = ParentFolder(ParentFolder(appData)) + "All Users\\Anwendungsdaten\\";
  try {
    if (ForceFolders(derived)) WriteShellFolder("Common AppData", derived, true);
  } catch (...) {
  }
  return derived;
}

}  // namespace

std::string GetSpecialFolder(int id) {
  LPITEMIDLIST item = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, id, &item)) || !item) return std::string();
  wchar_t path[MAX_PATH + 1] = {};
  const bool found = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  return found ? ReachablePath(path) : std::string();
}

std::string GetFolderPath(int id, bool create) {
  std::string path = FolderPathFrom("shfolder.dll", id, create);
  if (path.empty()) path = FolderPathFrom("shell32.dll", id, create);
  return path;
}

std::string ReadShellFolder(const std::string& name, bool machine) {
  OpenKey key(OpenRegPath(ShellFolderKey(machine), false, KEY_ALL_ACCESS));
  std::string path;
  if (!key || !RegReadKeyPath(key.get(), name, path)) return std::string();
  return path;
}

bool WriteShellFolder(const std::string& name, const std::string& path, bool machine) {
  const std::string value = WithoutTrailingBackslash(path);
  {
    OpenKey key(OpenRegPath(ShellFolderKey(machine), false, KEY_WRITE));
    if (!key) return false;
    RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  OpenKey key(OpenRegPath(ShellFolderKey(machine), false, KEY_READ));
  return key && RegValueExists(key.get(), name);
}

std::string RegistryPath(const std::string& key, const std::string& name) {
  OpenKey open(OpenRegPath(key, false, KEY_QUERY_VALUE));
  std::string path;
  if (!open || !RegReadKeyPath(open.get(), name, path)) return std::string();
  return path;
}

const FolderSources& SystemFolderSources() {
  static const FolderSources sources;
  return sources;
}

std::string GetCommonAppDataFolder(bool isNT, const FolderSources& sources) {
  std::string folder = sources.SpecialFolder(sfiCommonAppData);
  if (folder.empty()) folder = sources.FolderPath(sfiCommonAppData, true);
  if (folder.empty()) folder = sources.ShellFolder("Common AppData", true);
  if (folder.empty()) folder = isNT ? CommonAppDataOfNT(sources) : CommonAppDataOf9x(sources);
  return folder;
}
