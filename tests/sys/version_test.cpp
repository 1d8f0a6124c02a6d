#include "sys/version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(Version, ParseTakesUpToFourNumbers) {
  EXPECT_EQ(VersionText(ParseVersion("1.1")), "1.1.0.0");
  EXPECT_EQ(VersionText(ParseVersion(" 2.0.100.42.7 ")), "2.0.100.42");
  EXPECT_EQ(VersionText(ParseVersion("1.x")), "1.0.0.0");
  EXPECT_EQ(VersionText(ParseVersion("1..3")), "1.0.3.0");
  EXPECT_EQ(VersionText(ParseVersion("")), "0.0.0.0");
  EXPECT_EQ(VersionText(ParseVersion("1.1.4322")), "1.1.4322.0");
  EXPECT_EQ(VersionText(ParseVersion("99999999999.2")), "0.2.0.0");
  EXPECT_EQ(VersionText(ParseVersion("2147483647.-1")), "2147483647.4294967295.0.0");
}

TEST(Version, CompareAtLeastOrEqual) {
  const VersionRecord wanted = ParseVersion("1.1.0.0");
  const VersionRecord found = ParseVersion("1.1.4322.0");
  EXPECT_TRUE(CompareVersion(wanted, found, false));
  EXPECT_FALSE(CompareVersion(wanted, found, true));
  EXPECT_TRUE(CompareVersion(found, found, true));
  EXPECT_TRUE(CompareVersion(found, found, false));
  EXPECT_FALSE(CompareVersion(found, wanted, false));
  // The first difference decides, each part unsigned.
  EXPECT_TRUE(CompareVersion(ParseVersion("1.9.9.9"), ParseVersion("2.0.0.0"), false));
  EXPECT_FALSE(CompareVersion(ParseVersion("2.0.0.0"), ParseVersion("1.9.9.9"), false));
  EXPECT_TRUE(CompareVersion(ParseVersion("1.2"), ParseVersion("1.-1"), false));
}

TEST(Version, ExtensionSortsBeforeName) {
  EXPECT_EQ(ExtensionSortKey("c:\\q\\b.dll"), "dll.c:\\q\\b");
  EXPECT_EQ(ExtensionSortKey("1=c:\\q\\a.exe"), "exe.c:\\q\\a");
  EXPECT_EQ(ExtensionSortKey(" noext "), "noext");
  std::vector<std::string> files{"z.EXE", "b.dll", "a.exe", "C.DLL", "x=m.dll"};
  std::sort(files.begin(), files.end(),
            [](const std::string& a, const std::string& b) { return CompareByExtension(a, b) < 0; });
  EXPECT_EQ(files, (std::vector<std::string>{"b.dll", "C.DLL", "x=m.dll", "a.exe", "z.EXE"}));
  EXPECT_EQ(CompareByExtension("A.DLL", "a.dll"), 0);
}

}  // namespace
