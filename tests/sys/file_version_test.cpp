#include "sys/file_version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/paths.h"

namespace {

// A copy of a fixture in the scratch folder with the given write time (seconds
// after an arbitrary day).
std::string CopyWithTime(const std::string& fixture, const std::string& name, int seconds) {
  const std::string path = ScratchPath(name);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(CopyFileA(FixturePath(fixture).c_str(), path.c_str(), FALSE)) << fixture;
  SYSTEMTIME day = {2024, 5, 0, 17, 10, 0, 0, 0};
  FILETIME time;
  SystemTimeToFileTime(&day, &time);
  ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
  value.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
  time.dwLowDateTime = value.LowPart;
  time.dwHighDateTime = value.HighPart;
  const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return path;
}

TEST(FileVersion, ReadsTheFixedFileVersion) {
  VersionRecord version;
  std::string text;
  ASSERT_TRUE(GetFileVersion(FixturePath("v1_2_3_4.dll"), version, text));
  EXPECT_EQ(version.Major, 1u);
  EXPECT_EQ(version.Minor, 2u);
  EXPECT_EQ(version.Release, 3u);
  EXPECT_EQ(version.Build, 4u);
  EXPECT_EQ(text, "1.2.3.4");
  EXPECT_EQ(FileVersion(FixturePath("v65535_1_4322_0.dll")), "65535.1.4322.0");

  text = "alt";
  EXPECT_FALSE(GetFileVersion(FixturePath("plain.dll"), version, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(version.Major, 0u);
  EXPECT_EQ(FileVersion(ScratchPath("fehlt.dll")), "");
}

TEST(FileVersion, VersionsDecideWhenBothFilesHaveOne) {
  const std::string old = CopyWithTime("v1_2_0_0.dll", "old.dll", 0);
  const std::string same = CopyWithTime("v1_2_0_0.dll", "same.dll", 3600);
  const std::string newer = CopyWithTime("v1_3_0_0.dll", "newer.dll", -3600);
  EXPECT_FALSE(SourceIsNewer(same, old));  // equal versions: a later time does not count
  EXPECT_TRUE(SourceIsNewer(newer, old));  // a higher version wins over an older time
  EXPECT_FALSE(SourceIsNewer(old, newer));
}

TEST(FileVersion, WriteTimesDecideWithoutTwoVersions) {
  const std::string target = CopyWithTime("plain.dll", "target.dll", 0);
  const std::string later = CopyWithTime("v1_2_0_0.dll", "later.dll", 10);
  const std::string sameTime = CopyWithTime("plain.dll", "sametime.dll", 0);
  const std::string withinStep = CopyWithTime("plain.dll", "withinstep.dll", 1);
  const std::string earlier = CopyWithTime("v1_3_0_0.dll", "earlier.dll", -10);
  EXPECT_TRUE(SourceIsNewer(later, target));
  EXPECT_FALSE(SourceIsNewer(earlier, target));
  EXPECT_FALSE(SourceIsNewer(sameTime, target));
  EXPECT_FALSE(SourceIsNewer(withinStep, target));  // inside the same 2-second step
  EXPECT_FALSE(SourceIsNewer(target, later));
}

TEST(FileVersion, AMissingOrLockedFileCountsAsOlder) {
  const std::string present = CopyWithTime("plain.dll", "present.dll", 0);
  const std::string other = CopyWithTime("plain.dll", "other.dll", -100);
  EXPECT_TRUE(SourceIsNewer(ScratchPath("fehlt.dll"), present));
  EXPECT_TRUE(SourceIsNewer(present, ScratchPath("fehlt.dll")));

  const HANDLE locked = CreateFileA(other.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SourceIsNewer(other, present));  // cannot be opened: it is replaced
  CloseHandle(locked);
  EXPECT_FALSE(SourceIsNewer(other, present));
}

}  // namespace
