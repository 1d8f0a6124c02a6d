#include "sys/shell_folders.h"

#include <gtest/gtest.h>

#include "sys/registry.h"
#include "sys/text.h"

namespace {

const char kUserFolders[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(ShellFolders, TheShellAndTheRegistryAgree) {
  const std::string programs = GetSpecialFolder(sfiPrograms);
  ASSERT_FALSE(programs.empty());
  EXPECT_NE(programs.back(), '\\');
  EXPECT_TRUE(SameText(programs, ReadShellFolder("Programs", false)));
  for (int id : {sfiDesktop, sfiPrograms, sfiProgramFiles, sfiCommonFiles, sfiCommonAppData})
    EXPECT_TRUE(SameText(GetFolderPath(id, false), GetSpecialFolder(id))) << id;
  EXPECT_EQ(GetSpecialFolder(9999), "");
  EXPECT_EQ(GetFolderPath(9999, false), "");
  EXPECT_EQ(ReadShellFolder("ZQ gibt es nicht", true), "");
}

TEST(ShellFolders, WriteShellFolderStoresThePathWithoutItsBackslash) {
  ASSERT_TRUE(WriteShellFolder("ZQ Test", "C:\\Ablage\\", false));
  EXPECT_EQ(ReadShellFolder("ZQ Test", false), "C:\\Ablage");
  EXPECT_TRUE(RegDeleteEntry(kUserFolders, "ZQ Test", false));
  EXPECT_EQ(ReadShellFolder("ZQ Test", false), "");
}

FolderSources WithoutCommonAppData() {
  FolderSources sources;
  sources.SpecialFolder = [](int id) { return id == sfiCommonAppData ? std::string() : GetSpecialFolder(id); };
  return sources;
}

TEST(ShellFolders, CommonAppDataFallsBackStepByStep) {
  const std::string common = GetSpecialFolder(sfiCommonAppData);
  ASSERT_FALSE(common.empty());
  EXPECT_EQ(GetCommonAppDataFolder(true), common);

  FolderSources sources = WithoutCommonAppData();
  EXPECT_TRUE(SameText(GetCommonAppDataFolder(true, sources), common));  // SHGetFolderPathA

  sources.FolderPath = [](int, bool) { return std::string(); };
  sources.ShellFolder = [](const std::string& name, bool machine) {
    return name == "Common AppData" && machine ? std::string("D:\\Gemeinsam") : std::string();
  };
  EXPECT_EQ(GetCommonAppDataFolder(true, sources), "D:\\Gemeinsam");

  // NT without any of them: the parent of the common desktop.
  sources.ShellFolder = [](const std::string&, bool) { return std::string(); };
  const std::string commonDesktop = GetSpecialFolder(sfiCommonDesktop);
  ASSERT_FALSE(commonDesktop.empty());
  EXPECT_EQ(GetCommonAppDataFolder(true, sources), commonDesktop.substr(0, commonDesktop.rfind('\\') + 1));

  sources.SpecialFolder = [](int) { return std::string(); };
  EXPECT_EQ(GetCommonAppDataFolder(true, sources), "");
  EXPECT_EQ(GetCommonAppDataFolder(false, sources), "");
}

}  // namespace
