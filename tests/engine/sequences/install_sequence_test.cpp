// The installation's checks and its outcome: what happens before anything
// changes, and what a failed installation leaves in the product's key.
#include <gtest/gtest.h>

#include "engine/actions/action_test.h"
#include "engine/actions/uninstaller_copy.h"
#include "engine/result_codes.h"
#include "support/running_window.h"
#include "support/sealed_record.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"

namespace {

const std::string kMachine = "HKEY_LOCAL_MACHINE\\Software\\ZqSequenceTest\\Quotaline";

class InstallSequence : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    InstallSettings& settings = Install();
    settings.RegMachine = kMachine;
    settings.RegUser = "HKEY_CURRENT_USER\\Software\\ZqSequenceTest\\Quotaline";
    settings.BaseMissing = true;
  }
  void TearDown() override { RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqSequenceTest", true); }
};

TEST_F(InstallSequence, FailuresBeforeAnyChangeAndTheOutcomeOfAFailedInstallation) {
  bool restart = true;
  // A missing folder, or too little space for a new installation: nothing is touched.
  EXPECT_EQ(object->DoInstall(folder + "fehlt", restart), rcFolderMissing);
  EXPECT_TRUE(log.empty());
  // A folder without a drive letter has no free space that can be told.
  object->Settings->MinDiskSpace = 1;
  EXPECT_EQ(object->DoInstall("\\\\?\\" + folder, restart), rcDiskSpace);
  EXPECT_EQ(log, (std::vector<std::string>{
                     "Auf dem Ziellaufwerk (\\:) müssen mindestens 1 MB freier Speicherplatz verfügbar sein."}));
  std::string info;
  EXPECT_FALSE(RegReadString(kMachine, "InstallInfo", info) && !info.empty());
  EXPECT_FALSE(restart);

  // A program that does not close ends the run; the failure is kept in the product's key.
  object->Settings->MinDiskSpace = 0;
  RunningWindow running("ZqSequenzNie", "Bleibt", 0, folder + "nie.txt");
  object->CloseList = {"ZqSequenzNie=Bleibt"};
  ForceFolders(folder + "Ziel");
  log.clear();
  progress = 0;
  EXPECT_EQ(object->DoInstall(folder + "Ziel", restart), rcProgramStillRunning);
  EXPECT_EQ(log.front().rfind("Installiere... ", 0), 0u);
  EXPECT_EQ(log.back(), "Schreibe Registry:  " + kMachine + "\\InstallInfo=" + ResultMessage(rcProgramStillRunning));
  EXPECT_TRUE(RegReadString(kMachine, "InstallInfo", info));
  EXPECT_EQ(info, ResultMessage(rcProgramStillRunning));
  EXPECT_EQ(progress, 100);
  EXPECT_TRUE(FolderExists(folder + "Ziel"));  // nothing had been copied: nothing cleaned
  EXPECT_EQ(object->InstallDir, folder + "Ziel\\");
}

TEST_F(InstallSequence, AnUpdateAdvancesTheBarWithoutAnUninstallEntry) {
  object->Settings->Update = true;
  object->Settings->BaseMissing = false;
  object->WinDir = folder + "Windows\\";
  object->ProductName = "ZqFolge";
  // The product's earlier clear-up record, and the one an earlier version
  // kept for it in the Windows folder, go; another product's stays.
  const std::string own = UninstallerFolder(object->WinDir, "ZqFolge") + "uninst.ini";
  const std::string other = UninstallerFolder(object->WinDir, "ZqAndere") + "uninst.ini";
  const std::string shared = object->WinDir + "uninst.ini";
  for (const std::string& record : {own, other}) {
    ForceFolders(FolderPart(record));
    WriteTextFile(record, "[Directories]\r\n");
  }
  WriteTextFile(shared, "[Info]\r\nName=ZqFolge\r\n[Directories]\r\n");
  ASSERT_TRUE(SealHandWrittenRecord(shared));
  ForceFolders(folder + "Ziel");
  bool restart = true;
  EXPECT_EQ(object->DoInstall(folder + "Ziel", restart), rcOk);
  EXPECT_FALSE(restart);
  EXPECT_FALSE(Logged("Setze Deinstallationsdaten..."));
  EXPECT_TRUE(Logged("Setze Installationsdaten..."));
  EXPECT_EQ(progress, 100 + 100);  // every step's weight, then the final 100
  EXPECT_EQ(log.back(), "Warnung: Registry Eintrag konnte nicht gelöscht werden.");  // no InstallInfo to delete
  // The records go with the run, also when the working files go with an
  // elevated run's private folder.
  object->PrivateWork = true;
  object.reset();
  EXPECT_FALSE(FileExists(own));
  EXPECT_FALSE(FileExists(shared));
  EXPECT_TRUE(FileExists(other));
}

}  // namespace
