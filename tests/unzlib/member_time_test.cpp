#include "member_time.h"

#include <gtest/gtest.h>

namespace {

// 2020-01-02 03:04:05 UTC, as seconds since 1970 and as a file time.
constexpr uint32_t kUnixTime = 1577934245;
constexpr uint64_t kFileTime = (kUnixTime + 11644473600ULL) * 10000000ULL;

std::vector<uint8_t> Bytes(std::initializer_list<uint32_t> values, int width) {
  std::vector<uint8_t> bytes;
  for (uint32_t value : values)
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return bytes;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(MemberTime, ReadsTheUniversalTimesOfExtraFields) {
  uint64_t time = 0;
  // An extended timestamp behind an unrelated field.
  const auto other = Join({Bytes({0xCAFE, 3}, 2), {1, 2, 3}});
  const auto extended = Join({Bytes({0x5455, 5}, 2), {1}, Bytes({kUnixTime}, 4)});
  ASSERT_TRUE(ExtraFieldWriteTime(Join({other, extended}), time));
  EXPECT_EQ(time, kFileTime);
  // The NTFS field: reserved bytes, then tag 1 with three file times.
  const auto ntfs =
      Join({Bytes({0x000A, 32}, 2), Bytes({0}, 4), Bytes({1, 24}, 2),
            Bytes({static_cast<uint32_t>(kFileTime), static_cast<uint32_t>(kFileTime >> 32), 7, 0, 9, 0}, 4)});
  ASSERT_TRUE(ExtraFieldWriteTime(ntfs, time));
  EXPECT_EQ(time, kFileTime);
}

TEST(MemberTime, FieldsWithoutAWriteTimeOrBrokenOnesGiveNone) {
  uint64_t time = 0;
  EXPECT_FALSE(ExtraFieldWriteTime({}, time));
  // An extended timestamp that announces only the access time.
  EXPECT_FALSE(ExtraFieldWriteTime(Join({Bytes({0x5455, 5}, 2), {2}, Bytes({kUnixTime}, 4)}), time));
  // Lengths that run past the end.
  EXPECT_FALSE(ExtraFieldWriteTime(Join({Bytes({0x5455, 9}, 2), {1}, Bytes({kUnixTime}, 4)}), time));
  EXPECT_FALSE(
      ExtraFieldWriteTime(Join({Bytes({0x000A, 12}, 2), Bytes({0}, 4), Bytes({1, 24}, 2), Bytes({5}, 4)}), time));
  EXPECT_FALSE(ExtraFieldWriteTime({0x55, 0x54, 0x05}, time));
}

}  // namespace
