// The payload container: the installer's program image, the unzip library,
// the archive size table and the archives back to back. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kImageSize = 0xA0600;
constexpr uint32_t kLibrarySize = 0x1CE00;
constexpr uint32_t kMaxArchives = 100;
constexpr uint32_t kSizeTableSize = kMaxArchives * 4;
constexpr uint32_t kLibraryOffset = kImageSize;
constexpr uint32_t kSizeTableOffset = kLibraryOffset + kLibrarySize;
constexpr uint32_t kArchivesOffset = kSizeTableOffset + kSizeTableSize;
// The least a container holds beyond the image: the library and 500 bytes.
constexpr uint32_t kMinPayloadSize = kLibrarySize + 500;

// Behind the last archive zqpack writes an integrity trailer: a signature, the
// number of bytes it covers (the library through the last archive) and their
// CRC-32, both little-endian. The file may go on behind it (a signature block).
constexpr uint32_t kTrailerSize = 16;
struct PayloadTrailer {
  uint32_t Covered = 0;
  uint32_t Crc = 0;
};
void FillTrailer(const PayloadTrailer& trailer, uint8_t (&bytes)[kTrailerSize]);
// Whether the bytes are a trailer; trailer receives its numbers.
bool ReadTrailer(const uint8_t* bytes, size_t size, PayloadTrailer& trailer);

// The used entries of the size table: those before the first zero.
std::vector<uint32_t> UsedArchiveSizes(const uint8_t (&table)[kSizeTableSize]);

// The size table for these archive lengths (at most kMaxArchives of them).
void FillSizeTable(const std::vector<uint32_t>& sizes, uint8_t (&table)[kSizeTableSize]);

// A signed installer's image names its signature block, which lies behind the
// payload; the uninstaller copy of the image alone has none. Clears the
// certificate entry of a PE32 header when it points at or beyond the image's
// end; true when it did. Anything that is no PE32 header is left alone.
bool ClearOuterCertificateEntry(uint8_t* image, size_t size);
