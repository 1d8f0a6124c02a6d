#include "sys/system_library.h"

#include <string>

#include "sys/library_proc.h"

namespace {

// Flags of LoadLibraryEx and SetDefaultDllDirectories since Windows 8 (and
// Windows 7 with its update); older systems have neither.
constexpr DWORD kSearchDllLoadDir = 0x00000100;
constexpr DWORD kSearchSystem32 = 0x00000800;

HMODULE Kernel() { return GetModuleHandleA("kernel32.dll"); }

bool SearchIsRestricted() { return LibraryProc<BOOL(WINAPI*)(DWORD)>(Kernel(), "SetDefaultDllDirectories") != nullptr; }

}  // namespace

void RestrictDllSearch() {
  if (auto restrict = LibraryProc<BOOL(WINAPI*)(DWORD)>(Kernel(), "SetDefaultDllDirectories"))
    restrict(kSearchSystem32);
  if (auto setDirectory = LibraryProc<BOOL(WINAPI*)(LPCSTR)>(Kernel(), "SetDllDirectoryA")) setDirectory("");
}

HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder) + "\\" + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryWithItsFolder(const char* path) {
  if (SearchIsRestricted()) return LoadLibraryExA(path, nullptr, kSearchDllLoadDir | kSearchSystem32);
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
