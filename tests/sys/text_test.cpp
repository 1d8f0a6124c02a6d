#include "sys/text.h"

#include <gtest/gtest.h>

namespace {

struct Split {
  bool ok;
  std::string head, tail;
};

Split SplitLast(const std::string& text, char separator) {
  Split s;
  s.ok = SplitAtLast(text, separator, s.head, s.tail);
  return s;
}

TEST(SplitAtLast, SplitsAtTheLastSeparatorAfterTrimming) {
  Split key = SplitLast("  HKEY_CURRENT_USER\\Software\\Zelo\\ ", '\\');
  EXPECT_TRUE(key.ok);
  EXPECT_EQ(key.head, "HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(key.tail, "Zelo");

  Split file = SplitLast("setup.exe", '.');
  EXPECT_TRUE(file.ok);
  EXPECT_EQ(file.head, "setup");
  EXPECT_EQ(file.tail, "exe");

  Split item = SplitLast("copy|c:\\a.dll~|c:\\a.dll", '|');
  EXPECT_TRUE(item.ok);
  EXPECT_EQ(item.head, "copy|c:\\a.dll~");
  EXPECT_EQ(item.tail, "c:\\a.dll");

  Split emptyTail = SplitLast("abc|", '|');  // the trailing separator goes first
  EXPECT_FALSE(emptyTail.ok);
  EXPECT_EQ(emptyTail.head, "abc");
}

TEST(SplitAtLast, ShortOrSeparatorlessTextFails) {
  Split tooShort = SplitLast("ab.", '.');
  EXPECT_FALSE(tooShort.ok);
  EXPECT_EQ(tooShort.head, "ab");
  EXPECT_EQ(tooShort.tail, "");

  Split none = SplitLast(" name ", '=');
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.head, "name");

  Split blank = SplitLast("   ", '=');
  EXPECT_FALSE(blank.ok);
  EXPECT_EQ(blank.head, "");

  Split leading = SplitLast("=value", '=');
  EXPECT_TRUE(leading.ok);
  EXPECT_EQ(leading.head, "");
  EXPECT_EQ(leading.tail, "value");
}

TEST(Text, TrimLowerAndCompare) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(LowerAscii("ABC\xC4xyz"), "abc\xC4xyz");
  EXPECT_TRUE(SameText("CopyFiles", "copyfiles"));
  EXPECT_FALSE(SameText("CopyFile", "CopyFiles"));
  EXPECT_FALSE(SameText("\xC4", "\xE4"));
  EXPECT_EQ(WithTrailingBackslash("c:\\q"), "c:\\q\\");
  EXPECT_EQ(WithTrailingBackslash("c:\\q\\"), "c:\\q\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
}

}  // namespace

namespace {

TEST(ReplaceAllText, IgnoresCaseAndDoesNotRescanInsertedText) {
  EXPECT_EQ(ReplaceAllText("%THISDIR%a;%thisDir%b", "%thisdir%", "C:\\x\\"), "C:\\x\\a;C:\\x\\b");
  EXPECT_EQ(ReplaceAllText("%a%", "%a%", "%a%%a%"), "%a%%a%");
  EXPECT_EQ(ReplaceAllText("%a%%a%", "%a%", ""), "");
  EXPECT_EQ(ReplaceAllText("ohne", "%a%", "x"), "ohne");
  EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
}

TEST(ReplaceFirst, ReplacesOnlyTheFirstExactMatch) {
  EXPECT_EQ(ReplaceFirst("view.exe \"%1\" /p \"%1\"", "%1", "a.txt"), "view.exe \"a.txt\" /p \"%1\"");
  EXPECT_EQ(ReplaceFirst("view.exe", "%1", "a.txt"), "view.exe");
}

TEST(Text, FormatTextFillsPrintfFields) {
  EXPECT_EQ(FormatText("Extrahiere: %s   Größe: %d Bytes", "c:\\a.txt", -5), "Extrahiere: c:\\a.txt   Größe: -5 Bytes");
  EXPECT_EQ(FormatText("%s", std::string(3000, 'x').c_str()).size(), 3000u);
  EXPECT_EQ(FormatText("ohne"), "ohne");
}

}  // namespace
