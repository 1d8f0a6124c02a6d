// A walk through the installer window's states and dialogs for
// scripts/screenshots.sh: at each stop it asks the script for a screenshot
// of a window (a file NAME.request holding the window's rectangle in the
// folder given by ZQ_SHOT_DIR) and waits until the script has taken it
// (NAME.done). Not a test: it is built with the tests and run only by the script.
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/driver_test.h"
#include "support/folder_link.h"
#include "support/installer_window.h"
#include "support/sealed_record.h"
#include "sys/ini_file.h"
#include "ui/form/form_controls.h"

namespace {

std::string ShotFolder() {
  char folder[MAX_PATH] = {};
  GetEnvironmentVariableA("ZQ_SHOT_DIR", folder, MAX_PATH);
  return WithTrailingBackslash(folder);
}

// Asks for a screenshot of the window and waits until it is taken.
void Shot(HWND window, const std::string& name) {
  ASSERT_NE(window, nullptr) << name;
  Sleep(400);  // let it paint
  RECT place;
  GetWindowRect(window, &place);
  const std::string request = ShotFolder() + name + ".request";
  WriteTextFile(request + ".part", std::to_string(place.left) + " " + std::to_string(place.top) + " " +
                                       std::to_string(place.right - place.left) + " " +
                                       std::to_string(place.bottom - place.top) + "\n");
  MoveFileA((request + ".part").c_str(), request.c_str());
  const std::string done = ShotFolder() + name + ".done";
  for (int i = 0; i < 500 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  DeleteFileA(done.c_str());
}

void ShotOfDialog(InstallerRun& run, const char* caption, const std::string& name, const std::string& button) {
  HWND dialog = run.WaitForWindow("TMyMessageForm", caption);
  Shot(dialog, name);
  InstallerRun::ClickDialogButton(dialog, button);
}

class Tour : public EndToEnd {
 protected:
  // The folder box shows what a user sees: the product's default folder
  // below Program Files, in the tour's prefix of its own.
  void SetUp() override {
    EndToEnd::SetUp();
    char programs[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%ProgramFiles%", programs, MAX_PATH);
    target = WithTrailingBackslash(programs) + "ZqEndeTest\\";
  }
  std::string Command(const std::string& arguments = "") const { return "\"" + installer + "\" " + arguments; }
  void BuildDemo(const std::string& installExtra = "", const std::string& data = "alt", int dayOfMonth = 1) {
    const std::string viewer = folder + "Komponenten\\viewer\\";
    ForceFolders(viewer);
    WriteTextFile(viewer + "daten.txt", data);
    SetWriteTime(viewer + "daten.txt", dayOfMonth);
    ForceFolders(folder + "Komponenten\\uninst");
    WriteTextFile(folder + "Komponenten\\uninst\\uninst.ini", "");
    // Older than any record an installation writes, as a publisher's empty record is: an update
    // written within the same second would otherwise copy it over the record.
    SetWriteTime(folder + "Komponenten\\uninst\\uninst.ini", 1);
    Build(installExtra,
          "[copy]\r\n%thisDir%install.ini=%installdir%uninst\\install.ini\r\n"
          "%thisDir%uninst.ini=%installdir%uninst\\uninst.ini\r\n",
          "[copy]\r\n%thisDir%daten.txt=%installdir%viewer\\daten.txt\r\n");
  }
};

TEST_F(Tour, InstallerStatesAndDialogs) {
  const std::string gate = folder + "weiter";
  BuildDemo("[RunProgWait]\r\n" + FixturePath("gate_tool.exe") + "=" + gate + "\r\n");
  {
    InstallerRun run(Command());
    ASSERT_TRUE(run.WaitForButton("&Installieren"));
    Shot(run.Window(), "install-1-ready");
    run.PressCtrl('I');
    ShotOfDialog(run, "Information", "dialog-information-about", "OK");
    run.SetText(idEditInstallPath, "R:\\Ziel");
    run.Click(idButtonInstall);
    ShotOfDialog(run, "Fehler", "dialog-error-invalid-folder", "OK");
    const std::string open = folder + "Offen\\";
    ForceFolders(open);
    WriteTextFile(open + "fremd.exe", "fremd");
    OpenToEveryone(open);
    run.SetText(idEditInstallPath, open);
    run.Click(idButtonInstall);
    ShotOfDialog(run, "Fehler", "dialog-error-folder-open-to-others", "OK");
    run.Click(idButtonDir);
    Shot(run.WaitForWindow("#32770", "Installationspfad wählen..."), "install-2-folder-browser");
    PostMessageA(GetDlgItem(run.WaitForWindow("#32770", nullptr), IDCANCEL), BM_CLICK, 0, 0);
    Sleep(500);
    run.Click(idButtonInstall);
    for (int i = 0; i < 1500 && !FileExists(gate + ".started"); ++i) Sleep(20);
    Shot(run.Window(), "install-3-running-minimised");
    WriteTextFile(gate, "");
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    Shot(run.Window(), "install-4-done");
    run.Click(idButtonInstall);
    run.Wait();
  }
  // An update over a file in use: the folder stays, a restart is offered.
  BuildDemo("update=1\r\n", "neu", 2);
  HANDLE held =
      CreateFileA((target + "viewer\\daten.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  {
    InstallerRun run(Command());
    ASSERT_TRUE(run.WaitForButton("&Installieren"));
    Shot(run.Window(), "update-1-ready");
    run.Click(idButtonInstall);
    ShotOfDialog(run, "Bestätigen", "dialog-confirmation-restart", "&Nein");
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    Shot(run.Window(), "update-2-done");
    run.Click(idButtonInstall);
    run.Wait();
  }
  BuildDemo("update=1\r\nreboot=0\r\n", "neuer", 3);
  {
    InstallerRun run(Command());
    ASSERT_TRUE(run.WaitForButton("&Installieren"));
    run.Click(idButtonInstall);
    ShotOfDialog(run, "Bestätigen", "dialog-confirmation-pending", "OK");
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    run.Close();
    run.Wait();
  }
  CloseHandle(held);

  // Uninstalling and clearing up through the uninstall record.
  const std::string record = target + "uninst\\uninst.ini";
  {
    InstallerRun run(Command("-uninstall:\"" + record + "\""));
    ASSERT_TRUE(run.WaitForButton("&Entfernen"));
    Shot(run.Window(), "uninstall-1-ready");
    run.Click(idButtonInstall);
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    Shot(run.Window(), "uninstall-2-done");
    run.Click(idButtonInstall);
    run.Wait();
  }
  ForceFolders(target + "viewer");
  WriteTextFile(target + "viewer\\eigene.txt", "meins");
  const IniFile cleared(folder + "uninst.ini");
  cleared.WriteString("Info", "InstallPath", target);
  cleared.WriteString("Info", "RegUser", "HKEY_CURRENT_USER\\Software\\ZqDriverTest\\ZqEndeTest");
  cleared.WriteString("Info", "RegMachine", kProductKey);
  cleared.WriteString("Info", "Name", "ZqEndeTest");
  cleared.WriteString("Directories", LowerAscii(target) + "viewer\\", "delete");
  SealHandWrittenRecord(folder + "uninst.ini");
  {
    InstallerRun run(Command("-clearup:\"" + folder + "uninst.ini\""));
    ASSERT_TRUE(run.WaitForButton("&Bereinigen"));
    Shot(run.Window(), "clearup-1-ready");
    run.Click(idButtonInstall);
    HWND question = run.WaitForWindow("TMyMessageForm", "Warnung");
    Shot(run.Window(), "clearup-2-running");
    ShotOfDialog(run, "Warnung", "dialog-warning-clearup", "Abbrechen");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    Shot(run.Window(), "clearup-3-done");
    run.Click(idButtonInstall);
    run.Wait();
  }
  // A failed initialisation: an update without the product.
  ForgetProduct();
  BuildDemo("update=1\r\n");
  InstallerRun run(Command());
  ASSERT_TRUE(run.WaitForButton("Schließen"));
  Shot(run.Window(), "install-5-init-failed");
  run.Click(idButtonInstall);
  run.Wait();
}

}  // namespace

// Tells the script that the walk is over, however it ended.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  WriteTextFile(ShotFolder() + "tour.ended", std::to_string(result));
  return result;
}
