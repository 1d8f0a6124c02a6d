// UnzLib.dll: extracts the members of a ZIP archive into a folder, reporting
// through the caller's callback, as the archive component expects.
#include <windows.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "archive/file_source.h"
#include "archive/oem_names.h"
#include "archive/unzip_records.h"
#include "archive/zip_directory.h"
#include "member_path.h"
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
constexpr size_t kChunk = 1 << 16;

// Gives the new file its final length before it is written, which makes the
// writes cheaper and finds a full disk before any data is inflated.
bool Preallocate(HANDLE file, uint32_t size) {
  LARGE_INTEGER end, start = {};
  end.QuadPart = size;
  return SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
         SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
}

class Extraction {
 public:
  explicit Extraction(const UnzipCallRecord& record) : record_(record) {}
  int32_t Run();

 private:
  bool Report(int32_t action, int32_t first, int32_t second, const std::string& text = std::string());
  bool Fail(int32_t error, const std::string& text) { return Report(uaMessage, error, 0, text); }
  std::string Folder() const;
  bool CreateParents(const std::string& path) const;
  bool ExtractMember(FileSource& source, const ZipDirEntry& entry, const std::string& path);
  bool CopyData(FileSource& source, uint64_t offset, const ZipDirEntry& entry, HANDLE output, uint32_t& crc);

  const UnzipCallRecord& record_;
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

bool Extraction::CreateParents(const std::string& path) const {
  for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return true;
}

bool Extraction::CopyData(FileSource& source, uint64_t offset, const ZipDirEntry& entry, HANDLE output,
                          uint32_t& crc) {
  std::vector<unsigned char> input(kChunk), inflated(kChunk);
  z_stream stream = {};
  const bool deflated = entry.Method == Z_DEFLATED;
  if (deflated && inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  uint64_t remaining = entry.CompressedSize;
  uLong written = 0;
  int status = Z_OK;
  bool ok = true;
  while (ok && status != Z_STREAM_END && (remaining > 0 || (deflated && stream.avail_in > 0))) {
    if (stream.avail_in == 0 && remaining > 0) {
      const size_t want = static_cast<size_t>(remaining < kChunk ? remaining : kChunk);
      const size_t got = source.ReadAt(offset, input.data(), want);
      if (got == 0) {
        ok = false;
        break;
      }
      offset += got;
      remaining -= got;
      stream.next_in = input.data();
      stream.avail_in = static_cast<uInt>(got);
    }
    const unsigned char* data = stream.next_in;
    size_t length = stream.avail_in;
    if (deflated) {
      stream.next_out = inflated.data();
      stream.avail_out = static_cast<uInt>(inflated.size());
      status = inflate(&stream, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) ok = false;
      data = inflated.data();
      length = inflated.size() - stream.avail_out;
    } else {
      stream.avail_in = 0;
    }
    // More data than the directory announces is a broken or hostile member:
    // stop before it fills the disk.
    if (written + length > entry.UncompressedSize) ok = false;
    DWORD put = 0;
    if (ok && length && (!WriteFile(output, data, static_cast<DWORD>(length), &put, nullptr) || put != length))
      ok = false;
    crc = static_cast<uint32_t>(crc32(crc, data, static_cast<uInt>(length)));
    written += static_cast<uLong>(length);
    if (ok && deflated && status != Z_STREAM_END && remaining == 0 && stream.avail_in == 0 && length == 0)
      ok = false;  // the compressed data ended before the stream did
  }
  if (deflated) inflateEnd(&stream);
  return ok && written == entry.UncompressedSize && (!deflated || status == Z_STREAM_END);
}

bool Extraction::ExtractMember(FileSource& source, const ZipDirEntry& entry, const std::string& path) {
  unsigned char local[kLocalHeaderSize];
  if (source.ReadAt(entry.LocalHeaderOffset, local, sizeof local) != sizeof local ||
      (local[0] | local[1] << 8 | local[2] << 16 | static_cast<uint32_t>(local[3]) << 24) != kLocalSignature)
    return Fail(leArchiveUnreadable, "Lokaler Header fehlt: " + entry.FileName), false;
  if (entry.Method != 0 && entry.Method != Z_DEFLATED)
    return Fail(leUnsupportedMethod, "Packmethode nicht unterstützt: " + entry.FileName), false;
  const uint64_t data = entry.LocalHeaderOffset + kLocalHeaderSize + (local[26] | local[27] << 8) +
                        (local[28] | local[29] << 8);
  if (!CreateParents(path)) return Fail(leWriteFailed, "Ordner kann nicht angelegt werden: " + path), false;
  FileHandle output(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!output.valid())
    return Fail(leWriteFailed, "Datei kann nicht geschrieben werden: " + path), false;
  if (!Preallocate(output.handle, entry.UncompressedSize))
    return Fail(leWriteFailed, "Kein Platz für die Datei: " + path), false;
  uint32_t crc = 0;
  if (!CopyData(source, data, entry, output.handle, crc))
    return Fail(leDataError, "Fehlerhafte Daten: " + entry.FileName), false;
  if (crc != entry.CRC32) {
    Report(uaCRCError, static_cast<int32_t>(crc), static_cast<int32_t>(entry.CRC32), path);
    return Fail(leChecksum, "CRC-Fehler: " + entry.FileName), false;
  }
  return true;
}

int32_t Extraction::Run() {
  const char* archive = reinterpret_cast<const char*>(static_cast<uintptr_t>(record_.ArchiveName));
  FileHandle file(OpenForReading(archive ? archive : ""));
  if (!file.valid())
    return Fail(leArchiveUnreadable, std::string("Archiv kann nicht gelesen werden: ") + (archive ? archive : "")), 0;
  FileSource source(file.handle);
  ZipDirectoryOptions options;
  options.Convert = [](const std::string& stored, uint8_t host, uint8_t version) {
    return ConvertEntryName(cpAuto, stored, host, version);
  };
  ZipDirectory directory;
  if (ReadZipDirectory(source, options, directory) != 0)
    return Fail(leArchiveUnreadable, std::string("Archiv ist fehlerhaft: ") + archive), 0;

  std::vector<std::string> specs;
  const auto* spec = reinterpret_cast<const UnzipFileSpec*>(static_cast<uintptr_t>(record_.Specs));
  for (int32_t i = 0; spec && i < record_.SpecCount; ++i)
    if (spec[i].Spec) specs.push_back(reinterpret_cast<const char*>(static_cast<uintptr_t>(spec[i].Spec)));
  std::vector<const ZipDirEntry*> members;
  int64_t total = 0;
  for (const ZipDirEntry& entry : directory.Entries)
    if (MatchesSpecs(entry.FileName, specs)) {
      members.push_back(&entry);
      total += entry.UncompressedSize;
    }

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
