#include "engine/log_file.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string ReadAll(const std::string& path) {
  std::string content;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    std::fclose(f);
  }
  return content;
}

TEST(LogFile, NamesFollowTheRunMode) {
  EXPECT_STREQ(LogFileName(rmInstall), "zqinstall.log");
  EXPECT_STREQ(LogFileName(rmAutoInstall), "zqinstall.log");
  EXPECT_STREQ(LogFileName(rmUninstall), "zquninstall.log");
  EXPECT_STREQ(LogFileName(rmClearup), "zquninstall.log");
}

TEST(LogFile, RecordFolderPrefersAnExistingUninstallFolder) {
  EXPECT_EQ(RecordFolder("C:\\Programme\\Q\\Uninst\\", true, "C:\\Temp\\"), "c:\\programme\\q\\uninst\\");
  EXPECT_EQ(RecordFolder("C:\\Programme\\Q\\Uninst\\", false, "C:\\WINDOWS"), "c:\\windows\\");
  EXPECT_EQ(RecordFolder("", false, "D:\\Setup\\"), "d:\\setup\\");
}

TEST(LogFile, NewFileHoldsTheLinesAloneAndLaterBlocksEndWithAnEmptyLine) {
  const std::string path = "zqinstall.log";
  std::remove(path.c_str());
  std::vector<std::string> first{"Banner", "Fehler:  Datei x konnte nicht gefunden werden."};
  ASSERT_TRUE(AppendLogFile(path, first));
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(ReadAll(path), "Banner\r\nFehler:  Datei x konnte nicht gefunden werden.\r\n");

  std::vector<std::string> second{"Zweiter Lauf \xE4\xF6\xFC"};
  ASSERT_TRUE(AppendLogFile(path, second));
  EXPECT_EQ(ReadAll(path),
            "Banner\r\nFehler:  Datei x konnte nicht gefunden werden.\r\nZweiter Lauf \xE4\xF6\xFC\r\n\r\n");

  const std::string before = ReadAll(path);
  std::vector<std::string> none;
  ASSERT_TRUE(AppendLogFile(path, none));
  EXPECT_EQ(ReadAll(path), before);
  std::remove(path.c_str());
}

TEST(LogFile, SpilledLinesComeFirstAndTheSpillGoesOnceWritten) {
  const std::string path = "spill_target.log";
  LogSpill spill{"zqlog.tmp", 0};
  std::remove(path.c_str());
  std::vector<std::string> lines{"eins", "zwei"};
  ASSERT_TRUE(SpillLogLines(spill, lines));
  EXPECT_TRUE(lines.empty());
  lines = {"drei"};
  ASSERT_TRUE(SpillLogLines(spill, lines));
  EXPECT_EQ(spill.Bytes, 18u);
  LogSpill nowhere{"no_such_folder/zqlog.tmp", 0};
  std::vector<std::string> kept{"x"};
  EXPECT_FALSE(SpillLogLines(nowhere, kept));
  EXPECT_EQ(kept.size(), 1u);

  // An unwritable log keeps both; a writable one gets the spill, then the lines.
  lines = {"vier"};
  EXPECT_FALSE(AppendLogFile("no_such_folder/zqinstall.log", lines, &spill));
  EXPECT_EQ(lines.size(), 1u);
  EXPECT_EQ(spill.Bytes, 18u);
  ASSERT_TRUE(AppendLogFile(path, lines, &spill));
  EXPECT_EQ(ReadAll(path), "eins\r\nzwei\r\ndrei\r\nvier\r\n");
  EXPECT_EQ(spill.Bytes, 0u);
  EXPECT_TRUE(ReadAll(spill.Path).empty()) << "the spill file is gone";
  // Spilled lines alone are a log too; an existing log ends the block with an empty line.
  lines = {"fünf"};
  ASSERT_TRUE(SpillLogLines(spill, lines));
  ASSERT_TRUE(AppendLogFile(path, lines, &spill));
  EXPECT_EQ(ReadAll(path), "eins\r\nzwei\r\ndrei\r\nvier\r\nfünf\r\n\r\n");
  std::remove(path.c_str());
}

TEST(LogFile, UnwritableLogKeepsTheLines) {
  std::vector<std::string> lines{"a", "b"};
  EXPECT_FALSE(AppendLogFile("no_such_folder/zqinstall.log", lines));
  EXPECT_EQ(lines.size(), 2u);
}

}  // namespace
