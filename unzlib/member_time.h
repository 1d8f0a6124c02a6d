// The time an archive member was last written, as the packer stored it.
// Platform-free.
#pragma once

#include <cstdint>
#include <vector>

// The write time of an extra field that carries one in universal time: the
// extended timestamp (0x5455) with its modification time, or the NTFS field
// (0x000A) with its times. fileTime is in 100-nanosecond steps since
// 1 January 1601, as the file system keeps it. False when the extra field
// holds neither, or only broken ones.
bool ExtraFieldWriteTime(const std::vector<uint8_t>& extra, uint64_t& fileTime);
