// The installer window as a user meets it: the real zqsetup.exe, packed by
// zqpack, started, looked at, typed into, clicked and closed; its dialogs
// read and answered; its exit code, records and log checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "driver/driver_test.h"
#include "support/folder_link.h"
#include "support/installer_window.h"
#include "support/registry_probe.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "ui/form/form_controls.h"

namespace {

class InstallerWindow : public EndToEnd {
 protected:
  std::string Command(const std::string& arguments = "") const {
    return "\"" + installer + "\"" + (arguments.empty() ? "" : " " + arguments);
  }
  // The product with one data file, written on dayOfMonth 2024-05.
  void BuildWithData(const std::string& installExtra = "", const std::string& data = "alt", int dayOfMonth = 1) {
    const std::string viewer = folder + "Komponenten\\viewer\\";
    ForceFolders(viewer);
    WriteTextFile(viewer + "daten.txt", data);
    SetWriteTime(viewer + "daten.txt", dayOfMonth);
    Build(installExtra, "[copy]\r\n%thisDir%install.ini=%installdir%uninst\\install.ini\r\n",
          "[copy]\r\n%thisDir%daten.txt=%installdir%viewer\\daten.txt\r\n");
  }
  // Where a control stands in the window's client area.
  static RECT Place(HWND window, int controlId) {
    RECT place;
    GetWindowRect(GetDlgItem(window, controlId), &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    return place;
  }
  static void ExpectPlace(HWND window, int controlId, int left, int top, int width, int height) {
    const RECT place = Place(window, controlId);
    EXPECT_EQ(place.left, left) << controlId;
    EXPECT_EQ(place.top, top) << controlId;
    EXPECT_EQ(place.right - place.left, width) << controlId;
    EXPECT_EQ(place.bottom - place.top, height) << controlId;
  }
  // The message dialog the installer shows next, its text, and the answer.
  static std::string Answer(InstallerRun& run, const char* caption, const std::string& button) {
    HWND dialog = run.WaitForWindow("TMyMessageForm", caption);
    if (!dialog) return "<no dialog>";
    const std::string text = InstallerRun::DialogText(dialog);
    InstallerRun::ClickDialogButton(dialog, button);
    return text;
  }
  // Chooses the folder preselected in the folder browser (OK) or cancels it.
  static bool Browse(InstallerRun& run, bool choose) {
    run.Click(idButtonDir);
    HWND browser = run.WaitForWindow("#32770", "Installationspfad wählen...");
    if (!browser) return false;
    Sleep(800);  // the tree selects the preset folder, slower on a busy machine
    PostMessageA(GetDlgItem(browser, choose ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    for (int i = 0; i < 500 && IsWindow(browser); ++i) Sleep(20);
    Sleep(200);  // the folder box is set after the browser has gone
    return true;
  }
  static bool Eventually(const std::function<bool()>& condition, DWORD timeoutMs = 30000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
      if (condition()) return true;
      Sleep(20);
    }
    return condition();
  }
};

TEST_F(InstallerWindow, AnInstallationAsAUserRunsIt) {
  const std::string gate = folder + "weiter";
  BuildWithData("[RunProgWait]\r\n" + FixturePath("gate_tool.exe") + "=" + gate + "\r\n");
  InstallerRun run(Command());
  HWND window = run.Window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(run.WaitForButton("&Installieren"));

  // Ready: the layout, the proposed folder, the captions.
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 332);
  EXPECT_EQ(client.bottom, 195);
  ExpectPlace(window, idEditInstallPath, 19, 36, 275, 21);
  ExpectPlace(window, idButtonDir, 298, 37, 23, 20);
  ExpectPlace(window, idLabelMsg, 19, 69, 297, 33);
  ExpectPlace(window, idProgressBar, 19, 115, 275, 23);
  ExpectPlace(window, idBevel1, 0, 151, 337, 9);
  ExpectPlace(window, idButtonInstall, 221, 163, 100, 23);
  EXPECT_EQ(run.Caption(), "Installieren...");
  EXPECT_EQ(run.Text(idLabel1), "Installationsverzeichnis:");
  EXPECT_EQ(run.Text(idLabelMsg), "Zum Start der Installation klicken Sie Installieren.");
  EXPECT_EQ(run.Text(idEditInstallPath), WithoutTrailingBackslash(target));
  EXPECT_TRUE(run.Enabled(idEditInstallPath));
  EXPECT_TRUE(run.Enabled(idButtonDir));

  // Characters no folder name may hold never reach the folder box.
  run.SetText(idEditInstallPath, "");
  run.Type(idEditInstallPath, "C:\\a\"b#c*d+e/f<g>h?i|j");
  EXPECT_TRUE(Eventually([&] { return run.Text(idEditInstallPath) == "C:\\abcdefghij"; }))
      << run.Text(idEditInstallPath);
  // Letters the code page lacks are kept, also one whose low byte is such a character ("\u012A" has 0x2A).
  run.SetText(idEditInstallPath, "");
  run.Type(idEditInstallPath, L"C:\\Ay\u015Fe \u012Avans");
  EXPECT_TRUE(Eventually([&] { return run.WideText(idEditInstallPath) == L"C:\\Ay\u015Fe \u012Avans"; }));

  // A folder on a CD-ROM drive: the notice, then the proposed folder again.
  run.SetText(idEditInstallPath, "R:\\Ziel");
  run.Click(idButtonInstall);
  EXPECT_EQ(Answer(run, "Fehler", "OK"), "Bitte gültiges Installationsverzeichnis angeben.");
  EXPECT_TRUE(Eventually([&] { return run.Text(idEditInstallPath) == WithoutTrailingBackslash(target); }));

  // A folder whose files everyone may change: the reason, then the proposed folder again.
  const std::string open = folder + "Offen\\";
  ForceFolders(open);
  WriteTextFile(open + "fremd.exe", "fremd");
  ASSERT_TRUE(OpenToEveryone(open));
  run.SetText(idEditInstallPath, open);
  run.Click(idButtonInstall);
  EXPECT_EQ(Answer(run, "Fehler", "OK"),
            "Das Verzeichnis enthält Dateien, die andere\r\nBenutzer ändern können. Bitte ein anderes\r\n"
            "Installationsverzeichnis angeben.");
  EXPECT_TRUE(Eventually([&] { return run.Text(idEditInstallPath) == WithoutTrailingBackslash(target); }));
  EXPECT_EQ(ReadTextFile(open + "fremd.exe"), "fremd");

  // The browser: a chosen folder gets the product's folder inside it, unless
  // it is the product's folder already; cancelled over an invalid text, the
  // proposed folder comes back.
  // (Folders on drive C:, which the browser's tree can always expand.)
  const std::string choices = "C:\\ZqFensterTest\\";
  ForceFolders(choices + "Wahl");
  ForceFolders(choices + "ZqEndeTest");
  run.SetText(idEditInstallPath, choices + "Wahl");
  ASSERT_TRUE(Browse(run, true));
  EXPECT_TRUE(SameText(run.Text(idEditInstallPath), choices + "Wahl\\ZqEndeTest")) << run.Text(idEditInstallPath);
  run.SetText(idEditInstallPath, choices + "ZqEndeTest");
  ASSERT_TRUE(Browse(run, true));
  EXPECT_TRUE(SameText(run.Text(idEditInstallPath), choices + "ZqEndeTest")) << run.Text(idEditInstallPath);
  for (const char* name : {"Wahl", "ZqEndeTest", ""}) RemoveDirectoryA((choices + name).c_str());
  run.SetText(idEditInstallPath, "kein Pfad");
  ASSERT_TRUE(Browse(run, false));
  EXPECT_EQ(run.Text(idEditInstallPath), WithoutTrailingBackslash(target));

  // Running: the program it waits for holds it; the button is disabled and
  // the window refuses to close.
  run.Click(idButtonInstall);
  ASSERT_TRUE(Eventually([&] { return FileExists(gate + ".started"); }));
  EXPECT_FALSE(run.Enabled(idButtonInstall));
  run.Close();
  Sleep(500);
  EXPECT_TRUE(IsWindow(window));
  WriteTextFile(gate, "");

  // Done: the outcome, the progress bar at 0, and a button that closes.
  ASSERT_TRUE(run.WaitForButton("Schließen"));
  EXPECT_EQ(run.Text(idLabelMsg), "Installation erfolgreich.");
  EXPECT_EQ(run.Caption(), "Installieren...");
  EXPECT_EQ(run.Progress(), 0);
  EXPECT_FALSE(run.Enabled(idEditInstallPath));
  EXPECT_FALSE(run.Enabled(idButtonDir));
  EXPECT_EQ(ReadTextFile(target + "viewer\\daten.txt"), "alt");
  run.Click(idButtonInstall);
  EXPECT_EQ(run.Wait(), 0);

  // The log of both runs, with the window's own lines.
  const std::vector<std::string> log = Normalised(ReadTextFile(LowerAscii(target) + "uninst\\zqinstall.log"));
  for (const char* line : {"Time to init: <n> ms", "Starte Programm: gate_tool.exe ", "Time to install: <n> ms",
                           "Installation erfolgreich."}) {
    bool found = false;
    for (const std::string& logged : log) found = found || logged.rfind(line, 0) == 0;
    EXPECT_TRUE(found) << line;
  }
}

TEST_F(InstallerWindow, AnUpdateKeepsItsFolderAndARestartIsOffered) {
  BuildWithData("", "alt", 1);
  std::string output;
  ASSERT_EQ(Run("-hide", output), 0);

  // A newer package over a file in use, with the restart question.
  BuildWithData("update=1\r\n", "neu", 2);
  const std::string data = target + "viewer\\daten.txt";
  HANDLE held = CreateFileA(data.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    InstallerRun run(Command());
    ASSERT_TRUE(run.WaitForButton("&Installieren"));
    EXPECT_FALSE(run.Enabled(idEditInstallPath));
    EXPECT_FALSE(run.Enabled(idButtonDir));
    run.Click(idButtonInstall);
    EXPECT_EQ(Answer(run, "Bestätigen", "&Nein"),
              "Um die Installation abzuschließen muß\r\ndas System neu gestartet werden. Soll \r\n"
              "jetzt ein Neustart durchgeführt werden.");
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    EXPECT_EQ(run.Text(idLabelMsg), "Update erfolgreich.");
    run.Click(idButtonInstall);
    EXPECT_EQ(run.Wait(), 3010);
  }
  EXPECT_EQ(ReadTextFile(data + "~"), "neu");

  // Without the question, a notice.
  BuildWithData("update=1\r\nreboot=0\r\n", "neuer", 3);
  {
    InstallerRun run(Command());
    ASSERT_TRUE(run.WaitForButton("&Installieren"));
    run.Click(idButtonInstall);
    EXPECT_EQ(Answer(run, "Bestätigen", "OK"),
              "Einige Komponenten sind z.Z. in Verwendung und werden\r\nbeim nächsten Systemstart automatisch "
              "aktualisiert.\r\nAnstehende Transaktionen werden mit den aktuellen Komponenten durchgeführt.");
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    run.Close();
    EXPECT_EQ(run.Wait(), 3010);
  }
  CloseHandle(held);
  EXPECT_NE(ReadTextFile(LowerAscii(target) + "uninst\\zqinstall.log").find("Reboot nötig"), std::string::npos);
}

TEST_F(InstallerWindow, HiddenItShowsNothingAndEndsWithItsResult) {
  BuildWithData();
  {
    InstallerRun run(Command("-hide"));
    bool seen = false;
    int exitCode = -1;
    for (int i = 0; i < 3000 && (exitCode = run.Wait(10)) == -1; ++i) seen = seen || run.AnyWindowVisible();
    EXPECT_FALSE(seen);
    EXPECT_EQ(exitCode, 0);
  }
  EXPECT_EQ(ReadTextFile(target + "viewer\\daten.txt"), "alt");
  const std::string log = ReadTextFile(LowerAscii(target) + "uninst\\zqinstall.log");
  EXPECT_NE(log.find("Function: DoInitInstall  Forced (0)  AutoRun (1)  Invisible (1)"), std::string::npos) << log;
  EXPECT_NE(log.find("Installation erfolgreich."), std::string::npos);

  // An update of a product that is not installed fails its initialisation:
  // exit code 22, the reason in the log of the folder it would update.
  ForgetProduct();
  BuildWithData("update=1\r\n");
  std::string output;
  EXPECT_EQ(Run("-hide", output), 22);
  EXPECT_NE(ReadTextFile(LowerAscii(target) + "uninst\\zqinstall.log")
                .find("Initialisierung konnte nicht erfolgreich abgeschlossen werden: Bitte erst eine "
                      "Basisinstallation durchführen."),
            std::string::npos);

  // Unattended, a folder that cannot be used fails the run instead of asking.
  ForgetProduct();
  BuildWithData();
  EXPECT_EQ(Run("-hide -path:r:\\ziel", output), 5);
}

TEST_F(InstallerWindow, ClosedBeforeTheOperationOrAfterAFailedStart) {
  BuildWithData();
  {
    InstallerRun run(Command());
    ASSERT_TRUE(run.WaitForButton("&Installieren"));
    run.Close();
    EXPECT_EQ(run.Wait(), 1602);
  }
  EXPECT_FALSE(FolderExists(target));

  // A failed initialisation leaves only the button that closes.
  BuildWithData("update=1\r\n");
  InstallerRun run(Command());
  ASSERT_TRUE(run.WaitForButton("Schließen"));
  EXPECT_EQ(run.Text(idLabelMsg),
            "Initialisierung konnte nicht erfolgreich abgeschlossen werden: Bitte erst eine Basisinstallation "
            "durchführen.\r\n");
  // The reason is read whole: the label takes the unused progress bar's room.
  ExpectPlace(run.Window(), idLabelMsg, 19, 69, 297, 69);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(run.Window(), idProgressBar)));
  EXPECT_FALSE(run.Enabled(idEditInstallPath));
  run.Click(idButtonInstall);
  EXPECT_EQ(run.Wait(), 22);
}

// Takes over the open command of a file type for the test's length.
class OpenCommand {
 public:
  OpenCommand(const std::string& extension, const std::string& command)
      : key_("HKEY_CLASSES_ROOT\\" + extension), type_(RegistryText(key_, "")) {
    RegWriteString(key_, "", "ZqFensterTest" + extension);
    RegWriteString("HKEY_CLASSES_ROOT\\ZqFensterTest" + extension + "\\shell\\open\\command", "", command);
  }
  ~OpenCommand() {
    if (type_ == "<none>")
      RegDeleteEntry(key_, "", false);
    else
      RegWriteString(key_, "", type_);
    RegDeleteEntry("HKEY_CLASSES_ROOT", "ZqFensterTest" + key_.substr(key_.rfind('\\') + 1), true);
  }

 private:
  std::string key_, type_;
};

TEST_F(InstallerWindow, KeysShowTheVersionAndOpenTheSupportPageAndTheLog) {
  BuildWithData("SupportUrl=http://support.example/quotaline\r\n");
  const std::string recorder = folder + "Oeffner\\call_recorder.exe";
  ForceFolders(folder + "Oeffner");
  ASSERT_TRUE(CopyFileA(FixturePath("call_recorder.exe").c_str(), recorder.c_str(), FALSE));
  const std::string calls = folder + "Oeffner\\calls.log";
  OpenCommand page(".htm", "\"" + recorder + "\" \"%1\"");
  OpenCommand log(".log", "\"" + recorder + "\" \"%1\"");

  InstallerRun run(Command());
  ASSERT_TRUE(run.WaitForButton("&Installieren"));
  run.PressCtrl('I');
  const std::string about = Answer(run, "Information", "OK");
  EXPECT_NE(about.find("ZqEndeTest"), std::string::npos) << about;
  EXPECT_NE(about.find("Installer Version: 1.0.0.1"), std::string::npos) << about;
  run.PressCtrl('H');
  EXPECT_TRUE(
      Eventually([&] { return ReadTextFile(calls).find("http://support.example/quotaline") != std::string::npos; }));
  // Before any log is written, Ctrl+L opens nothing.
  run.PressCtrl('L');
  Sleep(500);
  EXPECT_EQ(ReadTextFile(calls).find("zqinstall.log"), std::string::npos);
  run.Click(idButtonInstall);
  ASSERT_TRUE(run.WaitForButton("Schließen"));
  run.PressCtrl('L');
  EXPECT_TRUE(Eventually([&] { return ReadTextFile(calls).find("uninst\\zqinstall.log") != std::string::npos; }))
      << ReadTextFile(calls);
  run.Click(idButtonInstall);
  EXPECT_EQ(run.Wait(), 0);
}

}  // namespace
