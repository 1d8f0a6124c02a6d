#include "sys/unfollowed_file.h"

#include <windows.h>

#include "sys/ansi_path.h"
#include "sys/library_proc.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

namespace {

// The native call behind deleting through a handle, which every NT system has.
struct IoStatus {
  LONG Status;
  ULONG_PTR Information;
};
using SetInformationProc = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using QueryInformationProc = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using StatusToErrorProc = ULONG(WINAPI*)(LONG);
constexpr int kFileBasicInformation = 4, kFileStandardInformation = 5, kFileDispositionInformation = 13;

// What the native calls tell of an open file; asked for directly, since the
// system's GetFileInformationByHandle also looks up the volume each time.
struct FileBasics {
  LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime;
  ULONG FileAttributes;
};
struct FileStandard {
  LARGE_INTEGER AllocationSize, EndOfFile;
  ULONG NumberOfLinks;
  BOOLEAN DeletePending, Directory;
};

HMODULE Native() { return GetModuleHandleA("ntdll.dll"); }

template <typename Info>
bool Query(HANDLE handle, int kind, Info& info) {
  const auto query = LibraryProc<QueryInformationProc>(Native(), "NtQueryInformationFile");
  IoStatus status{};
  return query && query(handle, &status, &info, sizeof info, kind) >= 0;
}

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
  using FinalPathProc = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  const auto finalPath = LibraryProc<FinalPathProc>(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW");
  if (!finalPath) return path;
  wchar_t buffer[MAX_PATH * 2];
  const DWORD length = finalPath(handle, buffer, MAX_PATH * 2, 0);
  if (length == 0 || length >= MAX_PATH * 2) return std::string();
  std::wstring real(buffer, length);
  if (real.rfind(L"\\\\?\\UNC\\", 0) == 0)
    real = L"\\\\" + real.substr(8);
  else if (real.rfind(L"\\\\?\\", 0) == 0)
    real = real.substr(4);
  // A name with a letter the code page lacks is compared by its short form;
  // one without a short form cannot be compared.
  const std::string reached = ReachablePath(real);
  return IsUnreachable(reached) ? std::string() : reached;
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

// Whether the opened object lies where path says: its real path is the real
// path of the folder that path names (opened as it stands) with path's own
// name. A link at the end, or one put in place of that folder, shows; a
// junction higher up (a moved profile, a substituted drive) leads both alike.
bool LiesAt(HANDLE handle, const std::string& path) {
  const std::string real = RealPath(handle, path);
  const std::string folder = FolderPart(path);
  const std::string opened = folder.size() <= 3 ? folder : WithoutTrailingBackslash(folder);  // "C:\" stays a root
  const Handle parent(OpenUnfollowed(opened, FILE_READ_ATTRIBUTES));
  if (real.empty() || !parent.valid()) return false;
  const std::string parentReal = RealPath(parent.get(), opened);
  if (parentReal.empty()) return false;
  const std::string resolved = ResolvedPath(real);
  return !resolved.empty() && resolved == ResolvedPath(WithTrailingBackslash(parentReal) + FileNamePart(path));
}

bool NotThere(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

Unfollowed DeleteUnfollowed(const std::string& path, bool folder, const std::function<bool()>& allowed) {
  // Windows 9x has neither links nor deletion through a handle: by the path there.
  if (!LibraryProc<QueryInformationProc>(Native(), "NtQueryInformationFile")) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return Unfollowed::Missing;
    if (!allowed()) return Unfollowed::Refused;
    return (folder ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str())) ? Unfollowed::Done
                                                                                 : Unfollowed::Failed;
  }
  const Handle object(OpenUnfollowed(path, DELETE | FILE_READ_ATTRIBUTES));
  if (!object.valid()) return NotThere(GetLastError()) ? Unfollowed::Missing : Unfollowed::Failed;
  FileStandard info{};
  if (!Query(object.get(), kFileStandardInformation, info)) return Unfollowed::Failed;
  if ((info.Directory != 0) != folder) {
    SetLastError(folder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED);
    return Unfollowed::Failed;
  }
  if (!LiesAt(object.get(), path) || !allowed()) return Unfollowed::Refused;
  return DeleteThrough(object.get()) ? Unfollowed::Done : Unfollowed::Failed;
}

Unfollowed DeleteOwnUnfollowed(const std::string& path, bool folder) {
  return DeleteUnfollowed(path, folder, [] { return true; });
}

bool UnsharedForWriting(const std::string& path, bool replaceShared) {
  if (IsReparsePoint(WithoutTrailingBackslash(FolderPart(path)))) return false;
  const Handle object(OpenUnfollowed(path, DELETE | FILE_READ_ATTRIBUTES));
  // Nothing there yet; anything held open so that it cannot be looked at is refused.
  if (!object.valid()) return NotThere(GetLastError());
  FileBasics basics{};
  FileStandard info{};
  if (!Query(object.get(), kFileBasicInformation, basics) || !Query(object.get(), kFileStandardInformation, info))
    return false;
  // A link may show as one, or only by leading elsewhere than its path says.
  const bool link = (basics.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !LiesAt(object.get(), path);
  if (!link && info.NumberOfLinks <= 1) return true;
  // Only this name goes: another name of the same file keeps it.
  return replaceShared && DeleteThrough(object.get());
}
