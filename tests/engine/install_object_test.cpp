#include "engine/install_object.h"

#include <gtest/gtest.h>

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
  for (int32_t counter : object.ArchiveCounters) EXPECT_EQ(counter, 0);

  char own[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  EXPECT_EQ(object.OwnPath, own);
  ASSERT_FALSE(object.OwnDir.empty());
  EXPECT_EQ(object.OwnDir.back(), '\\');
  EXPECT_EQ(object.OwnPath.rfind(object.OwnDir, 0), 0u);
  EXPECT_EQ(GetFileAttributesA(object.OwnShortPath) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(InstallObject, ReportReachesTheProcedureOnlyOnceSet) {
  TInstallObject object;
  object.Report(0, "lost", 1);  // no procedure yet: nothing happens
  ReportCollector collector;
  object.ReportProcedure = [&](uint8_t kind, const std::string& text, uint8_t flags) {
    collector.Receive(kind, text, flags);
  };
  object.Report(rkMessage, "Lese Installationsinfo...", rfLog | rfStatus);
  object.Report(rkFile, "c:\\q\\a.exe", 0);
  int reported = 0;
  double carry = object.AddProgress(reported, 2.5, 0.0);
  EXPECT_DOUBLE_EQ(carry, 0.5);
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
