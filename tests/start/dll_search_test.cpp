// Libraries planted beside the installer under the names of system
// libraries (as in a download folder anyone can write to) are never loaded
// into it, while Wine is told to prefer such libraries to its own wherever a
// search finds them. (version.dll is left out here: Wine's own user32 imports
// it, so under Wine any window program takes a planted one. The installer
// imports only the system's known DLLs; image_layout_test checks that.)
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/driver_test.h"
#include "support/installer_window.h"
#include "ui/form/form_controls.h"

namespace {

const char kAppDefaults[] = "HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults";
const char* const kPrograms[] = {"setup.exe", "zquninst.exe", "load_by_name.exe"};

class DllSearch : public EndToEnd {
 protected:
  // Tells Wine to prefer a library found by a search over its own, for
  // these programs only.
  void SetUp() override {
    EndToEnd::SetUp();
    for (const char* program : kPrograms)
      for (const char* library : {"comctl32", "shfolder"})
        RegWriteString(std::string(kAppDefaults) + "\\" + program + "\\DllOverrides", library, "native,builtin");
  }
  void TearDown() override {
    for (const char* program : kPrograms) RegDeleteEntry(kAppDefaults, program, true);
    EndToEnd::TearDown();
  }
  // Plants the stubs into the folder; returns the log they write when loaded.
  static std::string Plant(const std::string& into) {
    for (const char* name : {"comctl32.dll", "shfolder.dll"})
      CopyFileA(FixturePath(std::string("planted/") + name).c_str(), (into + name).c_str(), FALSE);
    return into + "planted.log";
  }
};

TEST_F(DllSearch, PlantedLibrariesBesideTheInstallerAndTheUninstallerAreNeverLoaded) {
  Build();
  const std::string planted = Plant(folder);

  // The control: a program that loads by the bare name gets the planted stub.
  const std::string loader = folder + "load_by_name.exe";
  CopyFileA(FixturePath("load_by_name.exe").c_str(), loader.c_str(), FALSE);
  EXPECT_EQ(RunProgram("\"" + loader + "\" comctl32.dll"), 0);
  ASSERT_NE(ReadTextFile(planted).find("load_by_name.exe"), std::string::npos) << "the stubs are not preferred";
  DeleteFileA(planted.c_str());

  std::string output;
  EXPECT_EQ(Run("-hide", output), 0);
  // The uninstaller copy beside the same stubs, with its window.
  const std::string uninstaller = folder + "zquninst.exe";
  CopyFileA(installer.c_str(), uninstaller.c_str(), FALSE);
  InstallerRun run("\"" + uninstaller + "\" -clearup");
  ASSERT_TRUE(run.WaitForButton("&Bereinigen"));  // with nothing to clear up
  run.Close();
  EXPECT_EQ(run.Wait(), 1602);
  EXPECT_EQ(ReadTextFile(planted), "");
}

}  // namespace
