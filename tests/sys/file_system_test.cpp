#include "sys/file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "support/paths.h"
#include "sys/text.h"

namespace {

// A fresh folder in the scratch folder.
std::string FreshFolder(const std::string& name) {
  const std::string folder = ScratchPath(name);
  SHFILEOPSTRUCTA remove = {};
  std::string from = folder + '\0';
  remove.wFunc = FO_DELETE;
  remove.pFrom = from.c_str();
  remove.fFlags = FOF_NO_UI;
  SHFileOperationA(&remove);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

TEST(FileSystem, SystemFoldersEndWithABackslash) {
  char windows[MAX_PATH], system[MAX_PATH], temp[MAX_PATH], own[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  EXPECT_EQ(GetSystemFolder(sfWindows), WithTrailingBackslash(windows));
  EXPECT_EQ(GetSystemFolder(sfSystem), WithTrailingBackslash(system));
  EXPECT_EQ(GetSystemFolder(sfTemp), WithTrailingBackslash(temp));
  const std::string ownPath = own;
  EXPECT_EQ(GetSystemFolder(sfOwn), ownPath.substr(0, ownPath.rfind('\\') + 1));
  EXPECT_EQ(GetSystemFolder(42), GetSystemFolder(sfOwn));
}

TEST(FileSystem, ForceFoldersCreatesMissingParents) {
  const std::string base = FreshFolder("force");
  const std::string deep = base + "a\\b\\c\\";
  EXPECT_FALSE(FolderExists(deep));
  EXPECT_TRUE(ForceFolders(deep));
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_TRUE(ForceFolders(deep));  // already there
  EXPECT_TRUE(ForceFolders("C:\\"));
  EXPECT_TRUE(ForceFolders("C:"));

  ASSERT_TRUE(WriteTextFile(base + "datei", "x"));
  EXPECT_FALSE(FolderExists(base + "datei"));
  EXPECT_TRUE(FileExists(base + "datei"));
  EXPECT_FALSE(FileExists(base + "a"));
  EXPECT_FALSE(ForceFolders(base + "datei\\unter"));  // a file stands in the way

  try {
    ForceFolders("");
    ADD_FAILURE() << "an empty path must raise";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Das Verzeichnis kann nicht erstellt werden");
  }
}

TEST(FileSystem, FindFilesListsEveryFileInLowerCase) {
  const std::string base = FreshFolder("find");
  ASSERT_TRUE(ForceFolders(base + "Unter\\Tiefer"));
  ASSERT_TRUE(ForceFolders(base + ".versteckt"));
  for (const char* name : {"Eins.DLL", "zwei.exe", "Langer Dateiname.txt", "Unter\\drei.dll", "Unter\\Tiefer\\vier.dll",
                           ".versteckt\\fünf.dll"})
    ASSERT_TRUE(WriteTextFile(base + name, "x"));
  SetFileAttributesA((base + "zwei.exe").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

  std::vector<std::string> files = {"schon da"};
  EXPECT_EQ(FindFiles(files, base, "*.*", true, false), 3);
  std::sort(files.begin() + 1, files.end());
  const std::string lower = LowerAscii(base);
  EXPECT_EQ(files, (std::vector<std::string>{"schon da", lower + "eins.dll", lower + "langer dateiname.txt",
                                             lower + "zwei.exe"}));

  files.clear();
  // A folder whose name begins with a point is searched too: nothing in it escapes.
  EXPECT_EQ(FindFiles(files, base, "*.dll", true, true), 4);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{lower + ".versteckt\\fünf.dll", lower + "eins.dll",
                                             lower + "unter\\drei.dll", lower + "unter\\tiefer\\vier.dll"}));

  files.clear();
  EXPECT_EQ(FindFiles(files, base, "Langer*", false, false), 1);
  // The short name is the entry's; the folder path stays as given.
  char shortName[MAX_PATH] = {};
  GetShortPathNameA((base + "Langer Dateiname.txt").c_str(), shortName, MAX_PATH);
  const std::string shortPath = shortName;
  EXPECT_EQ(files[0], lower + LowerAscii(shortPath.substr(shortPath.rfind('\\') + 1)));
  EXPECT_NE(files[0], lower + "langer dateiname.txt");

  EXPECT_EQ(FindFiles(files, base + "fehlt", "*.*", true, true), 0);
  SetFileAttributesA((base + "zwei.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileSystem, ListSubfoldersGoesDepthFirstAndCountsTheWholeList) {
  const std::string base = FreshFolder("list");
  ASSERT_TRUE(ForceFolders(base + "A\\A1"));
  ASSERT_TRUE(ForceFolders(base + "B"));
  ASSERT_TRUE(ForceFolders(base + ".punkt"));
  ASSERT_TRUE(WriteTextFile(base + "keinOrdner", "x"));

  // A name that begins with a point is a folder like any other (only "." and ".." are not).
  std::vector<std::string> folders = {"vorher"};
  EXPECT_EQ(ListSubfolders(folders, base, true, true), 5);
  ASSERT_EQ(folders.size(), 5u);
  EXPECT_NE(std::find(folders.begin(), folders.end(), base + ".punkt"), folders.end());
  const auto a = std::find(folders.begin(), folders.end(), base + "A");
  ASSERT_NE(a, folders.end());
  EXPECT_EQ(*(a + 1), base + "A\\A1");  // right after its parent
  EXPECT_NE(std::find(folders.begin(), folders.end(), base + "B"), folders.end());

  folders.clear();
  EXPECT_EQ(ListSubfolders(folders, base, false, true), 3);
}

TEST(FileSystem, ValidLocalPathsNeedAFixedDiskAndClearNames) {
  EXPECT_TRUE(IsValidLocalPath("C:\\Programme\\Ziel"));
  EXPECT_TRUE(IsValidLocalPath("  C:\\Programme\\Ziel\\  "));
  EXPECT_TRUE(IsValidLocalPath("C:\\"));
  EXPECT_FALSE(IsValidLocalPath("C:\\Programme\\\\Ziel"));
  EXPECT_FALSE(IsValidLocalPath("C:\\Pro*gramme"));
  EXPECT_FALSE(IsValidLocalPath("C:"));
  EXPECT_FALSE(IsValidLocalPath("C:Programme"));
  EXPECT_FALSE(IsValidLocalPath("\\\\server\\share"));
  ASSERT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_CDROM));  // set up by the test prefix
  EXPECT_FALSE(IsValidLocalPath("R:\\"));
  EXPECT_FALSE(IsValidLocalPath("R:\\Programme"));
  EXPECT_FALSE(IsValidLocalPath("Q:\\Programme"));  // no such drive
}

TEST(FileSystem, FreeSpaceOfADriveNumber) {
  EXPECT_EQ(DriveNumber("c:\\Programme"), 3);
  EXPECT_EQ(DriveNumber("A:\\"), 1);
  EXPECT_GT(DriveFreeSpace(DriveNumber("C:\\")), 0);
  EXPECT_EQ(DriveFreeSpace(DriveNumber("Q:\\")), -1);
  EXPECT_EQ(DriveFreeSpace(27), -1);
}

}  // namespace
