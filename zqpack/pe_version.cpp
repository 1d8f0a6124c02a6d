#include "pe_version.h"

namespace {

const uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
const uint16_t kPe32 = 0x10B, kPe32Plus = 0x20B;
const uint32_t kResourceDirectory = 2;
const uint32_t kVersionType = 16;  // RT_VERSION
const uint32_t kSubdirectory = 0x80000000;
const uint32_t kFixedInfoSignature = 0xFEEF04BD;
// VS_VERSIONINFO: three words, the key L"VS_VERSION_INFO" with its end, padded to 32 bits.
const size_t kFixedInfoOffset = 40, kFixedInfoSize = 52;

// Little-endian reads that answer 0 outside the bytes, so a damaged image
// reads as one without a version.
class Bytes {
 public:
  explicit Bytes(const std::vector<uint8_t>& data) : data_(data) {}
  bool Has(uint64_t at, uint64_t length) const { return at <= data_.size() && length <= data_.size() - at; }
  uint16_t Word(uint64_t at) const { return Has(at, 2) ? static_cast<uint16_t>(data_[at] | data_[at + 1] << 8) : 0; }
  uint32_t Dword(uint64_t at) const { return static_cast<uint32_t>(Word(at) | Word(at + 2) << 16); }

 private:
  const std::vector<uint8_t>& data_;
};

struct SectionTable {
  uint64_t Offset = 0;
  uint32_t Count = 0;
};

// The file offset of a relative virtual address, through the section that
// holds it in its raw data; false when none does.
bool FileOffset(const Bytes& image, const SectionTable& sections, uint32_t rva, uint64_t& offset) {
  for (uint32_t n = 0; n < sections.Count; ++n) {
    const uint64_t section = sections.Offset + 40ull * n;
    const uint32_t start = image.Dword(section + 12), rawSize = image.Dword(section + 16);
    if (rva >= start && rva - start < rawSize) {
      offset = image.Dword(section + 20) + static_cast<uint64_t>(rva - start);
      return true;
    }
  }
  return false;
}

// The value of a resource directory's entry: the one of that id, or the first
// entry when id is 0 (a name or language of any kind).
bool DirectoryEntry(const Bytes& image, uint64_t directory, uint32_t id, uint32_t& value) {
  const uint32_t count = image.Word(directory + 12) + image.Word(directory + 14);
  for (uint32_t n = 0; n < count && image.Has(directory + 16 + 8ull * n, 8); ++n) {
    const uint64_t entry = directory + 16 + 8ull * n;
    if (id != 0 && image.Dword(entry) != id) continue;
    value = image.Dword(entry + 4);
    return true;
  }
  return false;
}

// The relative address and length of the version resource's data.
bool VersionData(const Bytes& image, uint64_t root, uint32_t& rva, uint32_t& size) {
  uint32_t value = 0;
  uint64_t directory = root;
  for (const uint32_t id : {kVersionType, 0u}) {
    if (!DirectoryEntry(image, directory, id, value) || !(value & kSubdirectory)) return false;
    directory = root + (value & ~kSubdirectory);
  }
  if (!DirectoryEntry(image, directory, 0, value) || (value & kSubdirectory)) return false;
  rva = image.Dword(root + value);
  size = image.Dword(root + value + 4);
  return image.Has(root + value, 8);
}

}  // namespace

bool LocateVersionResource(const std::vector<uint8_t>& data, uint64_t& offset, uint32_t& size) {
  const Bytes image(data);
  if (image.Word(0) != 0x5A4D) return false;  // "MZ"
  const uint64_t header = image.Dword(0x3C);
  if (image.Dword(header) != kPeSignature) return false;
  const uint64_t optional = header + 24;
  const uint16_t magic = image.Word(optional);
  if (magic != kPe32 && magic != kPe32Plus) return false;
  const uint64_t directories = optional + (magic == kPe32 ? 96 : 112);
  if (image.Dword(directories - 4) <= kResourceDirectory) return false;
  const SectionTable sections{optional + image.Word(header + 20), image.Word(header + 6)};
  uint64_t root = 0;
  uint32_t rva = 0;
  return FileOffset(image, sections, image.Dword(directories + 8 * kResourceDirectory), root) &&
         VersionData(image, root, rva, size) && size >= kFixedInfoOffset + kFixedInfoSize &&
         FileOffset(image, sections, rva, offset) && image.Has(offset, size) &&
         image.Dword(offset + kFixedInfoOffset) == kFixedInfoSignature;
}

bool ReadImageVersion(const std::vector<uint8_t>& data, VersionRecord& version) {
  uint64_t info = 0;
  uint32_t size = 0;
  if (!LocateVersionResource(data, info, size)) return false;
  const Bytes image(data);
  const uint32_t high = image.Dword(info + kFixedInfoOffset + 8), low = image.Dword(info + kFixedInfoOffset + 12);
  version = VersionRecord{high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF};
  return true;
}
