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
#include "piece_writer.h"
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
constexpr size_t kChunk = 1 << 16;   // compressed data read at a time
constexpr size_t kPiece = 1 << 18;   // inflated data written at a time

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
  // The compressed side of one member's data.
  struct Input {
    std::vector<unsigned char> buffer;
    uint64_t offset = 0;
    uint64_t remaining = 0;
    z_stream stream = {};
    int status = Z_OK;
  };
  static bool ReadInput(FileSource& source, Input& input);
  // Inflates into piece until it is full, the stream ends or the input runs out.
  static bool InflatePiece(FileSource& source, Input& input, unsigned char* piece, size_t& length);
  // Inflates the member's data into output; 0, leDataError or leWriteFailed.
  int CopyData(FileSource& source, uint64_t offset, const ZipDirEntry& entry, HANDLE output, uint32_t& crc);

  const UnzipCallRecord& record_;
  PieceWriter writer_;
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

bool Extraction::ReadInput(FileSource& source, Input& input) {
  const size_t want = static_cast<size_t>(input.remaining < kChunk ? input.remaining : kChunk);
  const size_t got = want ? source.ReadAt(input.offset, input.buffer.data(), want) : 0;
  input.offset += got;
  input.remaining -= got;
  input.stream.next_in = input.buffer.data();
  input.stream.avail_in = static_cast<uInt>(got);
  return got > 0;
}

bool Extraction::InflatePiece(FileSource& source, Input& input, unsigned char* piece, size_t& length) {
  z_stream& stream = input.stream;
  stream.next_out = piece;
  stream.avail_out = static_cast<uInt>(kPiece);
  while (stream.avail_out > 0 && input.status != Z_STREAM_END) {
    if (stream.avail_in == 0 && (input.remaining == 0 || !ReadInput(source, input))) break;
    input.status = inflate(&stream, Z_NO_FLUSH);
    if (input.status != Z_OK && input.status != Z_STREAM_END) return false;
  }
  length = kPiece - stream.avail_out;
  return true;
}

int Extraction::CopyData(FileSource& source, uint64_t offset, const ZipDirEntry& entry, HANDLE output,
                         uint32_t& crc) {
  const bool deflated = entry.Method == Z_DEFLATED;
  Input input;
  input.buffer.resize(kChunk);
  input.offset = offset;
  input.remaining = entry.CompressedSize;
  if (deflated && inflateInit2(&input.stream, -MAX_WBITS) != Z_OK) return leDataError;
  // Two pieces take turns: one is inflated while the writer writes the other.
  std::vector<unsigned char> pieces[2] = {std::vector<unsigned char>(kPiece), std::vector<unsigned char>(kPiece)};
  int current = 0;
  uint64_t written = 0;
  bool ok = true;
  writer_.Begin(output);
  for (bool done = false; ok && !done;) {
    unsigned char* piece = pieces[current].data();
    size_t length = 0;
    if (deflated) {
      ok = InflatePiece(source, input, piece, length);
    } else if (input.remaining > 0) {
      const size_t want = static_cast<size_t>(input.remaining < kPiece ? input.remaining : kPiece);
      length = source.ReadAt(input.offset, piece, want);
      input.offset += length;
      input.remaining -= length;
    }
    done = deflated ? input.status == Z_STREAM_END : input.remaining == 0;
    if (ok && !done && length == 0) ok = false;  // the data ended before the member did
    written += length;
    // More data than the directory announces is a broken or hostile member:
    // stop before it fills the disk.
    if (written > entry.UncompressedSize) ok = false;
    if (ok && length) {
      ok = writer_.Submit(piece, length);
      current ^= 1;
    }
  }
  // The writer lets go of the pieces before they are freed.
  const bool allWritten = writer_.Finish(crc);
  if (deflated) inflateEnd(&input.stream);
  if (!allWritten) return leWriteFailed;
  return ok && written == entry.UncompressedSize ? 0 : leDataError;
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
  const int copyError = CopyData(source, data, entry, output.handle, crc);
  if (copyError == leWriteFailed) return Fail(leWriteFailed, "Datei kann nicht geschrieben werden: " + path), false;
  if (copyError) return Fail(leDataError, "Fehlerhafte Daten: " + entry.FileName), false;
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
