#include "sys/file_system.h"

#include <windows.h>

#include <stdexcept>

#include "sys/ansi_path.h"
#include "sys/path_text.h"
#include "sys/text.h"
#include "sys/wide_text.h"

namespace {

// The longest folder path CreateDirectory takes: shorter than MAX_PATH less
// room for an 8.3 file name.
constexpr size_t kMaxFolderLength = MAX_PATH - 13;

// Suppresses the system's critical-error boxes (empty drives) while it lives.
class QuietErrors {
 public:
  QuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietErrors() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

// An entry of a folder, its names as the A functions reach them: a long name
// with a letter the code page lacks gives way to the short name (the A
// listing would give a look-alike), or keeps "?" where there is none.
struct FolderEntry {
  DWORD Attributes = 0;
  std::string Name, ShortName;
};

FolderEntry EntryOf(const WIN32_FIND_DATAW& found) {
  FolderEntry entry;
  entry.Attributes = found.dwFileAttributes;
  WideToAnsi(found.cAlternateFileName, entry.ShortName);
  if (!WideToAnsi(found.cFileName, entry.Name) && !entry.ShortName.empty()) entry.Name = entry.ShortName;
  return entry;
}

// Calls visit for every entry of folder that matches mask.
template <typename Visit>
void ForEachEntry(const std::string& folder, const std::string& mask, Visit visit) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(AnsiToWide(WithTrailingBackslash(folder) + mask).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do visit(EntryOf(found));
  while (FindNextFileW(search, &found));
  FindClose(search);
}

std::string EntryName(const FolderEntry& entry, bool longNames) {
  return !longNames && !entry.ShortName.empty() ? entry.ShortName : entry.Name;
}

bool IsFolderEntry(const FolderEntry& entry) { return (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

std::string GetSystemFolder(int kind) {
  wchar_t path[MAX_PATH + 1] = {};
  switch (kind) {
    case sfWindows:
      GetWindowsDirectoryW(path, MAX_PATH);
      break;
    case sfSystem:
      GetSystemDirectoryW(path, MAX_PATH);
      break;
    case sfTemp:
      GetTempPathW(255, path);
      break;
    default:
      return FolderPart(OwnFilePath());
  }
  return WithTrailingBackslash(ReachablePath(path));
}

std::string OwnFilePath() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ReachablePath(std::wstring(path, length < MAX_PATH ? length : 0));
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ForceFolders(const std::string& path, std::vector<std::string>* created) {
  if (path.empty()) throw std::runtime_error("Das Verzeichnis kann nicht erstellt werden");
  const std::string folder = WithoutTrailingBackslash(path);
  if (folder.size() < 3 || FolderExists(folder)) return true;
  // Longer folders the system cannot create; checked before any part of the
  // path is made (Wine would make a folder of the name cut short).
  if (folder.size() > kMaxFolderLength) return false;
  const std::string parent = FolderPart(folder);
  if (!parent.empty() && !ForceFolders(parent, created)) return false;
  if (CreateDirectoryA(folder.c_str(), nullptr)) {
    if (created) created->push_back(WithTrailingBackslash(folder));
    return true;
  }
  return FolderExists(folder);
}

int FindFiles(std::vector<std::string>& files, const std::string& folder, const std::string& mask, bool longNames,
              bool recurse) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return 0;
  std::vector<std::string> folders{WithTrailingBackslash(folder)};
  if (recurse) ListSubfolders(folders, folder, true, longNames);
  int found = 0;
  for (const std::string& searched : folders) {
    const std::string prefix = WithTrailingBackslash(searched);
    ForEachEntry(searched, mask, [&](const FolderEntry& entry) {
      if (IsFolderEntry(entry)) return;
      files.push_back(LowerAscii(prefix + EntryName(entry, longNames)));
      ++found;
    });
  }
  return found;
}

int ListSubfolders(std::vector<std::string>& folders, const std::string& folder, bool recurse, bool longNames,
                   std::vector<std::string>* links) {
  const std::string prefix = WithTrailingBackslash(folder);
  ForEachEntry(folder, "*", [&](const FolderEntry& entry) {
    if (!IsFolderEntry(entry) || entry.Name == "." || entry.Name == "..") return;
    if (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      if (links) links->push_back(prefix + EntryName(entry, longNames));
      return;
    }
    folders.push_back(prefix + EntryName(entry, longNames));
    if (recurse) ListSubfolders(folders, folders.back(), true, longNames, links);
  });
  return static_cast<int>(folders.size());
}

bool IsValidLocalPath(const std::string& path) {
  const std::string trimmed = Trim(path);
  if (trimmed.size() <= 2 || trimmed.compare(1, 2, ":\\") != 0) return false;
  {
    QuietErrors quiet;
    if (GetDriveTypeA(trimmed.substr(0, 3).c_str()) != DRIVE_FIXED) return false;
  }
  return HasValidFolderNames(trimmed);
}

int64_t DriveFreeSpace(int drive) {
  if (drive < 0 || drive > 26) return -1;
  const std::string root = drive > 0 ? std::string(1, static_cast<char>('A' + drive - 1)) + ":\\" : std::string();
  ULARGE_INTEGER available, total, free;
  QuietErrors quiet;
  if (!GetDiskFreeSpaceExA(root.empty() ? nullptr : root.c_str(), &available, &total, &free)) return -1;
  return static_cast<int64_t>(available.QuadPart);
}

int DriveNumber(const std::string& path) {
  const std::string lower = LowerAscii(Trim(path));
  return lower.empty() ? 0 : static_cast<unsigned char>(lower[0]) - 96;
}
