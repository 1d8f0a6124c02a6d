// One spelling for every way of writing a path, as the deleting operations
// compare them.
#include "sys/normal_path.h"

#include <gtest/gtest.h>

namespace {

TEST(NormalPath, EverySpellingOfAPathIsOne) {
  const struct {
    const char* written;
    const char* normal;
  } cases[] = {
      {"C:\\Program Files\\Quotaline\\", "c:\\program files\\quotaline"},
      {"c:/program files//quotaline/.", "c:\\program files\\quotaline"},
      {"\\\\?\\C:\\Program Files\\Quotaline", "c:\\program files\\quotaline"},
      {"C:\\Program Files\\Quotaline\\..\\..\\Windows\\", "c:\\windows"},
      {"C:\\.\\", "c:\\"},
      {"C:\\\\", "c:\\"},
      {"C:", "c:\\"},
      {"  C:\\Windows. . \\", "c:\\windows"},  // the file system drops trailing dots and blanks
      {"C:\\MENÜ\\Übersicht", "c:\\menü\\übersicht"},
      {"\\\\Server\\Share\\Quotaline\\..", "\\\\server\\share\\"},
      {"\\\\?\\UNC\\server\\share\\a", "\\\\server\\share\\a"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalPath(c.written), c.normal) << c.written;
  // No full path, a device, a stream, a climb above the root or a name
  // that means nothing alike: no path at all.
  for (const char* refused :
       {"", "quotaline\\x", "c:x", "\\x", "\\\\.\\C:\\x", "\\\\server", "\\\\server\\\\x", "c:\\a\\b:stream",
        "c:\\..\\windows", "c:\\a\\...\\b", "c:\\a\\b*", "c:\\a\\\x01", "c:\\sub \\x", "c:\\sub.\\x"})
    EXPECT_EQ(NormalPath(refused), "") << refused;
  EXPECT_EQ(NormalPath("c:\\" + std::string(256, 'a')), "c:\\" + std::string(256, 'a'));
  EXPECT_EQ(NormalPath("c:\\" + std::string(257, 'a')), "");
}

TEST(NormalPath, InsideMeansBelowTheWholeFolderName) {
  EXPECT_TRUE(LiesBelow("c:\\programme\\q\\a", "c:\\programme\\q"));
  EXPECT_TRUE(LiesBelow("c:\\a", "c:\\"));
  EXPECT_FALSE(LiesBelow("c:\\programme\\quotaline", "c:\\programme\\q"));
  EXPECT_FALSE(LiesBelow("c:\\programme\\q", "c:\\programme\\q"));
  EXPECT_FALSE(LiesBelow("c:\\a", ""));
  EXPECT_TRUE(IsSameOrBelow("c:\\programme\\q", "c:\\programme\\q"));
  EXPECT_FALSE(IsSameOrBelow("c:\\programme", "c:\\programme\\q"));
  EXPECT_TRUE(IsRootPath("c:\\"));
  EXPECT_TRUE(IsRootPath("\\\\s\\share\\"));
  EXPECT_FALSE(IsRootPath("c:\\a"));
}

TEST(NormalPath, NamesBelowAFolderClimbOnlyAsFarAsItsTop) {
  EXPECT_EQ(ResolvedBelowFolder("viewer\\..\\daten//x.txt"), "daten\\x.txt");
  EXPECT_EQ(ResolvedBelowFolder(".\\a\\.\\b\\"), "a\\b");
  EXPECT_EQ(ResolvedBelowFolder("a\\..\\..\\victim\\evil.txt"), std::nullopt);
  EXPECT_EQ(ResolvedBelowFolder(".."), std::nullopt);
}

// Only a name of the 8.3 form with a "~" can be a short name the system made.
TEST(NormalPath, ShortNamesAreThe83NamesWithATilde) {
  for (const char* path : {"c:\\progra~1\\quotaline", "c:\\q\\vie~1.exe", "c:\\~ql\\a.txt", "\\\\server\\share\\a~b"})
    EXPECT_TRUE(MayHoldShortNames(path)) << path;
  for (const char* path : {"c:\\program files\\quotaline", "c:\\windows\\temp\\~ql0123456789abcdef\\a.txt",
                           "c:\\q\\viewer.exe~", "c:\\q\\longname~1.txt", "c:\\"})
    EXPECT_FALSE(MayHoldShortNames(path)) << path;
}

}  // namespace
