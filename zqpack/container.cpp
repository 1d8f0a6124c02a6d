#include "container.h"

#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "archive/payload_layout.h"
#include "archive/zip_directory.h"
#include "archive/zip_messages.h"
#include "checks/product_checks.h"
#include "member_listing.h"
#include "sys/code_pages.h"

namespace {

bool IsWindowsProgram(const std::vector<uint8_t>& data) { return data.size() >= 2 && data[0] == 'M' && data[1] == 'Z'; }

// Whether the Windows program is a library: its file header says DLL.
bool IsLibrary(const std::vector<uint8_t>& data) {
  if (!IsWindowsProgram(data) || data.size() < 0x40) return false;
  const uint32_t header = data[0x3C] | data[0x3D] << 8 | data[0x3E] << 16 | static_cast<uint32_t>(data[0x3F]) << 24;
  if (header > data.size() - 24 || data[header] != 'P' || data[header + 1] != 'E') return false;
  const uint16_t characteristics = static_cast<uint16_t>(data[header + 22] | data[header + 23] << 8);
  return (characteristics & 0x2000) != 0;
}

void CheckSlot(const char* what, const std::vector<uint8_t>& data, uint32_t slot) {
  if (!IsWindowsProgram(data)) throw std::runtime_error(std::string("the ") + what + " is not a Windows program");
  if (data.size() > slot)
    throw std::runtime_error(std::string("the ") + what + " is " + std::to_string(data.size()) +
                             " bytes, longer than its slot of " + std::to_string(slot) + " bytes");
}

// Writes the pieces and keeps the CRC-32 and length of what follows the image.
class PieceWriter {
 public:
  explicit PieceWriter(std::ofstream& file) : file_(file) {}
  void Write(const uint8_t* data, size_t size, bool covered) {
    // zlib's crc32 starts afresh on a null buffer, which an empty padding has.
    if (size == 0) return;
    file_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!covered) return;
    trailer_.Crc = static_cast<uint32_t>(crc32(trailer_.Crc, data, static_cast<uInt>(size)));
    trailer_.Covered += static_cast<uint32_t>(size);
  }
  void WritePadded(const std::vector<uint8_t>& data, uint32_t slot, bool covered) {
    Write(data.data(), data.size(), covered);
    const std::vector<uint8_t> zeros(slot - data.size(), 0);
    Write(zeros.data(), zeros.size(), covered);
  }
  const PayloadTrailer& Trailer() const { return trailer_; }

 private:
  std::ofstream& file_;
  PayloadTrailer trailer_;
};

void WritePieces(std::ofstream& file, const std::vector<uint8_t>& image, const std::vector<uint8_t>& library,
                 const std::vector<Component>& components) {
  PieceWriter writer(file);
  writer.WritePadded(image, kImageSize, false);
  writer.WritePadded(library, kLibrarySize, true);
  std::vector<uint32_t> sizes;
  for (const Component& component : components) sizes.push_back(static_cast<uint32_t>(component.Archive.size()));
  uint8_t table[kSizeTableSize];
  FillSizeTable(sizes, table);
  writer.Write(table, sizeof table, true);
  for (const Component& component : components) writer.Write(component.Archive.data(), component.Archive.size(), true);
  uint8_t trailer[kTrailerSize];
  FillTrailer(writer.Trailer(), trailer);
  writer.Write(trailer, sizeof trailer, false);
}

}  // namespace

void CheckContainerParts(const std::vector<uint8_t>& image, const std::vector<uint8_t>& library,
                         const std::vector<Component>& components) {
  if (IsLibrary(image) && IsWindowsProgram(library) && !IsLibrary(library))
    throw std::runtime_error("--image and --library are swapped: the image is a library, the library a program");
  CheckSlot("program image", image, kImageSize);
  CheckSlot("unzip library", library, kLibrarySize);
  if (components.empty()) throw std::runtime_error("no component given");
  if (components.size() > kMaxArchives)
    throw std::runtime_error(std::to_string(components.size()) + " components given, at most " +
                             std::to_string(kMaxArchives) + " fit the size table");
  bool settings = false;
  std::string misnamed;
  for (const Component& component : components) {
    if (component.Archive.size() > UINT32_MAX) throw std::runtime_error(component.Source + ": archive exceeds 4 GiB");
    settings = settings || component.HasInstallSettings;
    if (component.MisnamedBase && misnamed.empty()) misnamed = component.Source;
  }
  if (!settings) throw std::runtime_error("uninst/install.ini: " + MissingSettingsText(misnamed));
}

void WriteContainer(const std::string& output, const std::vector<uint8_t>& image, const std::vector<uint8_t>& library,
                    const std::vector<Component>& components) {
  CheckContainerParts(image, library, components);
  const std::string partial = output + ".part";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (file) WritePieces(file, image, library, components);
    file.close();
    if (!file) {
      std::remove(partial.c_str());
      throw std::runtime_error(output + ": cannot be written");
    }
  }
  std::remove(output.c_str());
  if (std::rename(partial.c_str(), output.c_str()) != 0) {
    std::remove(partial.c_str());
    throw std::runtime_error(output + ": cannot be written");
  }
}

void ListContainer(const std::string& path, std::ostream& out) {
  const std::vector<uint8_t> data = ReadWholeFile(path);
  if (data.size() < kArchivesOffset) throw std::runtime_error(path + ": too short for an installer");
  uint8_t table[kSizeTableSize];
  std::copy(data.begin() + kSizeTableOffset, data.begin() + kArchivesOffset, table);
  const std::vector<uint32_t> sizes = UsedArchiveSizes(table);
  out << "image    " << kImageSize << " bytes\n"
      << "library  " << kLibrarySize << " bytes\n"
      << "archives " << sizes.size() << "\n";
  uint64_t offset = kArchivesOffset;
  for (size_t n = 0; n < sizes.size(); ++n) {
    out << "archive " << n << "  " << sizes[n] << " bytes at offset " << offset << "\n";
    if (offset + sizes[n] > data.size())
      throw std::runtime_error(path + ": archive " + std::to_string(n) + " is cut off");
    MemberListing listing;
    if (ReadMemberListing(data.data() + offset, sizes[n], listing) != 0)
      throw std::runtime_error(path + ": archive " + std::to_string(n) + ": " +
                               AnsiToUtf8(ZipMessageText(listing.Directory.Error)));
    for (const ZipDirEntry& entry : listing.Directory.Entries) {
      std::string name = AnsiToUtf8(entry.FileName);
      for (char& c : name)
        if (c == '\\') c = '/';
      out << "  " << name << "  " << entry.UncompressedSize << "\n";
    }
    offset += sizes[n];
  }
  PayloadTrailer trailer;
  if (!ReadTrailer(data.data() + offset, data.size() - offset, trailer)) {
    out << "trailer  none\n";
    return;
  }
  const uint32_t covered = static_cast<uint32_t>(offset - kLibraryOffset);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, data.data() + kLibraryOffset, static_cast<uInt>(covered)));
  const bool matches = trailer.Covered == covered && trailer.Crc == crc;
  out << "trailer  CRC-32 " << std::hex << trailer.Crc << std::dec << " over " << trailer.Covered << " bytes, "
      << (matches ? "matches" : "does not match: the file is damaged") << "\n";
}
