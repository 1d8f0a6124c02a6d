// UnzLib.dll: extracts the members of a ZIP archive into a folder, reporting
// through the caller's callback, as the archive component expects.
#include <windows.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "archive/file_source.h"
#include "archive/system_names.h"
#include "archive/unzip_records.h"
#include "archive/zip_directory.h"
#include "member_data.h"
#include "member_path.h"
#include "member_time.h"
#include "member_writer.h"
#include "sys/text.h"

namespace {

using Callback = int32_t(__stdcall*)(UnzipCallbackRecord*);

// Error codes of this library's messages.
enum LibraryError {
  leArchiveUnreadable = 1,
  leUnsupportedMethod = 2,
  leChecksum = 3,
  leWriteFailed = 4,
  leUnsafeName = 5,
  leDataError = 6,
};

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr size_t kLocalHeaderSize = 30;
// General-purpose flags of a member encrypted traditionally or strongly.
constexpr uint16_t kEncryptionFlags = 0x0001 | 0x0040;
std::string WriteFailure(WriteOutcome outcome, const std::string& path) {
  switch (outcome) {
    case woNoFolder:
      return "Ordner kann nicht angelegt werden: " + path;
    case woNoSpace:
      return "Kein Platz für die Datei: " + path;
    default:
      return "Datei kann nicht geschrieben werden: " + path;
  }
}

// The member's stored write time: the universal time of its extra field, or
// else its MS-DOS date and time, which hold the packer's local time.
FILETIME StoredWriteTime(const ZipDirEntry& entry) {
  FILETIME written = {};
  uint64_t universal = 0;
  if (ExtraFieldWriteTime(entry.Extra, universal)) {
    written.dwLowDateTime = static_cast<DWORD>(universal);
    written.dwHighDateTime = static_cast<DWORD>(universal >> 32);
    return written;
  }
  FILETIME local;
  SYSTEMTIME localTime, systemTime;
  if (DosDateTimeToFileTime(entry.Date, entry.Time, &local) && FileTimeToSystemTime(&local, &localTime) &&
      TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &systemTime))
    SystemTimeToFileTime(&systemTime, &written);
  return written;
}

class Extraction {
 public:
  explicit Extraction(const UnzipCallRecord& record) : record_(record) {}
  int32_t Run();

 private:
  bool Report(int32_t action, int32_t first, int32_t second, const std::string& text = std::string());
  bool Fail(int32_t error, const std::string& text) { return Report(uaMessage, error, 0, text); }
  std::string Folder() const;
  // The members whose names match the call's patterns, and their size in all.
  std::vector<const ZipDirEntry*> Selected(const ZipDirectory& directory, int64_t& total) const;
  bool ExtractMember(FileSource& source, const ZipDirEntry& entry, const std::string& path);
  bool CopyData(MemberData& data, const ZipDirEntry& entry);

  const UnzipCallRecord& record_;
  MemberWriter writer_;
  bool aborted_ = false;
};

bool Extraction::Report(int32_t action, int32_t first, int32_t second, const std::string& text) {
  if (aborted_ || !record_.Callback) return !aborted_;
  UnzipCallbackRecord callback = {};
  callback.Caller = record_.Caller;
  callback.Action = action;
  callback.Argument1 = first;
  callback.Argument2 = second;
  lstrcpynA(callback.Text, text.c_str(), sizeof callback.Text);
  if (reinterpret_cast<Callback>(static_cast<uintptr_t>(record_.Callback))(&callback) == kCallbackAbort)
    aborted_ = true;
  return !aborted_;
}

std::string Extraction::Folder() const {
  const char* folder = reinterpret_cast<const char*>(static_cast<uintptr_t>(record_.ExtractionFolder));
  std::string path = folder ? folder : "";
  if (path.empty()) {
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    path = current;
  }
  return WithTrailingBackslash(path);
}

// Hands the member's data to the writer piece by piece; false for broken data.
// A file the writer has failed on is not read further: its failure is the
// one reported.
bool Extraction::CopyData(MemberData& data, const ZipDirEntry& entry) {
  uint64_t written = 0;
  while (!data.Done() && !writer_.Failed()) {
    unsigned char* piece = writer_.NextPiece();
    size_t length = 0;
    if (!data.Fill(piece, MemberWriter::kPieceSize, length)) return false;
    // More data than the directory announces is a broken or hostile member:
    // stop before it fills the disk.
    if (written + length > entry.UncompressedSize) return false;
    if (length) writer_.Submit(length);
    written += length;
  }
  return written == entry.UncompressedSize;
}

bool Extraction::ExtractMember(FileSource& source, const ZipDirEntry& entry, const std::string& path) {
  unsigned char local[kLocalHeaderSize];
  if (source.ReadAt(entry.LocalHeaderOffset, local, sizeof local) != sizeof local ||
      (local[0] | local[1] << 8 | local[2] << 16 | static_cast<uint32_t>(local[3]) << 24) != kLocalSignature)
    return Fail(leArchiveUnreadable, "Lokaler Header fehlt: " + entry.FileName), false;
  // Refused before anything is written: inflated as plain, it would be garbage.
  if (((entry.Flags | local[6] | local[7] << 8) & kEncryptionFlags) != 0)
    return Fail(leUnsupportedMethod, "Verschlüsselte Datei nicht unterstützt: " + entry.FileName), false;
  if (entry.Method != 0 && entry.Method != Z_DEFLATED)
    return Fail(leUnsupportedMethod, "Packmethode nicht unterstützt: " + entry.FileName), false;
  const uint64_t offset =
      entry.LocalHeaderOffset + kLocalHeaderSize + (local[26] | local[27] << 8) + (local[28] | local[29] << 8);
  writer_.Begin(path, entry.UncompressedSize, StoredWriteTime(entry));
  MemberData data(source, offset, entry);
  const bool dataOk = data.Ready() && CopyData(data, entry);
  uint32_t crc = 0;
  const WriteOutcome outcome = writer_.Finish(crc);
  if (outcome == woWritten && dataOk && crc == entry.CRC32) return true;
  // A file in the folder is always a whole and checked one.
  DeleteFileA(path.c_str());
  if (outcome != woWritten) return Fail(leWriteFailed, WriteFailure(outcome, path)), false;
  if (!dataOk) return Fail(leDataError, "Fehlerhafte Daten: " + entry.FileName), false;
  Report(uaCRCError, static_cast<int32_t>(crc), static_cast<int32_t>(entry.CRC32), path);
  return Fail(leChecksum, "CRC-Fehler: " + entry.FileName), false;
}

std::vector<const ZipDirEntry*> Extraction::Selected(const ZipDirectory& directory, int64_t& total) const {
  std::vector<std::string> specs;
  const auto* spec = reinterpret_cast<const UnzipFileSpec*>(static_cast<uintptr_t>(record_.Specs));
  for (int32_t i = 0; spec && i < record_.SpecCount; ++i)
    if (spec[i].Spec) specs.push_back(reinterpret_cast<const char*>(static_cast<uintptr_t>(spec[i].Spec)));
  std::vector<const ZipDirEntry*> members;
  total = 0;
  for (const ZipDirEntry& entry : directory.Entries)
    if (MatchesSpecs(entry.FileName, specs)) {
      members.push_back(&entry);
      total += entry.UncompressedSize;
    }
  return members;
}

int32_t Extraction::Run() {
  const char* archive = reinterpret_cast<const char*>(static_cast<uintptr_t>(record_.ArchiveName));
  FileHandle file(OpenForReading(archive ? archive : ""));
  if (!file.valid())
    return Fail(leArchiveUnreadable, std::string("Archiv kann nicht gelesen werden: ") + (archive ? archive : "")), 0;
  FileSource source(file.handle);
  ZipDirectoryOptions options;
  options.Convert = SystemNameConversion(cpAuto);
  ZipDirectory directory;
  if (ReadZipDirectory(source, options, directory) != 0)
    return Fail(leArchiveUnreadable, std::string("Archiv ist fehlerhaft: ") + archive), 0;

  int64_t total = 0;
  const std::vector<const ZipDirEntry*> members = Selected(directory, total);
  const std::string folder = Folder();
  int32_t extracted = 0;
  if (!Report(uaFileCount, 0, static_cast<int32_t>(members.size())) ||
      !Report(uaTotalSize, 0, static_cast<int32_t>(total)))
    return 0;
  for (const ZipDirEntry* entry : members) {
    std::string relative;
    if (!CleanMemberPath(entry->FileName, relative)) {
      // Never written: the name would leave the extraction folder.
      Fail(leUnsafeName, "Unzulässiger Dateiname im Archiv: " + entry->FileName);
      continue;
    }
    const std::string path = folder + relative;
    if (!Report(uaFileBegin, 0, static_cast<int32_t>(entry->UncompressedSize), path)) break;
    if (ExtractMember(source, *entry, path)) ++extracted;
    if (aborted_) break;
  }
  Report(uaBatchEnd, 0, 0);
  return extracted;
}

}  // namespace

extern "C" {

__declspec(dllexport) int32_t __stdcall GetUnzLibVersion() { return kUnzipInterfaceVersion; }

__declspec(dllexport) int32_t __stdcall GetUnzLibPrivVersion() { return kUnzipInterfaceVersion; }

__declspec(dllexport) int32_t __stdcall UnzLibExec(UnzipCallRecord* record) {
  if (!record) return 0;
  return Extraction(*record).Run();
}

}  // extern "C"
