#include "sys/file_version.h"

#include <windows.h>

#include <vector>

#include "sys/file_system.h"
#include "sys/library_proc.h"
#include "sys/system_library.h"

namespace {

// The version functions, from the system folder's version.dll.
struct VersionLibrary {
  using SizeProc = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoProc = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryProc = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  HMODULE Module = LoadSystemLibrary("version.dll");
  SizeProc InfoSize = LibraryProc<SizeProc>(Module, "GetFileVersionInfoSizeA");
  InfoProc Info = LibraryProc<InfoProc>(Module, "GetFileVersionInfoA");
  QueryProc Query = LibraryProc<QueryProc>(Module, "VerQueryValueA");
};

const VersionLibrary& Version() {
  static const VersionLibrary library;
  return library;
}

bool LastWriteTime(const std::string& path, ULARGE_INTEGER& time) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME written;
  const bool ok = GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  time.LowPart = written.dwLowDateTime;
  time.HighPart = written.dwHighDateTime;
  return ok;
}

// File times in the 2-second steps that file systems of every kind keep.
ULONGLONG TwoSecondSteps(const ULARGE_INTEGER& time) { return time.QuadPart / 20000000ULL; }

}  // namespace

bool GetFileVersion(const std::string& path, VersionRecord& version, std::string& text) {
  version = VersionRecord();
  text.clear();
  const VersionLibrary& library = Version();
  if (!library.InfoSize || !library.Info || !library.Query) return false;
  DWORD handle = 0;
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const DWORD size = library.InfoSize(path.c_str(), &handle);
  SetErrorMode(previousMode);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!library.Info(path.c_str(), handle, size, data.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!library.Query(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof *fixed)
    return false;
  version.Major = HIWORD(fixed->dwFileVersionMS);
  version.Minor = LOWORD(fixed->dwFileVersionMS);
  version.Release = HIWORD(fixed->dwFileVersionLS);
  version.Build = LOWORD(fixed->dwFileVersionLS);
  text = VersionText(version);
  return true;
}

std::string FileVersion(const std::string& path) {
  VersionRecord version;
  std::string text;
  GetFileVersion(path, version, text);
  return text;
}

bool SourceIsNewer(const std::string& source, const std::string& target) {
  if (!FileExists(source) || !FileExists(target)) return true;
  const std::string sourceVersion = FileVersion(source);
  const std::string targetVersion = FileVersion(target);
  if (!sourceVersion.empty() && !targetVersion.empty()) {
    const VersionRecord sourceRecord = ParseVersion(sourceVersion);
    const VersionRecord targetRecord = ParseVersion(targetVersion);
    return CompareVersion(targetRecord, sourceRecord, false) && !CompareVersion(targetRecord, sourceRecord, true);
  }
  ULARGE_INTEGER sourceTime, targetTime;
  if (!LastWriteTime(source, sourceTime) || !LastWriteTime(target, targetTime)) return true;
  return TwoSecondSteps(sourceTime) > TwoSecondSteps(targetTime);
}
