#include "engine/report_collector.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/report.h"

namespace {

using Lines = std::vector<std::string>;

TEST(ReportCollector, MessagesGoToLogAndStatusByFlag) {
  ReportCollector c;
  c.Receive(rkMessage, "nur Log", rfLog);
  c.Receive(rkMessage, "nur Status", rfStatus);
  c.Receive(rkMessage, "beides...", rfLog | rfStatus);
  c.Receive(rkMessage, "nirgends", 0);
  c.Receive(rkMessage, "", rfLog);  // an empty message is still a log line
  EXPECT_EQ(c.LogLines(), (Lines{"nur Log", "beides...", ""}));
  EXPECT_EQ(c.StatusText(), "beides...");
  EXPECT_EQ(c.StatusCount(), 2);
  EXPECT_TRUE(c.RecordLines().empty());
}

TEST(ReportCollector, ALongLogIsSpilledAndWrittenWholeInOrder) {
  const std::string spill = "collector_spill.tmp", log = "collector.log";
  std::remove(log.c_str());
  ReportCollector c;
  c.SpillLogTo(spill);
  std::string expected;
  for (int n = 0; n < 600; ++n) {
    c.Receive(rkMessage, "Zeile " + std::to_string(n), rfLog);
    expected += "Zeile " + std::to_string(n) + "\r\n";
  }
  EXPECT_LT(c.LogLines().size(), 256u);
  ASSERT_TRUE(c.WriteLog(log));
  std::string written;
  if (FILE* f = std::fopen(log.c_str(), "rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) written.append(buffer, n);
    std::fclose(f);
  }
  EXPECT_EQ(written, expected);
  for (int n = 0; n < 300; ++n) c.Receive(rkMessage, "danach", rfLog);
  c.DiscardLog();
  EXPECT_TRUE(c.LogLines().empty());
  EXPECT_EQ(std::fopen(spill.c_str(), "rb"), nullptr) << "a discarded log leaves no spill file";
  std::remove(log.c_str());
}

TEST(ReportCollector, RecordItemsBecomeRecordLines) {
  ReportCollector c;
  c.Receive(rkFile, "c:\\q\\a.exe", 0);
  c.Receive(rkRegistry, "HKEY_CURRENT_USER\\Software\\Q\\Name", 0);
  c.Receive(rkCom, "c:\\q\\s.dll", 0);
  c.Receive(rkCommonFile, "c:\\w\\m.dll", 0);
  c.Receive(rkLink, "c:\\menu\\Q|c:\\q\\a.exe", 0);
  c.Receive(rkGroup, "Quotaline", 0);
  c.Receive(rkDirectory, "c:\\q\\", 0);
  c.Receive(rkDotNet, "c:\\q\\n.dll", 0);
  c.Receive(rkCreatedFolder, "c:\\q\\", 0);
  EXPECT_EQ(c.RecordLines(),
            (Lines{"InstalledFiles|c:\\q\\a.exe|installed", "Registry|HKEY_CURRENT_USER\\Software\\Q\\Name|inserted",
                   "COM|c:\\q\\s.dll|registered", "CommonFiles|c:\\w\\m.dll|installed",
                   "Links|c:\\menu\\Q|c:\\q\\a.exe", "Groups|Quotaline|created", "Directories|c:\\q\\|delete",
                   "dotNET|c:\\q\\n.dll|registered", "Folders|c:\\q\\|created"}));
  EXPECT_TRUE(c.ErrorLines().empty());
  EXPECT_TRUE(c.LogLines().empty());
}

TEST(ReportCollector, ErrorItemsAreKeptUnchanged) {
  ReportCollector c;
  for (uint8_t kind : {rkErrorCopy, rkErrorRegistry, rkErrorCom, rkErrorCommon, rkErrorDotNetReg, rkErrorDotNetInst})
    c.Receive(kind, " item " + std::to_string(kind), 0);
  EXPECT_EQ(c.ErrorLines(), (Lines{" item 8", " item 9", " item 10", " item 11", " item 15", " item 16"}));
  EXPECT_TRUE(c.RecordLines().empty());
}

TEST(ReportCollector, BlankTextsAndOtherKindsChangeNothing) {
  ReportCollector c;
  for (uint8_t kind = 1; kind <= rkCreatedKey; ++kind) c.Receive(kind, " \t ", 0);
  c.Receive(rkGlobalCache, "c:\\q\\n.dll", 0);
  c.Receive(rkCreatedKey + 1, "c:\\x", 0);
  c.Receive(255, "c:\\x", rfLog);
  EXPECT_TRUE(c.RecordLines().empty());
  EXPECT_TRUE(c.ErrorLines().empty());
  EXPECT_TRUE(c.LogLines().empty());
  EXPECT_EQ(c.ProgressPosition(), 0);
}

TEST(ReportCollector, ProgressAddsValidNumbersAndStopsAtTheTop) {
  ReportCollector c;
  c.Receive(rkProgress, "30", 0);
  c.Receive(rkProgress, "-5", 0);
  c.Receive(rkProgress, "zehn", 0);
  c.Receive(rkProgress, "12abc", 0);
  c.Receive(rkProgress, "99999999999999999999", 0);
  EXPECT_EQ(c.ProgressPosition(), 30);
  c.Receive(rkProgress, " 20 ", 0);
  EXPECT_EQ(c.ProgressPosition(), 50);
  c.Receive(rkProgress, "55", 0);
  EXPECT_EQ(c.ProgressPosition(), 100);
  c.Receive(rkProgress, "2147483647", 0);
  EXPECT_EQ(c.ProgressPosition(), 100);
}

TEST(ReportCollector, PumpsBeforeAndAfterEachReport) {
  int pumps = 0;
  size_t linesSeenAtPump = 0;
  ReportCollector* self = nullptr;
  ReportCollector c([&] {
    ++pumps;
    linesSeenAtPump = self->LogLines().size();
  });
  self = &c;
  c.Receive(rkMessage, "a", rfLog);
  EXPECT_EQ(pumps, 2);
  EXPECT_EQ(linesSeenAtPump, 1u);
  c.Receive(rkGlobalCache, "ignored", 0);
  EXPECT_EQ(pumps, 4);
}

}  // namespace
