// IniFile through the system's profile-string functions.
#include "sys/ini_file.h"

#include <gtest/gtest.h>

#include "support/paths.h"

namespace {

TEST(IniFile, ReadsLongValuesAndLargeSections) {
  std::string text = "[gross]\r\n";
  for (int n = 0; n < 500; ++n) text += "schluessel" + std::to_string(n) + "=\"wert " + std::to_string(n) + "\"\r\n";
  text += "[lang]\r\nwert=" + std::string(5000, 'x') + "\r\n[zahlen]\r\neins=1\r\nkeine=abc\r\nminus= -7 \r\n";
  const std::string path = ScratchPath("test.ini");
  ASSERT_TRUE(WriteTextFile(path, text));
  const IniFile ini(path);

  const std::vector<std::string> lines = ini.SectionLines("GROSS");  // sections ignore case
  ASSERT_EQ(lines.size(), 500u);
  EXPECT_EQ(lines.front(), "schluessel0=wert 0");
  EXPECT_EQ(lines.back(), "schluessel499=wert 499");
  EXPECT_EQ(ini.ReadString("lang", "wert", ""), std::string(5000, 'x'));
  EXPECT_EQ(ini.ReadString("lang", "fehlt", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.ReadInteger("zahlen", "eins", 0), 1);
  EXPECT_EQ(ini.ReadInteger("zahlen", "keine", 9), 9);
  EXPECT_EQ(ini.ReadInteger("zahlen", "minus", 0), -7);
  EXPECT_EQ(ini.ReadInteger("zahlen", "fehlt", 4), 4);
  EXPECT_TRUE(ini.SectionLines("fehlt").empty());
  EXPECT_TRUE(IniFile(ScratchPath("fehlt.ini")).Keys("gross").empty());
}

TEST(IniFile, WritesASectionsEntriesAtOnce) {
  const std::string path = ScratchPath("entries.ini");
  ASSERT_TRUE(WriteTextFile(path, "[s]\r\nAlt=1\r\nbleibt=2\r\n[andere]\r\nx=1\r\n"));
  const IniFile ini(path);
  // A stored key keeps its place and spelling; new keys follow in order, a
  // repeated one with its last value.
  ASSERT_TRUE(ini.WriteEntries("S", {{"alt", "neu"}, {"Neu", "a"}, {"zwei", "c"}, {"neu", "b"}}));
  EXPECT_EQ(ini.SectionLines("s"), (std::vector<std::string>{"Alt=neu", "bleibt=2", "Neu=b", "zwei=c"}));
  EXPECT_EQ(ini.SectionLines("andere"), (std::vector<std::string>{"x=1"}));
  ASSERT_TRUE(ini.WriteEntries("frisch", {{"a", "1"}}));
  EXPECT_EQ(ini.SectionLines("frisch"), (std::vector<std::string>{"a=1"}));
}

TEST(IniFile, SectionLinesAreWhatReadingEachKeyGives) {
  const std::string path = ScratchPath("lines.ini");
  ASSERT_TRUE(WriteTextFile(path,
                            "[liste]\r\n  a =  \"zitiert\"  \r\nB='einfach'\r\nc=\"offen\r\nd=\"\r\nohne Gleich\r\n"
                            "; Kommentar=1\r\nA=zweites a\r\ne=x=y\r\nleer=\r\nf=\"\"\r\ng='gemischt\"\r\n"));
  const IniFile ini(path);
  std::vector<std::string> byKey;
  for (const std::string& key : ini.Keys("liste")) byKey.push_back(key + "=" + ini.ReadString("liste", key, ""));
  EXPECT_EQ(ini.SectionLines("liste"), byKey);
  EXPECT_EQ(byKey.front(), "a=zitiert");
}

TEST(IniFile, WritesEntryByEntryAndErasesSections) {
  const std::string path = ScratchPath("write.ini");
  ASSERT_TRUE(WriteTextFile(path, "; Kommentar\r\n[alt]\r\nbleibt=1\r\n[leer]\r\n"));
  const IniFile ini(path);
  EXPECT_TRUE(ini.HasSection("LEER"));  // even without keys
  EXPECT_FALSE(ini.HasSection("neu"));
  EXPECT_TRUE(ini.WriteString("neu", "text", "mit Blanks"));
  EXPECT_TRUE(ini.WriteInteger("neu", "zahl", -12));
  EXPECT_TRUE(ini.WriteString("ALT", "bleibt", "2"));
  EXPECT_EQ(ini.SectionLines("alt"), (std::vector<std::string>{"bleibt=2"}));
  EXPECT_EQ(ini.ReadInteger("neu", "zahl", 0), -12);
  EXPECT_TRUE(ini.EraseSection("neu"));
  EXPECT_FALSE(ini.HasSection("neu"));
  EXPECT_TRUE(ini.HasSection("alt"));
  EXPECT_FALSE(IniFile(ScratchPath("fehlt\\x.ini")).WriteString("a", "b", "c"));  // no such folder
}

}  // namespace
