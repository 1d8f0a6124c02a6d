#include "archive/payload_layout.h"

#include <cstring>

namespace {

const uint8_t kTrailerSignature[8] = {'Z', 'Q', 'P', 'A', 'Y', 'C', 'R', 'C'};

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

void Put32(uint32_t value, uint8_t* p) {
  for (int byte = 0; byte < 4; ++byte) p[byte] = static_cast<uint8_t>(value >> (8 * byte));
}

}  // namespace

void FillTrailer(const PayloadTrailer& trailer, uint8_t (&bytes)[kTrailerSize]) {
  std::memcpy(bytes, kTrailerSignature, sizeof kTrailerSignature);
  Put32(trailer.Covered, bytes + 8);
  Put32(trailer.Crc, bytes + 12);
}

bool ReadTrailer(const uint8_t* bytes, size_t size, PayloadTrailer& trailer) {
  if (size < kTrailerSize || std::memcmp(bytes, kTrailerSignature, sizeof kTrailerSignature) != 0) return false;
  trailer.Covered = Get32(bytes + 8);
  trailer.Crc = Get32(bytes + 12);
  return true;
}

std::vector<uint32_t> UsedArchiveSizes(const uint8_t (&table)[kSizeTableSize]) {
  std::vector<uint32_t> sizes;
  for (uint32_t n = 0; n < kMaxArchives; ++n) {
    const uint32_t size = Get32(table + 4 * n);
    if (size == 0) break;
    sizes.push_back(size);
  }
  return sizes;
}

void FillSizeTable(const std::vector<uint32_t>& sizes, uint8_t (&table)[kSizeTableSize]) {
  std::memset(table, 0, sizeof table);
  for (size_t n = 0; n < sizes.size() && n < kMaxArchives; ++n) Put32(sizes[n], table + 4 * n);
}

bool ClearOuterCertificateEntry(uint8_t* image, size_t size) {
  constexpr size_t kHeaderOffsetField = 0x3C, kFileHeaderSize = 20, kCertificateEntry = 128;
  if (size < kHeaderOffsetField + 4 || image[0] != 'M' || image[1] != 'Z') return false;
  const size_t pe = Get32(image + kHeaderOffsetField);
  const size_t optional = pe + 4 + kFileHeaderSize;
  const size_t entry = optional + kCertificateEntry;  // directory 4 of a PE32 optional header
  if (pe > size || entry + 8 > size || Get32(image + pe) != 0x00004550 || image[optional] != 0x0B ||
      image[optional + 1] != 0x01)
    return false;
  if (Get32(image + entry) == 0 || Get32(image + entry) < size) return false;
  for (size_t i = 0; i < 8; ++i) image[entry + i] = 0;
  return true;
}
