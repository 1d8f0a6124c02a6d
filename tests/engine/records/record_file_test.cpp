// Writing the uninstall and error records into real INI files, merged into
// what earlier runs left, and the end-of-run step with the log.
#include "engine/records/record_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "engine/records/record_seal.h"
#include "engine/report.h"
#include "engine/report_collector.h"
#include "support/paths.h"
#include "support/sealed_record.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

const RecordInfo kInfo{"C:\\Programme\\Quotaline\\",
                       "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline",
                       "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline",
                       "1.0.0.7",
                       "Quotaline",
                       false,
                       "",
                       {}};

std::string Folder() { return FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()); }

// The run's working folder, where the records are written through their copies.
std::string Work() {
  static const std::string folder = FreshScratchFolder("RecordFileWork");
  return folder;
}

TEST(RecordFile, MergesIntoAnEarlierRecord) {
  const std::string path = Folder() + "uninst.ini";
  ASSERT_TRUE(WriteTextFile(path,
                            "[Info]\r\nName=Alt\r\nVersion=0.9.0.0\r\n"
                            "[InstalledFiles]\r\nc:\\q\\alt.exe=installed\r\n"
                            "[Directories]\r\nc:\\q\\=delete\r\n"));
  ASSERT_TRUE(SealHandWrittenRecord(path));
  std::vector<std::string> items = {"InstalledFiles|c:\\q\\neu.exe|installed", "COM|c:\\q\\b.dll|registered",
                                    "InstalledFiles|C:\\Q\\ALT.EXE|installed", "kaputt"};
  std::vector<std::string> log;
  WriteRecordFile(path, Work(), items, kInfo, log);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(log, (std::vector<std::string>{"Fehler:  Install Info (kaputt)"}));

  const IniFile record(path);
  EXPECT_EQ(record.Keys("InstalledFiles"), (std::vector<std::string>{"c:\\q\\alt.exe", "c:\\q\\neu.exe"}));
  EXPECT_EQ(record.SectionLines("COM"), (std::vector<std::string>{"c:\\q\\b.dll=registered"}));
  EXPECT_EQ(record.Keys("Directories"), (std::vector<std::string>{"c:\\q\\"}));
  EXPECT_EQ(record.SectionLines("Info"), (std::vector<std::string>{
                                             "Name=Quotaline",
                                             "Version=1.0.0.7",
                                             "InstallPath=C:\\Programme\\Quotaline\\",
                                             "RegUser=HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline",
                                             "RegMachine=HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline",
                                             "DeleteShared=0",
                                         }));
}

TEST(RecordFile, ARecordTheInstallerDidNotWriteIsWrittenAnewAndSealed) {
  const std::string path = Folder() + "uninst.ini";
  ASSERT_TRUE(WriteTextFile(path, "[InstalledFiles]\r\nc:\\windows\\win.ini=installed\r\n"));
  std::vector<std::string> items = {"InstalledFiles|c:\\q\\neu.exe|installed"}, log;
  WriteRecordFile(path, Work(), items, kInfo, log);
  EXPECT_EQ(log, (std::vector<std::string>{"Warnung: Die Datei " + path +
                                           " wurde nicht von diesem Installationsprogramm geschrieben und wird neu "
                                           "geschrieben."}));
  EXPECT_EQ(IniFile(path).Keys("InstalledFiles"), (std::vector<std::string>{"c:\\q\\neu.exe"}));
  EXPECT_TRUE(RecordSealed(path));
  // The seal is the file's SHA-256, under the record's path in one spelling.
  std::string sealed;
  ASSERT_TRUE(RegReadString(kRecordSealKey, LowerAscii(path), sealed));
  EXPECT_EQ(sealed.size(), 64u);
  ASSERT_TRUE(WriteTextFile(path, "abc"));
  EXPECT_FALSE(RecordSealed(path));
  ASSERT_TRUE(SealHandWrittenRecord(path));
  ASSERT_TRUE(RegReadString(kRecordSealKey, LowerAscii(path), sealed));
  EXPECT_EQ(sealed, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  ForgetRecordSeal(path);
  EXPECT_FALSE(RegReadString(kRecordSealKey, LowerAscii(path), sealed) && !sealed.empty());
}

// A record that cannot be replaced (held open by another program) stays as
// it was, with its seal, and the log says so; nothing is left beside it.
TEST(RecordFile, ARecordIsReplacedWholeOrNotAtAll) {
  const std::string folder = Folder(), path = folder + "uninst.ini";
  std::vector<std::string> items = {"InstalledFiles|c:\\q\\alt.exe|installed"}, log;
  WriteRecordFile(path, Work(), items, kInfo, log);
  const std::string before = ReadTextFile(path);
  ASSERT_TRUE(RecordSealed(path));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  items = {"InstalledFiles|c:\\q\\neu.exe|installed"};
  WriteRecordFile(path, Work(), items, kInfo, log);
  CloseHandle(held);
  EXPECT_EQ(ReadTextFile(path), before);
  EXPECT_TRUE(RecordSealed(path));
  EXPECT_EQ(log, (std::vector<std::string>{"Fehler:  Datei " + path +
                                           " konnte nicht geschrieben werden; die bisherige bleibt unverändert."}));
  EXPECT_FALSE(FileExists(path + ".neu"));
  std::vector<std::string> left;
  FindFiles(left, Work(), "*", true, true);
  EXPECT_EQ(left, std::vector<std::string>{});  // no record copy either
}

TEST(RecordFile, NoItemsLeaveTheFileAlone) {
  const std::string folder = Folder();
  const std::string text = "[Info]\r\nName=Alt\r\n";
  ASSERT_TRUE(WriteTextFile(folder + "uninst.ini", text));
  std::vector<std::string> none, log;
  WriteRecordFile(folder + "uninst.ini", Work(), none, kInfo, log);
  WriteRecordFile(folder + "error_inst.ini", Work(), none, kInfo, log);
  EXPECT_EQ(ReadTextFile(folder + "uninst.ini"), text);
  EXPECT_FALSE(FileExists(folder + "error_inst.ini"));
  EXPECT_TRUE(log.empty());
}

TEST(RecordFile, ErrorRecordNumbersItsSectionsInPathOrder) {
  const std::string path = Folder() + "error_inst.ini";
  std::vector<std::string> items = {
      "error_com|~|c:\\q\\c.dll",        "error_com|~|c:\\q\\a.dll",
      "error_com|~|c:\\q\\b.dll",        "copy|c:\\q\\x.exe~|c:\\q\\x.exe",
      "error_dotnet_reg|~|c:\\q\\n.dll", "Registry|HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline\\viewer\\NeedReboot|@",
  };
  std::vector<std::string> log;
  WriteRecordFile(path, Work(), items, kInfo, log);
  const IniFile record(path);
  EXPECT_EQ(record.SectionLines("register"),
            (std::vector<std::string>{"1=c:\\q\\a.dll", "2=c:\\q\\b.dll", "3=c:\\q\\c.dll"}));
  EXPECT_EQ(record.SectionLines("copy"), (std::vector<std::string>{"c:\\q\\x.exe~=c:\\q\\x.exe"}));
  EXPECT_EQ(record.SectionLines("dotnetregister"), (std::vector<std::string>{"1=c:\\q\\n.dll"}));
  EXPECT_EQ(record.ReadString("component", "dotNetVer", ""), "1.1.4322");
  EXPECT_EQ(record.SectionLines("registry"),
            (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline\\viewer\\NeedReboot=@"}));
  EXPECT_EQ(record.ReadString("Info", "RegMachine", ""), kInfo.RegMachine);
}

TEST(RecordFile, SaveRecordsWritesBesideTheRecordsAndAppendsTheLog) {
  const std::string folder = Folder();
  const std::string uninstDir = folder + "Quotaline\\Uninst\\";
  ASSERT_TRUE(ForceFolders(uninstDir));
  ReportCollector lists;
  lists.Receive(rkFile, "c:\\q\\x.exe", 0);
  lists.Receive(rkErrorCom, "error_com|~|c:\\q\\a.dll", 0);
  lists.Receive(rkMessage, "erste Zeile", rfLog);
  lists.Receive(rkMessage, "zweite Zeile", rfLog);

  // Installing: both records and zqinstall.log in the (lower-cased) uninstall folder.
  const std::string lower = LowerAscii(uninstDir);
  EXPECT_EQ(SaveRecords(lists, kInfo, uninstDir, folder, Work(), rmInstall), lower + "zqinstall.log");
  EXPECT_EQ(IniFile(lower + "uninst.ini").Keys("InstalledFiles"), (std::vector<std::string>{"c:\\q\\x.exe"}));
  EXPECT_EQ(IniFile(lower + "error_inst.ini").SectionLines("register"), (std::vector<std::string>{"1=c:\\q\\a.dll"}));
  EXPECT_EQ(ReadTextFile(lower + "zqinstall.log"), "erste Zeile\r\nzweite Zeile\r\n");
  EXPECT_TRUE(lists.LogLines().empty());

  // Uninstalling, the uninstall folder gone: uninst.ini and the log beside the
  // program; the error lines are not written there.
  lists.Receive(rkDirectory, "c:\\q\\", 0);
  lists.Receive(rkErrorCom, "error_com|~|c:\\q\\b.dll", 0);
  lists.Receive(rkMessage, "dritte Zeile", rfLog);
  const std::string own = folder + "Windows\\";
  ASSERT_TRUE(ForceFolders(own));
  EXPECT_EQ(SaveRecords(lists, kInfo, folder + "fehlt\\", own, Work(), rmUninstall),
            LowerAscii(own) + "zquninstall.log");
  EXPECT_EQ(IniFile(own + "uninst.ini").Keys("Directories"), (std::vector<std::string>{"c:\\q\\"}));
  EXPECT_FALSE(FileExists(own + "error_inst.ini"));
  EXPECT_EQ(ReadTextFile(own + "zquninstall.log"), "dritte Zeile\r\n");

  // A second block is appended after an empty line.
  lists.Receive(rkMessage, "vierte Zeile", rfLog);
  SaveRecords(lists, kInfo, "", own, Work(), rmClearup);
  EXPECT_EQ(ReadTextFile(own + "zquninstall.log"), "dritte Zeile\r\nvierte Zeile\r\n\r\n");
}

}  // namespace
