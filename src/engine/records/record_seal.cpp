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
  const std::string digest = FileSha256(copy);
  // Never written through a link or into a file that other names share: the
  // record stays as it is, with its seal.
  if (digest.empty() || !UnsharedForWriting(path, true)) {
    DropCopy(copy);
    return false;
  }
  SetFileAttributesA(path.c_str(), 0);
  const bool placed = CopyFileA(copy.c_str(), path.c_str(), FALSE) != FALSE;
  DropCopy(copy);
  // Sealed with the digest of what was written here, not of what the record may hold by now.
  if (placed && KeepSeal(path, digest)) return true;
  ForgetRecordSeal(path);
  return false;
}

bool IsRecordName(const std::string& fileName) {
  return SameText(fileName, kUninstallRecord) || SameText(fileName, kErrorRecord);
}

