// Program groups in the prefix's Programs menu and shortcuts through the
// shell, created from install.ini lines and removed from the record.
// Leaves "Viewer.lnk" in its scratch folder for links_lnkinfo_test.
#include "engine/actions/links.h"

#include <gtest/gtest.h>

#include "engine/actions/action_test.h"
#include "sys/file_system.h"
#include "sys/shell_folders.h"
#include "sys/shortcuts.h"
#include "sys/text.h"

namespace {

class Links : public ActionTest {
 protected:
  std::string menu = WithTrailingBackslash(ReadShellFolder("Programs", false));
  void SetUp() override {
    ActionTest::SetUp();
    ASSERT_FALSE(menu.empty());
    Forget();
  }
  void TearDown() override { Forget(); }
  void Forget() const {
    std::vector<std::string> files;
    FindFiles(files, menu + "ZqLinkTest", "*.*", true, true);
    for (const std::string& file : files) DeleteFileA(file.c_str());
    for (const char* group :
         {"ZqLinkTest\\Eins\\Unter", "ZqLinkTest\\Eins", "ZqLinkTest\\Vorhanden", "ZqLinkTest\\Zwei", "ZqLinkTest"})
      RemoveDirectoryA((menu + group).c_str());
  }
};

TEST_F(Links, GroupsAndShortcutsAreCreatedRecordedAndRemovedAgain) {
  const std::string target = FixturePath("arg_recorder.exe");
  const std::string viewer = ScratchPath("Viewer");
  DeleteFileA((viewer + ".lnk").c_str());  // left by the last run
  const std::string foreign = folder + "Fremd";
  WriteTextFile(foreign + ".lnk", "not ours");
  ForceFolders(menu + "ZqLinkTest\\Vorhanden");
  InstallSettings& settings = Install();
  // Three lines: keys 1 and 2 are looked up, key 5 never is.
  settings.Groups = {"1=ZqLinkTest\\Eins\\Unter", "2=ZqLinkTest\\Vorhanden", "5=ZqLinkTest\\Fuenf"};
  settings.Links = {"%zqtest%Viewer=" + target, foreign + "=" + target, folder + "OhneZiel="};
  object->PlaceholderTable.insert(object->PlaceholderTable.begin(), "%zqtest%=" + ScratchPath(""));

  CreateLinks(*object, false);
  EXPECT_TRUE(FolderExists(menu + "ZqLinkTest\\Eins\\Unter"));
  EXPECT_FALSE(FolderExists(menu + "ZqLinkTest\\Fuenf"));
  EXPECT_TRUE(FileExists(viewer + ".lnk"));
  EXPECT_EQ(ReadTextFile(foreign + ".lnk"), "not ours");
  EXPECT_FALSE(FileExists(folder + "OhneZiel.lnk"));
  EXPECT_EQ(records, (std::vector<std::string>{"6|ZqLinkTest\\Eins\\Unter", "5|" + viewer + "|" + target}));
  EXPECT_EQ(log, (std::vector<std::string>{"Erzeuge Programmgruppe:  ZqLinkTest\\Eins\\Unter",
                                           "Erzeuge Shortcut:   Viewer"}));
  EXPECT_EQ(progress, 1);

  // A name with a point is kept whole, and found again under it.
  const std::string dotted = folder + "Quotaline 2.0";
  settings.Groups.clear();
  settings.Links = {dotted + "=" + target};
  records.clear();
  CreateLinks(*object, false);
  EXPECT_TRUE(FileExists(dotted + ".lnk"));
  EXPECT_EQ(records, (std::vector<std::string>{"5|" + dotted + "|" + target}));
  records.clear();
  CreateLinks(*object, false);
  EXPECT_TRUE(records.empty());

  // The uninstallation removes what was recorded: the shortcut, then the
  // group once empty. A group with a foreign shortcut in it stays.
  const std::string kept = ScratchPath("Behalten");
  ASSERT_TRUE(CreateShortcut(kept, target, target));
  object->Uninstall = std::make_unique<UninstallData>();
  object->Uninstall->Links = {kept + "=" + target, dotted + "=" + target};
  object->Uninstall->Groups = {"ZqLinkTest\\Eins\\Unter", "ZqLinkTest\\Vorhanden"};
  WriteTextFile(menu + "ZqLinkTest\\Vorhanden\\Fremd.lnk", "x");
  log.clear();
  progress = 0;
  RemoveLinks(*object);
  EXPECT_FALSE(FileExists(kept + ".lnk"));
  EXPECT_FALSE(FileExists(dotted + ".lnk"));
  EXPECT_FALSE(FolderExists(menu + "ZqLinkTest\\Eins\\Unter"));
  EXPECT_TRUE(FolderExists(menu + "ZqLinkTest\\Eins"));  // its parent stays
  EXPECT_TRUE(FolderExists(menu + "ZqLinkTest\\Vorhanden"));
  EXPECT_TRUE(Logged("Lösche Shortcut:    " + LowerAscii(kept)));
  EXPECT_TRUE(Logged("Lösche Programmgruppe:   " + menu + "ZqLinkTest\\Eins\\Unter"));
  EXPECT_TRUE(Logged("Warnung: Programmgruppe... (" + menu + "ZqLinkTest\\Vorhanden) konnte nicht gelöscht werden."));
  EXPECT_EQ(log.front(), "Entferne Links...");
  EXPECT_EQ(progress, 2);
}

}  // namespace
