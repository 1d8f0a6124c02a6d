#include "sys/unfollowed_file.h"

#include <windows.h>

#include "sys/library_proc.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"

namespace {

// The native call behind deleting through a handle, which every NT system has.
struct IoStatus {
  LONG Status;
  ULONG_PTR Information;
};
using SetInformationProc = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using StatusToErrorProc = ULONG(WINAPI*)(LONG);
constexpr int kFileDispositionInformation = 13;

HMODULE Native() { return GetModuleHandleA("ntdll.dll"); }

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Opened as it stands: a link is not followed.
HANDLE OpenUnfollowed(const std::string& path, DWORD access) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The full path the handle's object really has; the given path where the
// system cannot tell (before Windows Vista).
std::string RealPath(HANDLE handle, const std::string& path) {
  using FinalPathProc = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  const auto finalPath = LibraryProc<FinalPathProc>(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA");
  if (!finalPath) return path;
  char buffer[MAX_PATH * 2];
  const DWORD length = finalPath(handle, buffer, sizeof buffer, 0);
  if (length == 0 || length >= sizeof buffer) return std::string();
  const std::string real(buffer, length);
  if (real.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + real.substr(8);
  if (real.rfind("\\\\?\\", 0) == 0) return real.substr(4);
  return real;
}

// Marks the object to go when its last handle closes; false with the
// system's error code as the last error.
bool DeleteThrough(HANDLE handle) {
  const auto setInformation = LibraryProc<SetInformationProc>(Native(), "NtSetInformationFile");
  const auto toError = LibraryProc<StatusToErrorProc>(Native(), "RtlNtStatusToDosError");
  if (!setInformation || !toError) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  IoStatus status{};
  BOOLEAN deleteIt = TRUE;
  const LONG result = setInformation(handle, &status, &deleteIt, sizeof deleteIt, kFileDispositionInformation);
  if (result >= 0) return true;
  SetLastError(toError(result));
  return false;
}

// Whether the opened object lies where path says, with no link on the way.
bool LiesAt(HANDLE handle, const std::string& path) {
  const std::string real = RealPath(handle, path);
  return !real.empty() && ResolvedPath(real) == ResolvedPath(path);
}

bool NotThere(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

Unfollowed DeleteUnfollowed(const std::string& path, bool folder, const std::function<bool()>& allowed) {
  const Handle object(OpenUnfollowed(path, DELETE | FILE_READ_ATTRIBUTES));
  if (!object.valid()) {
    const DWORD error = GetLastError();
    if (NotThere(error)) return Unfollowed::Missing;
    // Windows 9x opens no folders and deletes through no handle: by its path there.
    if (error != ERROR_CALL_NOT_IMPLEMENTED && error != ERROR_INVALID_PARAMETER) return Unfollowed::Failed;
    if (!allowed()) return Unfollowed::Refused;
    return (folder ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str())) ? Unfollowed::Done
                                                                                 : Unfollowed::Failed;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(object.get(), &info)) return Unfollowed::Failed;
  if (((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
    SetLastError(folder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED);
    return Unfollowed::Failed;
  }
  if (!LiesAt(object.get(), path) || !allowed()) return Unfollowed::Refused;
  return DeleteThrough(object.get()) ? Unfollowed::Done : Unfollowed::Failed;
}

bool UnsharedForWriting(const std::string& path, bool replaceShared) {
  if (IsReparsePoint(WithoutTrailingBackslash(FolderPart(path)))) return false;
  const Handle object(OpenUnfollowed(path, DELETE | FILE_READ_ATTRIBUTES));
  if (!object.valid()) return true;  // nothing there yet, or the write itself fails
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(object.get(), &info)) return false;
  // A link may show as one, or only by leading elsewhere than its path says.
  const bool link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !LiesAt(object.get(), path);
  if (!link && info.nNumberOfLinks <= 1) return true;
  // Only this name goes: another name of the same file keeps it.
  return replaceShared && DeleteThrough(object.get());
}
