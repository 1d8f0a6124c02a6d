#include "member_path.h"

#include <gtest/gtest.h>

namespace {

std::string Cleaned(const std::string& stored) {
  std::string relative;
  return CleanMemberPath(stored, relative) ? relative : "<refused>";
}

TEST(MemberPath, KeepsNamesBelowTheFolder) {
  EXPECT_EQ(Cleaned("viewer/bin/ql.exe"), "viewer\\bin\\ql.exe");
  EXPECT_EQ(Cleaned("viewer\\ver.ini"), "viewer\\ver.ini");
  EXPECT_EQ(Cleaned("./a//b/./c.txt"), "a\\b\\c.txt");
  EXPECT_EQ(Cleaned("viewer/"), "viewer");
  EXPECT_EQ(Cleaned("a..b/c..txt"), "a..b\\c..txt");
}

TEST(MemberPath, RefusesNamesThatLeaveTheFolder) {
  for (const char* hostile :
       {"../evil.txt", "a/../../evil.txt", "a\\..\\b", "..", "/etc/passwd", "\\abs.txt", "//server/share/x",
        "\\\\server\\share\\x", "C:/evil.txt", "C:evil.txt", "a/b:stream", "", "/", "./", "././"})
    EXPECT_EQ(Cleaned(hostile), "<refused>") << hostile;
}

TEST(MemberPath, PatternsSelectMembers) {
  EXPECT_TRUE(MatchesSpecs("viewer\\ql.exe", {}));
  EXPECT_TRUE(MatchesSpecs("viewer\\ql.exe", {"*.*"}));
  EXPECT_TRUE(MatchesSpecs("viewer\\ql.exe", {"*.EXE"}));
  EXPECT_TRUE(MatchesSpecs("viewer\\ql.exe", {"viewer/q?.exe"}));
  EXPECT_FALSE(MatchesSpecs("viewer\\ql.exe", {"*.dll", "other\\*"}));
  EXPECT_TRUE(MatchesSpecs("README", {"*.*"}));  // "*.*" means every member, also without a point
}

}  // namespace
