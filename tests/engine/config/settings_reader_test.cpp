// install.ini and error_inst.ini read against real files and the real registry.
#include "engine/config/settings_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "support/paths.h"
#include "support/sealed_record.h"
#include "sys/file_system.h"
#include "sys/registry.h"

namespace {

const char kMachineKey[] = "HKEY_LOCAL_MACHINE\\Software\\ZqSettingsTest\\Produkt";
const char kUserKey[] = "HKEY_CURRENT_USER\\Software\\ZqSettingsTest\\Produkt";

class SettingsReader : public ::testing::Test {
 protected:
  std::vector<std::string> log;  // outlives the object, which reports when it goes
  TInstallObject object;
  std::string folder;

  void SetUp() override {
    object.ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t flags) {
      if (kind == rkMessage && (flags & rfLog)) log.push_back(text);
    };
    object.Settings = std::make_unique<InstallSettings>();
    folder = FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ForceFolders(folder);
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqSettingsTest", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqSettingsTest", true);
  }
  void TearDown() override {
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqSettingsTest", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqSettingsTest", true);
  }
  int Read(const std::string& text, const std::string& name = "install.ini") {
    WriteTextFile(folder + name, text);
    return ReadInstallSettings(object, folder + name);
  }
  const InstallSettings& settings() const { return *object.Settings; }
  // Registers an installation in folder installDir with the base component.
  static void Register(const std::string& installDir) {
    RegWriteString(kMachineKey, "InstallPath", installDir);
    RegWriteString(kMachineKey, "InstallerVersion", "1.0.0.1234567");
    RegWriteString(std::string(kMachineKey) + "\\Components", "uninst", "01.12.2026 10:00:00");
    RegWriteString(kUserKey, "Benutzer", "x");
  }
};

TEST_F(SettingsReader, AMissingFileIsResultMinus27) {
  EXPECT_EQ(ReadInstallSettings(object, folder + "fehlt.ini"), rcNoSettings);
  EXPECT_EQ(log, (std::vector<std::string>{"Fehler:  Datei " + folder + "fehlt.ini konnte nicht gefunden werden."}));
}

TEST_F(SettingsReader, MissingKeysTakeTheirDefaults) {
  EXPECT_EQ(Read("[install]\r\n"), rcOk);
  EXPECT_EQ(object.ProductName, "Quotaline");
  EXPECT_EQ(object.OfferReboot, 1);
  EXPECT_EQ(settings().UninstTitle, "Quotaline Komponenten");
  EXPECT_FALSE(settings().Update);
  EXPECT_FALSE(settings().DeleteShared);
  EXPECT_EQ(settings().MinDiskSpace, 0);
  EXPECT_EQ(settings().RegUser, "HKEY_CURRENT_USER\\Software\\Quotaline");
  EXPECT_EQ(settings().RegMachine, "HKEY_LOCAL_MACHINE\\Software\\Quotaline");
  EXPECT_EQ(object.InstallDir, object.ProgramsDir + "Quotaline\\");
  EXPECT_EQ(object.UninstDir, object.InstallDir + "uninst\\");
  EXPECT_TRUE(settings().BaseMissing);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "Lese Installationsinfo...");
  EXPECT_EQ(log[1].rfind("dotNet ver: 1.1.4322  installed: ", 0), 0u) << log[1];
}

TEST_F(SettingsReader, ReadsEveryKeyAndSection) {
  EXPECT_EQ(Read("[install]\r\nupdate=0\r\nreboot=2\r\nname=\"Produkt\"\r\ndefaultDir=%programsdir%Zelo\\Produkt\r\n"
                 "MinDiskSpace=15\r\nRegRoot=ZqSettingsTest\r\nUninstTitle=Produkt Komponenten\r\nDeleteShared=1\r\n"
                 "[close]\r\nTProduktMain=Produkt\r\n[RunProg]\r\nC:\\x\\run.exe=/a=b\r\nC:\\x\\zwei.exe=\r\n"
                 "[RunProgWait]\r\nC:\\x\\warte.exe=\r\n[groups]\r\n1=Zelo\r\n2=Zelo\\Produkt\r\n"
                 "[links]\r\n%menudir%Produkt=%installdir%produkt.exe\r\n"),
            rcOk);
  EXPECT_EQ(object.ProductName, "Produkt");  // the quotes go, as the system reads them
  EXPECT_EQ(object.OfferReboot, 0);
  EXPECT_EQ(settings().MinDiskSpace, 15);
  EXPECT_TRUE(settings().DeleteShared);
  EXPECT_EQ(settings().UninstTitle, "Produkt Komponenten");
  EXPECT_EQ(settings().RegUser, kUserKey);
  EXPECT_EQ(settings().RegMachine, kMachineKey);
  EXPECT_EQ(object.InstallDir, object.ProgramsDir + "Zelo\\Produkt\\");
  EXPECT_EQ(object.CloseList, (std::vector<std::string>{"TProduktMain=Produkt"}));
  EXPECT_EQ(settings().RunProg, "C:\\x\\run.exe=/a b");  // split at the last equals sign
  EXPECT_EQ(settings().RunProgWait, "C:\\x\\warte.exe");
  EXPECT_EQ(settings().Groups, (std::vector<std::string>{"1=Zelo", "2=Zelo\\Produkt"}));
  EXPECT_EQ(settings().Links, (std::vector<std::string>{"%menudir%Produkt=%installdir%produkt.exe"}));
}

TEST_F(SettingsReader, OnlyExactlyOneIsAnUpdate) {
  for (const char* value : {"true", "01", " 2"}) {
    EXPECT_EQ(Read(std::string("[install]\r\nupdate=") + value + "\r\n"), rcOk) << value;
    EXPECT_FALSE(settings().Update) << value;
  }
  EXPECT_EQ(Read("[install]\r\nupdate=1\r\n"), rcNeedBaseInstall);
  EXPECT_TRUE(settings().Update);
}

TEST_F(SettingsReader, ARegisteredInstallationIsFoundWithItsSharedFiles) {
  const std::string installed = folder + "Produkt\\";
  ForceFolders(installed + "uninst");
  WriteTextFile(installed + "uninst\\uninst.ini", "[CommonFiles]\r\nc:\\gemeinsam\\a.dll=installed\r\n");
  Register(installed);
  // Unsealed, the record says nothing.
  EXPECT_EQ(Read("[install]\r\nupdate=1\r\nname=Produkt\r\nRegRoot=ZqSettingsTest\r\n"), rcOk);
  EXPECT_TRUE(settings().CommonFiles.empty());
  ASSERT_TRUE(SealHandWrittenRecord(installed + "uninst\\uninst.ini"));
  EXPECT_EQ(Read("[install]\r\nupdate=1\r\nname=Produkt\r\nRegRoot=ZqSettingsTest\r\n"), rcOk);
  EXPECT_FALSE(settings().BaseMissing);
  EXPECT_EQ(object.InstallDir, installed);
  EXPECT_EQ(settings().InstallerVersion, "1.0.0.123");  // cut to 9 characters
  EXPECT_EQ(settings().CommonFiles, (std::vector<std::string>{"c:\\gemeinsam\\a.dll=installed"}));
}

TEST_F(SettingsReader, AStaleRegistrationIsForgotten) {
  Register(folder + "geloescht\\");
  EXPECT_EQ(Read("[install]\r\nupdate=1\r\nname=Produkt\r\nRegRoot=ZqSettingsTest\r\n"
                 "defaultDir=%tempdir%Neu\\\r\n"),
            rcNeedBaseInstall);
  EXPECT_TRUE(settings().BaseMissing);
  EXPECT_EQ(object.InstallDir, object.TmpDir + "Neu\\");
  std::vector<std::string> names;
  bool hasEntries = false;
  EXPECT_FALSE(RegKeyHasEntries(kMachineKey, names, hasEntries, false));
  EXPECT_FALSE(RegKeyHasEntries(kUserKey, names, hasEntries, false));
}

TEST_F(SettingsReader, AnErrorRecordNamesItsKeysInItsInfoSection) {
  EXPECT_EQ(Read("[install]\r\nRegRoot=Anders\r\n", "error_inst.ini"), rcOk);
  EXPECT_EQ(settings().RegUser, "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline");
  EXPECT_EQ(settings().RegMachine, "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline");
  EXPECT_EQ(
      Read("[info]\r\nRegUser=" + std::string(kUserKey) + "\r\nRegMachine=" + kMachineKey + "\r\n", "ERROR_INST.INI"),
      rcOk);
  EXPECT_EQ(settings().RegMachine, kMachineKey);
}

}  // namespace
