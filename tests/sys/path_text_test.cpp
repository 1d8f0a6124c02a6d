#include "sys/path_text.h"

#include <gtest/gtest.h>

namespace {

TEST(PathText, FolderAndParentKeepTheirBackslash) {
  EXPECT_EQ(FolderPart("C:\\Programme\\Quotaline\\ql.exe"), "C:\\Programme\\Quotaline\\");
  EXPECT_EQ(FolderPart("ql.exe"), "");
  EXPECT_EQ(ParentFolder("C:\\ProgramData\\"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\users\\Public\\Desktop"), "C:\\users\\Public\\");
  EXPECT_EQ(ParentFolder("Desktop"), "");
  EXPECT_EQ(ParentFolder(""), "");
}

TEST(PathText, ExtensionsBelongToTheFileNameAndBlanksAreQuoted) {
  EXPECT_EQ(FileExtension("C:\\docs\\liesmich.TXT"), ".TXT");
  // A point in a folder name is no extension.
  EXPECT_EQ(FileExtension("C:\\v1.1\\liesmich"), "");
  EXPECT_EQ(QuotedIfBlank("Quotaline Server.exe"), "\"Quotaline Server.exe\"");
  EXPECT_EQ(QuotedIfBlank("server.exe"), "server.exe");
}

TEST(PathText, AnyNameBecomesAFolderNameOfItsOwn) {
  EXPECT_EQ(SafeFileName("Zelo Rechner"), "Zelo Rechner");
  EXPECT_EQ(SafeFileName("A/B\\C:D*?\"<>|\x01"), "A_B_C_D_______");
  EXPECT_EQ(SafeFileName("Rechner. . "), "Rechner");
  for (const char* device : {"CON", "aux", "Nul.txt", "com1", "LPT9.log", "prn "})
    EXPECT_TRUE(IsReservedDeviceName(device)) << device;
  for (const char* name : {"CONSOLE", "com0", "LPT10", "auxiliary.txt", "COM"})
    EXPECT_FALSE(IsReservedDeviceName(name)) << name;
  EXPECT_EQ(SafeFileName("con"), "_con");
  EXPECT_EQ(SafeFileName(" .."), "_");
  EXPECT_EQ(SafeFileName(""), "_");
}

TEST(PathText, FolderNamesMustBeNonEmptyAndFreeOfReservedCharacters) {
  EXPECT_TRUE(HasValidFolderNames("C:\\"));
  EXPECT_TRUE(HasValidFolderNames("C:\\Programme\\Ziel"));
  EXPECT_TRUE(HasValidFolderNames("C:\\Programme\\Ziel\\"));
  EXPECT_TRUE(HasValidFolderNames("C:\\\"Zitat\"\\"));  // a double quote is not rejected
  EXPECT_FALSE(HasValidFolderNames("C:\\Programme\\\\Ziel"));
  EXPECT_FALSE(HasValidFolderNames("C:\\Programme\\Ziel\\\\"));
  for (const char* bad : {"C:\\Pro*gramme", "C:\\a/b", "C:\\a:b", "C:\\a<b", "C:\\a>b", "C:\\a?b", "C:\\a|b"})
    EXPECT_FALSE(HasValidFolderNames(bad)) << bad;
}

TEST(PathText, BackslashPairsCollapseInOnePass) {
  EXPECT_EQ(CollapseBackslashPairs("C:\\Programme\\\\tools\\x.dll"), "C:\\Programme\\tools\\x.dll");
  EXPECT_EQ(CollapseBackslashPairs("\\\\server\\share"), "\\server\\share");
  EXPECT_EQ(CollapseBackslashPairs("a\\\\\\b"), "a\\\\b");
  EXPECT_EQ(CollapseBackslashPairs("a\\\\\\\\b"), "a\\\\b");
  EXPECT_EQ(CollapseBackslashPairs("a\\"), "a\\");
  EXPECT_EQ(CollapseBackslashPairs(""), "");
}

}  // namespace
