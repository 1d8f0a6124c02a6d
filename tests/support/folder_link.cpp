#include "support/folder_link.h"

#include <windows.h>

#include "sys/folder_rights.h"
#include "sys/library_proc.h"
#include "sys/resolved_path.h"

namespace {

// The Unix path of a Windows path, through Wine's own conversion.
std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  const auto toUnix = LibraryProc<ToUnix>(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
  if (!toUnix) return std::string();
  WCHAR wide[MAX_PATH * 2];
  if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2)) return std::string();
  char* unix = toUnix(wide);
  if (!unix) return std::string();
  std::string text = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return text;
}

// Starts a program of the Unix side and waits until done() holds: Wine does
// not wait for a Unix process.
bool RunUnix(std::string command, bool (*done)(const std::string&), const std::string& path) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 250; ++i) {
    if (done(path)) return true;
    Sleep(20);
  }
  return false;
}

bool IsGone(const std::string& path) { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }
bool IsThere(const std::string& path) { return !IsGone(path); }

}  // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
  const std::string from = UnixPath(target), to = UnixPath(link);
  if (from.empty() || to.empty()) return false;
  return RunUnix("Z:\\bin\\ln -sfn \"" + from + "\" \"" + to + "\"", IsReparsePoint, link);
}

bool MakeHardLink(const std::string& link, const std::string& target) {
  const std::string from = UnixPath(target), to = UnixPath(link);
  if (from.empty() || to.empty()) return false;
  SetFileAttributesA(link.c_str(), 0);
  DeleteFileA(link.c_str());
  return RunUnix("Z:\\bin\\ln -f \"" + from + "\" \"" + to + "\"", IsThere, link);
}

bool OpenToEveryone(const std::string& folder) {
  const std::string path = UnixPath(folder);
  return !path.empty() && RunUnix("Z:\\bin\\chmod 777 \"" + path + "\"", OthersMayChange, folder);
}

bool RemoveFolderLink(const std::string& link) {
  const std::string path = UnixPath(link);
  if (IsGone(link)) return true;
  return !path.empty() && RunUnix("Z:\\bin\\rm -f \"" + path + "\"", IsGone, link);
}
