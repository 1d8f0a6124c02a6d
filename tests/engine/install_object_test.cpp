#include "engine/install_object.h"

#include <gtest/gtest.h>

#include "engine/config/component_reader.h"
#include "engine/report_collector.h"

namespace {

TEST(InstallObject, StartsWithTheDefaultsAndItsOwnPath) {
  TInstallObject object;
  EXPECT_EQ(object.OfferReboot, 1);
  EXPECT_EQ(object.AutoRun, 0);
  EXPECT_EQ(object.Invisible, 0);
  EXPECT_EQ(object.IsNT, 0);
  EXPECT_FALSE(object.Settings);
  EXPECT_FALSE(object.Uninstall);
  EXPECT_TRUE(object.ProductName.empty());
  EXPECT_EQ(object.Counters.FilesStarted, 0);
  EXPECT_EQ(object.Counters.ByteTotal, 0);

  char own[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  EXPECT_EQ(object.OwnPath, own);
  ASSERT_FALSE(object.OwnDir.empty());
  EXPECT_EQ(object.OwnDir.back(), '\\');
  EXPECT_EQ(object.OwnPath.rfind(object.OwnDir, 0), 0u);
  EXPECT_EQ(GetFileAttributesA(object.OwnShortPath) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(InstallObject, ReportReachesTheProcedureOnlyOnceSet) {
  ReportCollector collector;  // outlives the object, which reports when it goes
  TInstallObject object;
  object.Report(0, "lost", 1);  // no procedure yet: nothing happens
  object.ReportProcedure = [&](uint8_t kind, const std::string& text, uint8_t flags) {
    collector.Receive(kind, text, flags);
  };
  object.Report(rkMessage, "Lese Installationsinfo...", rfLog | rfStatus);
  object.Report(rkFile, "c:\\q\\a.exe", 0);
  object.Report(rkProgress, "2", 0);
  EXPECT_EQ(collector.LogLines(), std::vector<std::string>{"Lese Installationsinfo..."});
  EXPECT_EQ(collector.RecordLines(), std::vector<std::string>{"InstalledFiles|c:\\q\\a.exe|installed"});
  EXPECT_EQ(collector.ProgressPosition(), 2);
}

TEST(InstallObject, AccessorsReadWhicheverRecordExists) {
  TInstallObject object;
  EXPECT_FALSE(object.DeleteShared());
  EXPECT_EQ(object.RegMachine(), "");
  EXPECT_EQ(object.RegUser(), "");

  object.Uninstall.reset(new UninstallData);
  object.Uninstall->DeleteShared = true;
  object.Uninstall->RegMachine = "HKEY_LOCAL_MACHINE\\Software\\U";
  object.Uninstall->RegUser = "HKEY_CURRENT_USER\\Software\\U";
  EXPECT_TRUE(object.DeleteShared());
  EXPECT_FALSE(object.Update());
  EXPECT_EQ(object.RegMachine(), "HKEY_LOCAL_MACHINE\\Software\\U");

  object.Settings.reset(new InstallSettings);
  object.Settings->Update = true;
  object.Settings->BaseMissing = true;
  object.Settings->RegUser = "HKEY_CURRENT_USER\\Software\\S";
  EXPECT_FALSE(object.DeleteShared());  // the settings come first
  EXPECT_TRUE(object.Update());
  EXPECT_TRUE(object.BaseMissing());
  EXPECT_EQ(object.RegUser(), "HKEY_CURRENT_USER\\Software\\S");
}

TEST(InstallObject, ClearupFoldersAreSortedWithoutDuplicates) {
  TInstallObject object;
  object.ClearupFolders.insert("c:\\q\\b\\");
  object.ClearupFolders.insert("C:\\Q\\A\\");
  object.ClearupFolders.insert("c:\\q\\a\\");
  ASSERT_EQ(object.ClearupFolders.size(), 2u);
  EXPECT_EQ(*object.ClearupFolders.begin(), "C:\\Q\\A\\");
}

}  // namespace

namespace {

TEST(InstallObject, FolderVariablesAndTheirPlaceholders) {
  TInstallObject object;
  const std::vector<std::string> expected = {"%windir%=" + object.WinDir,
                                             "%systemdir%=" + object.SystemDir,
                                             "%tempdir%=" + object.TmpDir,
                                             "%menudir%=" + object.MenuDir,
                                             "%desktopdir%=" + object.DesktopDir,
                                             "%programsdir%=" + object.ProgramsDir,
                                             "%commonfilesdir%=" + object.CommonFilesDir,
                                             "%allusersappdir%=" + object.AllUsersAppDir,
                                             "%allusersdir%=" + object.AllUsersDir};
  EXPECT_EQ(object.PlaceholderTable, expected);
  for (const std::string* folder :
       {&object.WinDir, &object.SystemDir, &object.TmpDir, &object.MenuDir, &object.DesktopDir, &object.ProgramsDir,
        &object.CommonFilesDir, &object.AllUsersAppDir, &object.AllUsersDir}) {
    ASSERT_FALSE(folder->empty());
    EXPECT_EQ(folder->back(), '\\');
  }
  EXPECT_EQ(object.ExpandPlaceholders(" %SystemDir%\\zqx.dll "), object.SystemDir + "zqx.dll");
}

TEST(InstallObject, DescriptorSectionsComeInTheLocalesTextOrder) {
  TInstallObject object;
  object.Settings.reset(new InstallSettings);
  object.Settings->RegUser = "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline";
  std::vector<std::string> register_;
  for (int key = 12; key >= 1; --key)
    register_.push_back(std::to_string(key) + "=%thisDir%c" + std::to_string(key) + ".dll");
  ExpandComponentSection(object, register_, "C:\\tmp\\~qlinst\\comp", LineExpansion::Folders);
  std::vector<std::string> keys;
  for (const std::string& line : register_) keys.push_back(line.substr(0, line.find('=')));
  EXPECT_EQ(keys, (std::vector<std::string>{"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(register_[0], "1=C:\\tmp\\~qlinst\\comp\\c1.dll");

  std::vector<std::string> registry = {"%userReg%\\Optionen\\b=2", "%USERREG%\\Optionen\\A=1"};
  ExpandComponentSection(object, registry, "C:\\tmp\\~qlinst\\comp\\", LineExpansion::FoldersAndProductKeys);
  EXPECT_EQ(registry, (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline\\Optionen\\A=1",
                                                "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline\\Optionen\\b=2"}));
}

}  // namespace
