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

// The used entries of the size table: those before the first zero.
std::vector<uint32_t> UsedArchiveSizes(const uint8_t (&table)[kSizeTableSize]);

// The size table for these archive lengths (at most kMaxArchives of them).
void FillSizeTable(const std::vector<uint32_t>& sizes, uint8_t (&table)[kSizeTableSize]);
