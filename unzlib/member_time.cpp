#include "member_time.h"

#include <cstddef>

namespace {

constexpr uint16_t kExtendedTimestamp = 0x5455;
constexpr uint16_t kNtfsTimes = 0x000A;
constexpr uint16_t kNtfsTimesTag = 0x0001;
// Seconds from 1601 to 1970, and file time steps per second.
constexpr uint64_t kUnixEpochSeconds = 11644473600ULL;
constexpr uint64_t kStepsPerSecond = 10000000ULL;

uint32_t Get(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// The modification time of an extended timestamp: flag bit 0 announces it.
bool ExtendedTime(const uint8_t* data, size_t size, uint64_t& fileTime) {
  if (size < 5 || !(data[0] & 1)) return false;
  const int64_t seconds = static_cast<int32_t>(Get(data + 1, 4));
  fileTime = static_cast<uint64_t>(seconds + static_cast<int64_t>(kUnixEpochSeconds)) * kStepsPerSecond;
  return true;
}

// The NTFS field: four reserved bytes, then tagged attributes; tag 1 holds
// the modification, access and creation times, in that order.
bool NtfsTime(const uint8_t* data, size_t size, uint64_t& fileTime) {
  for (size_t at = 4; at + 4 <= size;) {
    const uint16_t tag = static_cast<uint16_t>(Get(data + at, 2));
    const size_t length = Get(data + at + 2, 2);
    if (at + 4 + length > size) return false;
    if (tag == kNtfsTimesTag && length >= 8) {
      fileTime = static_cast<uint64_t>(Get(data + at + 8, 4)) << 32 | Get(data + at + 4, 4);
      return fileTime != 0;
    }
    at += 4 + length;
  }
  return false;
}

}  // namespace

bool ExtraFieldWriteTime(const std::vector<uint8_t>& extra, uint64_t& fileTime) {
  for (size_t at = 0; at + 4 <= extra.size();) {
    const uint16_t id = static_cast<uint16_t>(Get(&extra[at], 2));
    const size_t length = Get(&extra[at + 2], 2);
    if (at + 4 + length > extra.size()) return false;
    const uint8_t* data = extra.data() + at + 4;
    if (id == kExtendedTimestamp && ExtendedTime(data, length, fileTime)) return true;
    if (id == kNtfsTimes && NtfsTime(data, length, fileTime)) return true;
    at += 4 + length;
  }
  return false;
}
