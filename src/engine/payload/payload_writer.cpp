#include "engine/payload/payload_writer.h"

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "archive/file_source.h"
#include "archive/payload_layout.h"
#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "engine/system_keys.h"
#include "sys/system_error.h"
#include "sys/text.h"

namespace {

// Reads the installer file strictly forwards into one buffer: the image and
// the library each in a single call, an archive in parts of at most
// kPartSize, so that a large component needs no buffer of its size.
class PieceReader {
 public:
  static constexpr uint32_t kPartSize = 1024 * 1024;

  PieceReader(HANDLE file, uint64_t size) : file_(file), remaining_(size) {}

  // Reads up to length bytes; false when the read itself failed. A piece
  // longer than what is left of the file is read short, not allocated whole.
  bool Read(uint32_t length, DWORD& read) {
    const DWORD wanted = static_cast<DWORD>(std::min<uint64_t>(length, remaining_));
    if (buffer_.size() < wanted) buffer_.resize(wanted);
    read = 0;
    if (!ReadFile(file_, buffer_.data(), wanted, &read, nullptr)) return false;
    remaining_ -= read;
    if (checking_) {
      checked_.Crc = static_cast<uint32_t>(crc32(checked_.Crc, buffer_.data(), read));
      checked_.Covered += read;
    }
    return true;
  }
  // From now on every piece read counts into the checksum, until the trailer.
  void StartChecksum() { checking_ = true; }
  // Whether a trailer follows and holds other numbers than the pieces read.
  bool Damaged() {
    checking_ = false;
    DWORD read = 0;
    PayloadTrailer stored;
    if (!Read(kTrailerSize, read) || !ReadTrailer(buffer_.data(), read, stored)) return false;
    return stored.Covered != checked_.Covered || stored.Crc != checked_.Crc;
  }
  bool ReadExactly(uint32_t length) {
    DWORD read = 0;
    return Read(length, read) && read == length;
  }
  // Whether the file still holds length bytes.
  bool Holds(uint32_t length) const { return remaining_ >= length; }
  // Reads length bytes and writes them to out, part by part.
  bool CopyTo(HANDLE out, uint32_t length) {
    for (uint32_t left = length; left > 0;) {
      const uint32_t part = std::min(left, kPartSize);
      DWORD written = 0;
      if (!ReadExactly(part) || !WriteFile(out, buffer_.data(), part, &written, nullptr) || written != part)
        return false;
      left -= part;
    }
    return true;
  }
  const uint8_t* Data() const { return buffer_.data(); }
  // The image read last, without the entry of a signature that lies behind it.
  void ClearOuterCertificate(uint32_t imageSize) { ClearOuterCertificateEntry(buffer_.data(), imageSize); }

 private:
  HANDLE file_;
  uint64_t remaining_;
  std::vector<uint8_t> buffer_;
  bool checking_ = false;
  PayloadTrailer checked_;
};

// How a payload piece's file is created: with or without a log line; the
// uninstaller's creation raises on failure, which fails the whole run.
enum class PieceFile { Quiet, Announced, Uninstaller };

// Creates (or replaces) path and writes into it; failures are logged, and a
// piece that could not be written whole is deleted.
bool WritePiece(const TInstallObject& object, const std::string& path, PieceFile kind,
                const std::function<bool(HANDLE)>& write) {
  if (kind != PieceFile::Quiet) object.Log(FormatText("Erzeuge Datei:      %s", path.c_str()));
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() && kind == PieceFile::Uninstaller) ThrowLastError("zquninst.exe");
  if (!file.valid()) {
    LogSystemError(object, GetLastError());
    return false;
  }
  object.Log(FormatText("Schreibe Datei:     %s", path.c_str()));
  if (!write(file.handle)) {
    LogSystemError(object, GetLastError());
    CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
    DeleteFileA(path.c_str());  // no half-written piece stays
    return false;
  }
  return true;
}

std::function<bool(HANDLE)> BufferWriter(const PieceReader& reader, uint32_t length) {
  return [&reader, length](HANDLE file) {
    DWORD written = 0;
    return WriteFile(file, reader.Data(), length, &written, nullptr) && written == length;
  };
}

int WriteArchivePieces(TInstallObject& object, PieceReader& reader, const std::string& reading,
                       const std::string& workFolder, const std::vector<uint32_t>& sizes) {
  int result = rcReadArchive;
  for (size_t n = 0; n < sizes.size(); ++n) {
    object.Log(reading + FormatText(" (Archiv %u)", static_cast<unsigned>(n)));
    if (!reader.Holds(sizes[n])) return result;
    const std::string name = LowerAscii(workFolder + "archiv" + std::to_string(n) + ".zip");
    result = rcWriteArchive;
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const uint32_t size = sizes[n];
    if (!WritePiece(object, name, PieceFile::Quiet, [&reader, size](HANDLE file) { return reader.CopyTo(file, size); }))
      return result;
    object.ArchiveFiles.push_back(name);
  }
  return sizes.empty() ? rcReadArchive : rcOk;
}

int WritePayloadPieces(TInstallObject& object, HANDLE file, const std::string& source, const std::string& workFolder) {
  LARGE_INTEGER length;
  if (!GetFileSizeEx(file, &length) || length.QuadPart < static_cast<LONGLONG>(kImageSize) + kMinPayloadSize)
    return rcNoInstallData;
  PieceReader reader(file, static_cast<uint64_t>(length.QuadPart));
  const std::string reading = FormatText("Lese Quelldatei:    %s", source.c_str());

  object.Log(reading);
  if (!reader.ReadExactly(kImageSize)) return rcReadSetupFile;
  const std::string uninstaller = workFolder + kUninstallerName;
  object.TempFiles.push_back(uninstaller);
  reader.ClearOuterCertificate(kImageSize);
  if (!WritePiece(object, uninstaller, PieceFile::Uninstaller, BufferWriter(reader, kImageSize)))
    return rcWriteUninstaller;

  object.Log(reading);
  reader.StartChecksum();
  DWORD read = 0;
  if (!reader.Read(kLibrarySize, read)) return rcReadDll;
  if (!WritePiece(object, workFolder + "UnzLib.dll", PieceFile::Announced, BufferWriter(reader, kLibrarySize)))
    return rcWriteDll;

  object.Log(reading + " (Archiv Info)");
  uint8_t table[kSizeTableSize];
  if (!reader.ReadExactly(kSizeTableSize)) return rcReadArchiveInfo;
  std::copy(reader.Data(), reader.Data() + kSizeTableSize, table);
  const int result = WriteArchivePieces(object, reader, reading, workFolder, UsedArchiveSizes(table));
  if (result != rcOk || !reader.Damaged()) return result;
  // Nothing of a damaged download may run: the library is loaded only later.
  object.Log(FormatText("Fehler:  Die Installationsdatei %s ist beschädigt.", source.c_str()));
  return rcReadSetupFile;
}

}  // namespace

int WriteData(TInstallObject& object, const std::string& workFolder) {
  int result = rcOpenFile;
  const std::string source = LowerAscii(object.OwnShortPath);
  object.Log(FormatText("Öffne Quelldatei:   %s", source.c_str()));
  try {
    FileHandle file(OpenForReading(source.c_str()));
    if (file.valid()) result = WritePayloadPieces(object, file.handle, source, workFolder);
  } catch (...) {
    // The caller turns the exception into its result.
    object.Log("Fehler:  WriteData fehlgeschlagen");
    throw;
  }
  if (result != rcOk) object.Log("Fehler:  WriteData fehlgeschlagen");
  return result;
}
