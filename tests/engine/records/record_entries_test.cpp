// The [Info] block and the record sections made from sorted items.
#include "engine/records/record_entries.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const RecordEntry& entry) { return "[" + entry.Section + "] " + entry.Key + "=" + entry.Value; }

std::vector<std::string> Texts(const std::vector<RecordEntry>& entries) {
  std::vector<std::string> texts;
  for (const RecordEntry& entry : entries) texts.push_back(Text(entry));
  return texts;
}

// The entries of the items, which ItemEntries uses up.
std::vector<RecordEntry> EntriesOf(std::vector<std::string> items, std::vector<std::string>& rejected) {
  std::vector<RecordEntry> entries = ItemEntries(items, rejected);
  EXPECT_TRUE(items.empty());
  return entries;
}

TEST(RecordEntries, InfoBlockInItsOrder) {
  RecordInfo info{"C:\\Programme\\Quotaline\\",
                  "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline",
                  "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline",
                  "1.2.3.4",
                  "Quotaline",
                  true,
                  "",
                  {}};
  EXPECT_EQ(Texts(InfoEntries(info)), (std::vector<std::string>{
                                          "[Info] InstallPath=C:\\Programme\\Quotaline\\",
                                          "[Info] RegUser=HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline",
                                          "[Info] RegMachine=HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline",
                                          "[Info] Version=1.2.3.4",
                                          "[Info] Name=Quotaline",
                                          "[Info] DeleteShared=1",
                                      }));
  info.DeleteShared = false;
  EXPECT_EQ(Text(InfoEntries(info).back()), "[Info] DeleteShared=0");
  EXPECT_TRUE(CloseEntries(info).empty());
  // An installation's facts from install.ini that the uninstallation needs.
  info.DotNetVersion = "4.0.30319";
  info.CloseList = {"TViewer=Quotaline Viewer", "TMain=", "Ohne Titel"};
  EXPECT_EQ(Text(InfoEntries(info).back()), "[Info] CheckDotNet=4.0.30319");
  EXPECT_EQ(Texts(CloseEntries(info)),
            (std::vector<std::string>{"[Close] TViewer=Quotaline Viewer", "[Close] TMain=", "[Close] Ohne Titel="}));
}

TEST(RecordEntries, RecordItemsSplitAtTheirLastBars) {
  std::vector<std::string> rejected;
  const std::vector<RecordEntry> entries = EntriesOf(
      {
          "COM|c:\\q\\a.dll|registered",
          "InstalledFiles|c:\\q\\x.exe|installed",
          "Links|c:\\menu\\Quotaline\\Viewer|c:\\q\\viewer.exe",
          "Registry|HKEY_CURRENT_USER\\Software\\Q\\Wert|inserted",
          " Groups| Quotaline |created ",
          "copy|c:\\q\\in use.dll~|c:\\q\\in use.dll",
      },
      rejected);
  EXPECT_EQ(Texts(entries), (std::vector<std::string>{
                                "[COM] c:\\q\\a.dll=registered",
                                "[InstalledFiles] c:\\q\\x.exe=installed",
                                "[Links] c:\\menu\\Quotaline\\Viewer=c:\\q\\viewer.exe",
                                "[Registry] HKEY_CURRENT_USER\\Software\\Q\\Wert=inserted",
                                "[Groups]  Quotaline=created",
                                "[copy] c:\\q\\in use.dll~=c:\\q\\in use.dll",
                            }));
  EXPECT_TRUE(rejected.empty());
}

TEST(RecordEntries, DeferredItemsAreNumberedPerSection) {
  std::vector<std::string> rejected;
  const std::vector<RecordEntry> entries = EntriesOf(
      {
          "error_com|~|a.dll",
          "ERROR_COM|~|b.dll",
          "error_common|~|s.dll",
          "error_dotnet_inst|~|n.dll",
          "error_dotnet_reg|~|m.dll",
          "error_dotnet_reg|~|o.dll",
          "error_com|~|c.dll",
      },
      rejected);
  EXPECT_EQ(Texts(entries), (std::vector<std::string>{
                                "[register] 1=a.dll",
                                "[register] 2=b.dll",
                                "[shared] 1=s.dll",
                                "[component] dotNetVer=1.1.4322",
                                "[dotnetinstall] 1=n.dll",
                                "[component] dotNetVer=1.1.4322",
                                "[dotnetregister] 1=m.dll",
                                "[component] dotNetVer=1.1.4322",
                                "[dotnetregister] 2=o.dll",
                                "[register] 3=c.dll",
                            }));
  EXPECT_TRUE(rejected.empty());
}

TEST(RecordEntries, ItemsWithoutSectionOrKeyAreRejected) {
  std::vector<std::string> rejected;
  const std::vector<RecordEntry> entries =
      EntriesOf({"nur text", "|key|value", "Registry|wert|", "a|b", "Groups|Quotaline|created"}, rejected);
  EXPECT_EQ(Texts(entries), (std::vector<std::string>{"[Groups] Quotaline=created"}));
  EXPECT_EQ(rejected, (std::vector<std::string>{"nur text", "|key|value", "Registry|wert|", "a|b"}));
}

}  // namespace
