// The install and completion initialisations on installer files, with their
// framing log lines, and the temporary files gone with the object.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "engine/run_options.h"
#include "support/paths.h"
#include "support/sealed_record.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

class RunInit : public ::testing::Test {
 protected:
  std::vector<std::string> log;  // outlives the object, which reports when it goes
  std::unique_ptr<TInstallObject> object = std::make_unique<TInstallObject>();
  std::string temp;

  void SetUp() override {
    object->ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t flags) {
      if (kind == rkMessage && (flags & rfLog)) log.push_back(text);
    };
    temp = FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    object->TmpDir = temp;
    object->WorkDir = temp + "~qlinst\\";
    object->IsAdmin = 1;
  }
  // The initialisation of the run mode, as the run session starts it.
  int Init(int runMode, const std::string& argument) {
    return object->DoInit(object->ReportProcedure, runMode, argument);
  }
  int Install(const std::string& container) {
    const std::string path = WindowsPath(std::string(ZQ_TEST_CONTAINERS) + "/" + container);
    std::strncpy(object->OwnShortPath, path.c_str(), sizeof object->OwnShortPath - 1);
    return Init(rmInstall, "");
  }
};

TEST_F(RunInit, InstallingWritesUnpacksAndReadsTheSettings) {
  ASSERT_EQ(Install("four.exe"), rcOk);
  ASSERT_GE(log.size(), 4u);
  EXPECT_TRUE(std::regex_match(log[0], std::regex(R"(\*{11} Installation \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d \*{11})")))
      << log[0];
  EXPECT_EQ(log[1], "Function: DoInitInstall  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (0)  IsAdmin (1)");
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.rfind("Time to write: ", 0) == 0; }),
            1);
  EXPECT_EQ(log.back(), "DoInitInstall: 0");
  const std::string work = temp + "~qlinst\\";
  EXPECT_EQ(object->TempFiles.front(), work + "zquninst.exe");
  EXPECT_EQ(object->TempFiles.back(), work + "UnzLib.dll");
  ASSERT_TRUE(object->Settings);
  EXPECT_EQ(object->ProductName, "Quotaline");

  // The working files go with the object; the folder itself is emptied.
  object.reset();
  EXPECT_FALSE(FileExists(work + "zquninst.exe"));
  EXPECT_FALSE(FileExists(work + "archiv0.zip"));
  EXPECT_FALSE(FolderExists(work + "teil1"));
}

TEST_F(RunInit, APayloadWithoutSettingsIsMinus27) {
  EXPECT_EQ(Install("hundred.exe"), rcNoSettings);
  EXPECT_EQ(log.back(), "DoInitInstall: -27");
  EXPECT_EQ(log[log.size() - 2],
            "Fehler:  Datei " + temp + "~qlinst\\uninst\\install.ini konnte nicht gefunden werden.");
}

TEST_F(RunInit, AnUpdateWithoutBaseInstallationIsMinus22) {
  EXPECT_EQ(Install("update.exe"), rcNeedBaseInstall);
  EXPECT_EQ(log.back(), "DoInitInstall: -22");
}

TEST_F(RunInit, AFailedPayloadStopsBeforeTheSettings) {
  EXPECT_EQ(Install("no_archive.exe"), rcReadArchive);
  EXPECT_EQ(log.back(), "DoInitInstall: -13");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Lese Installationsinfo..."), 0);
}

TEST_F(RunInit, CompletionReadsTheErrorRecord) {
  WriteTextFile(temp + "error_inst.ini", "[install]\r\nname=Produkt\r\n");
  EXPECT_EQ(Init(rmAutoInstall, temp + "error_inst.ini"), rcUntrustedRecord);
  EXPECT_EQ(log.back(), "DoInitAutoInstall: -32");
  ASSERT_TRUE(SealHandWrittenRecord(temp + "error_inst.ini"));
  log.clear();
  EXPECT_EQ(Init(rmAutoInstall, temp + "error_inst.ini"), rcOk);
  EXPECT_EQ(log[1], "Function: DoInitAutoInstall  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (0)  IsAdmin (1)");
  EXPECT_EQ(object->Settings->RegMachine, "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline");
  EXPECT_EQ(log.back(), "DoInitAutoInstall: 0");
  EXPECT_EQ(Init(rmAutoInstall, temp + "fehlt.ini"), rcNoSettings);
}

TEST_F(RunInit, DoInitDispatchesByRunMode) {
  const ReportProc report = object->ReportProcedure;
  object->ReportProcedure = nullptr;
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(object->DoInit(report, 0, ""), rcInitError);
  EXPECT_EQ(object->DoInit(report, 5, ""), rcInitError);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(GetLastError(), 0u);  // cleared first
  EXPECT_FALSE(object->Settings || object->Uninstall);

  EXPECT_EQ(object->DoInit(report, rmAutoInstall, temp + "fehlt.ini"), rcNoSettings);
  EXPECT_EQ(log.back(), "DoInitAutoInstall: -27");
  EXPECT_TRUE(object->Settings);
}

// Uninstalling and clearing up, against a record in an installation folder.
class RunInitRecord : public RunInit {
 protected:
  const std::string uninstallKey = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  const std::string runOnceKey = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  std::string installDir;
  std::string record;

  void SetUp() override {
    RunInit::SetUp();
    installDir = temp + "Quotaline\\";
    ForceFolders(installDir + "uninst");
    record = installDir + "uninst\\uninst.ini";
    WriteTextFile(record, "[Info]\r\nInstallPath=" + installDir +
                              "\r\nRegUser=HKEY_CURRENT_USER\\Software\\ZqInitTest\\ZqRecordProdukt\r\n"
                              "RegMachine=HKEY_LOCAL_MACHINE\\Software\\ZqInitTest\\ZqRecordProdukt\r\n"
                              "Name=ZqRecordProdukt\r\n");
    RegWriteString(uninstallKey + "\\ZqRecordProdukt", "DisplayName", "ZqRecordProdukt");
    RegWriteString(runOnceKey, "ZqRecordProdukt", "setup.exe -autoinstall:x");
    RegWriteString(runOnceKey, "ZqAndere", "bleibt.exe");
  }
  void TearDown() override {
    RegDeleteEntry(uninstallKey, "ZqRecordProdukt", true);
    RegDeleteEntry(runOnceKey, "ZqRecordProdukt", false);
    RegDeleteEntry(runOnceKey, "ZqAndere", false);
  }
  bool UninstallEntryExists() const {
    OpenKey key(OpenRegPath(uninstallKey + "\\ZqRecordProdukt", false, KEY_READ));
    return static_cast<bool>(key);
  }
  std::string RestartEntry() const {
    std::string value;
    RegReadString(runOnceKey, "ZqRecordProdukt", value);
    return value;
  }
};

TEST_F(RunInitRecord, AnAcceptedUninstallRecordKeepsTheEntries) {
  IniFile(record).WriteString("InstalledFiles", installDir + "a.exe", "installed");
  // Unsealed, the record is refused as a whole and nothing is touched.
  EXPECT_EQ(Init(rmUninstall, record), rcUntrustedRecord);
  EXPECT_EQ(log[2], "Fehler:  Die Datei " + record +
                        " wurde nicht von diesem Installationsprogramm geschrieben oder danach verändert und wird "
                        "nicht verwendet.");
  EXPECT_EQ(log.back(), "DoInitUninstall: -32");
  EXPECT_TRUE(UninstallEntryExists());
  EXPECT_EQ(RestartEntry(), "setup.exe -autoinstall:x");
  ASSERT_TRUE(SealHandWrittenRecord(record));
  IniFile(record).WriteString("InstalledFiles", installDir + "b.exe", "installed");  // changed after sealing
  EXPECT_EQ(Init(rmUninstall, record), rcUntrustedRecord);
  ASSERT_TRUE(SealHandWrittenRecord(record));
  log.clear();
  EXPECT_EQ(Init(rmUninstall, record), rcOk);
  EXPECT_TRUE(std::regex_match(log[0], std::regex(R"(\*{11} Deinstallation \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d \*{11})")))
      << log[0];
  EXPECT_EQ(log[1], "Function: DoInitUninstall  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (0)  IsAdmin (1)");
  EXPECT_EQ(log[2], "Lese Deinstallationsinfo...");
  EXPECT_EQ(log.back(), "DoInitUninstall: 0");
  ASSERT_TRUE(object->Uninstall);
  EXPECT_FALSE(object->Settings);
  EXPECT_TRUE(UninstallEntryExists());
  EXPECT_EQ(RestartEntry(), "setup.exe -autoinstall:x");
}

TEST_F(RunInitRecord, ARejectedUninstallRecordRemovesTheProductsEntries) {
  ASSERT_TRUE(SealHandWrittenRecord(record));
  EXPECT_EQ(Init(rmUninstall, record), rcNoUninstallData);  // no installed files
  EXPECT_EQ(log.back(), "DoInitUninstall: -31");
  EXPECT_FALSE(UninstallEntryExists());
  EXPECT_EQ(RestartEntry(), "");
  std::string other;
  EXPECT_TRUE(RegReadString(runOnceKey, "ZqAndere", other));
  EXPECT_EQ(other, "bleibt.exe");

  // A record without a name leaves every entry alone.
  RegWriteString(uninstallKey + "\\ZqRecordProdukt", "DisplayName", "ZqRecordProdukt");
  RegWriteString(runOnceKey, "ZqRecordProdukt", "setup.exe -autoinstall:x");
  object = std::make_unique<TInstallObject>();
  object->ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t flags) {
    if (kind == rkMessage && (flags & rfLog)) log.push_back(text);
  };
  EXPECT_EQ(Init(rmUninstall, temp + "fehlt.ini"), rcNoSettings);
  EXPECT_TRUE(UninstallEntryExists());
  EXPECT_EQ(RestartEntry(), "setup.exe -autoinstall:x");
}

TEST_F(RunInitRecord, ClearupReadsTheNamedRecordOrTheOneBesideTheProgram) {
  EXPECT_EQ(Init(rmClearup, "  " + record + " "), rcUntrustedRecord);
  ASSERT_TRUE(SealHandWrittenRecord(record));
  EXPECT_EQ(Init(rmClearup, "  " + record + " "), rcNoUninstallData);  // no folders yet
  EXPECT_EQ(log.back(), "DoInitClearup: -31");
  EXPECT_TRUE(UninstallEntryExists());  // only a rejected uninstallation forgets the product

  IniFile(record).WriteString("Directories", LowerAscii(installDir), "delete");
  ASSERT_TRUE(SealHandWrittenRecord(record));
  object->ClearupFolders.clear();
  object->OwnDir = installDir + "uninst\\";
  EXPECT_EQ(Init(rmClearup, ""), rcOk);
  EXPECT_TRUE(
      std::regex_match(log[log.size() - 4], std::regex(R"(\*{11} Clearup \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d \*{11})")));
  EXPECT_EQ(log[log.size() - 3],
            "Function: DoInitClearup  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (0)  IsAdmin (1)");
  EXPECT_EQ(log.back(), "DoInitClearup: 0");
  EXPECT_EQ(object->ClearupFolders.size(), 1u);
  EXPECT_EQ(object->ProductName, "ZqRecordProdukt");
}

}  // namespace
