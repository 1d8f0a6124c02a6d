#include "engine/config/folder_variables.h"

#include <gtest/gtest.h>

#include <set>

#include "sys/text.h"

namespace {

void ExpectFolder(const std::string& folder, const char* name) {
  ASSERT_FALSE(folder.empty()) << name;
  EXPECT_EQ(folder.back(), '\\') << name;
}

TEST(FolderVariables, TheShellGivesEveryFolder) {
  const FolderVariables folders = DetermineFolderVariables();
  for (const std::string* folder :
       {&folders.WinDir, &folders.SystemDir, &folders.TmpDir, &folders.MenuDir, &folders.DesktopDir,
        &folders.ProgramsDir, &folders.CommonFilesDir, &folders.AllUsersAppDir})
    ExpectFolder(*folder, "a folder variable");
  EXPECT_EQ(folders.MenuDir, GetSpecialFolder(sfiPrograms) + "\\");
  EXPECT_EQ(folders.CommonFilesDir, GetSpecialFolder(sfiCommonFiles) + "\\");
  EXPECT_EQ(folders.AllUsersAppDir, GetSpecialFolder(sfiCommonAppData) + "\\");
  const std::string app = folders.AllUsersAppDir.substr(0, folders.AllUsersAppDir.size() - 1);
  EXPECT_EQ(folders.AllUsersDir, app.substr(0, app.rfind('\\') + 1));
}

TEST(FolderVariables, WithoutTheShellTheRegistryValuesAreTaken) {
  FolderSources sources;
  std::set<int> created;
  sources.SpecialFolder = [](int) { return std::string(); };
  sources.FolderPath = [&](int id, bool create) {
    if (create) created.insert(id);
    return std::string();
  };
  const FolderVariables folders = DetermineFolderVariables(sources);
  EXPECT_TRUE(SameText(folders.MenuDir, ReadShellFolder("Programs", false) + "\\"));
  EXPECT_TRUE(SameText(folders.DesktopDir, ReadShellFolder("Desktop", false) + "\\"));
  const std::string version = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
  EXPECT_TRUE(SameText(folders.ProgramsDir, RegistryPath(version, "ProgramFilesDir") + "\\"));
  EXPECT_TRUE(SameText(folders.CommonFilesDir, RegistryPath(version, "CommonFilesDir") + "\\"));
  EXPECT_TRUE(SameText(folders.AllUsersAppDir, ReadShellFolder("Common AppData", true) + "\\"));
  // Only the common files and the common application data are asked to be created.
  EXPECT_EQ(created, (std::set<int>{sfiCommonFiles, sfiCommonAppData}));
}

TEST(FolderVariables, FoldersNobodyKnowsStayEmpty) {
  FolderSources sources;
  sources.SpecialFolder = [](int) { return std::string(); };
  sources.FolderPath = [](int, bool) { return std::string(); };
  sources.ShellFolder = [](const std::string&, bool) { return std::string(); };
  sources.RegistryPath = [](const std::string&, const std::string&) { return std::string(); };
  const FolderVariables folders = DetermineFolderVariables(sources);
  for (const std::string* folder : {&folders.MenuDir, &folders.DesktopDir, &folders.ProgramsDir,
                                    &folders.CommonFilesDir, &folders.AllUsersAppDir, &folders.AllUsersDir})
    EXPECT_EQ(*folder, "");
  ExpectFolder(folders.WinDir, "WinDir");
}

}  // namespace
