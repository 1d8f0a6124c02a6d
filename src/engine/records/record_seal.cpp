#include "engine/records/record_seal.h"

#include <windows.h>

#include "engine/records/record_format.h"
#include "sys/file_digest.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/resolved_path.h"
#include "sys/text.h"
#include "sys/unfollowed_file.h"

using namespace record_format;

namespace {

// One name for every spelling of the record's path.
std::string SealName(const std::string& path) { return ResolvedPath(path); }

// The folder of the record copies inside the run's working folder.
std::string CopyFolder(const std::string& workFolder) {
  return workFolder.empty() ? std::string() : workFolder + "~qlrecord\\";
}

// A fresh path for a copy of the record, under its own file name (the
// readers tell the error record by its name); empty without a folder for it.
std::string CopyPath(const std::string& path, const std::string& workFolder) {
  const std::string folder = CopyFolder(workFolder);
  if (folder.empty()) return std::string();
  const std::string copy = folder + FileNamePart(path);
  // An elevated run's private folder is there already; a user's own is made.
  CreateDirectoryA(WithoutTrailingBackslash(workFolder).c_str(), nullptr);
  CreateDirectoryA(WithoutTrailingBackslash(folder).c_str(), nullptr);
  SetFileAttributesA(copy.c_str(), 0);
  DeleteFileA(copy.c_str());
  return FolderExists(folder) && !FileExists(copy) ? copy : std::string();
}

// Whether the copy's digest is the seal of the record at path.
bool CopyMatchesSeal(const std::string& path, const std::string& copy) {
  const std::string name = SealName(path);
  std::string sealed;
  if (name.empty() || !RegReadString(kRecordSealKey, name, sealed) || sealed.empty()) return false;
  return FileSha256(copy) == sealed;
}

// Keeps digest as the seal of the record at path.
bool KeepSeal(const std::string& path, const std::string& digest) {
  const std::string name = SealName(path);
  return !name.empty() && !digest.empty() && RegWriteString(kRecordSealKey, name, digest);
}

// Moves a file over the record, or, where the system cannot (Windows 9x),
// deletes the record first.
bool ReplaceFile(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  DeleteFileA(to.c_str());
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

// Puts the written copy in the record's place whole: it is copied beside the
// record and read back, the seal is set to its digest, and only then is it
// renamed over the record. When any part fails, the record and its seal stay
// as they were. Never through a link or into a file that other names share.
bool PlaceRecord(const std::string& copy, const std::string& path, const std::string& digest) {
  const std::string staged = path + ".neu";
  if (!UnsharedForWriting(path, true) || !UnsharedForWriting(staged, true)) return false;
  SetFileAttributesA(staged.c_str(), 0);
  bool placed = CopyFileA(copy.c_str(), staged.c_str(), FALSE) && FileSha256(staged) == digest;
  std::string earlier;
  const bool wasSealed = RegReadString(kRecordSealKey, SealName(path), earlier) && !earlier.empty();
  placed = placed && KeepSeal(path, digest);
  if (placed) {
    SetFileAttributesA(path.c_str(), 0);
    placed = ReplaceFile(staged, path);
    if (!placed && wasSealed) KeepSeal(path, earlier);
    if (!placed && !wasSealed) ForgetRecordSeal(path);
  }
  if (!placed) DeleteOwnUnfollowed(staged, false);
  return placed;
}

}  // namespace

bool SealRecord(const std::string& path) { return KeepSeal(path, FileSha256(path)); }

bool RecordSealed(const std::string& path) { return CopyMatchesSeal(path, path); }

void ForgetRecordSeal(const std::string& path) {
  const std::string name = SealName(path);
  if (!name.empty()) RegDeleteEntry(kRecordSealKey, name, false);
}

void DropCopy(const std::string& copy) {
  if (copy.empty()) return;
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(WithoutTrailingBackslash(FolderPart(copy)).c_str());
}

std::string SealedCopy(const std::string& path, const std::string& workFolder) {
  const std::string copy = CopyPath(path, workFolder);
  if (copy.empty()) return copy;
  if (CopyFileA(path.c_str(), copy.c_str(), FALSE) && CopyMatchesSeal(path, copy)) return copy;
  DropCopy(copy);
  return std::string();
}

bool WriteThroughCopy(const std::string& path, const std::string& workFolder,
                      const std::function<void(const std::string& copy, bool merge)>& write, bool sealedOnly) {
  std::string copy = SealedCopy(path, workFolder);
  const bool merge = !copy.empty();
  if (!merge && sealedOnly) return false;
  if (!merge) copy = CopyPath(path, workFolder);
  if (copy.empty()) return false;
  write(copy, merge);
  // Sealed with the digest of what was written here, not of what the record may hold by now.
  const std::string digest = FileSha256(copy);
  const bool placed = !digest.empty() && PlaceRecord(copy, path, digest);
  DropCopy(copy);
  return placed;
}

bool IsRecordName(const std::string& fileName) {
  return SameText(fileName, kUninstallRecord) || SameText(fileName, kErrorRecord);
}
