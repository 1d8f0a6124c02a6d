#include "sys/shell_path_dialog.h"

#include <gtest/gtest.h>


namespace {

TEST(ShellPathDialog, NothingIsShownWithoutAnOwner) {
  TShellPathDlg dialog(nullptr);
  dialog.Path = L"C:\\";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_FALSE(dialog.IsOpen);
  EXPECT_EQ(dialog.Path, L"C:\\");
}

// What the timer saw of the open dialog before it confirmed it.
TShellPathDlg* openDialog = nullptr;
std::wstring wantedFolder;
std::string seenCaption;
bool sawOpen = false;
int ticksOpen = 0;

// Confirms the dialog once it has shown the wanted folder for a while. Wine's
// tree may still pick its first folder while a fresh prefix warms up; the
// timer then selects the folder again, as a user would.
void CALLBACK ConfirmWhenOpen(HWND owner, UINT, UINT_PTR timer, DWORD) {
  if (!openDialog || !openDialog->DialogWindow) return;
  if (ticksOpen++ == 0) {
    sawOpen = openDialog->IsOpen;
    char caption[256] = {};
    GetWindowTextA(openDialog->DialogWindow, caption, sizeof caption);
    seenCaption = caption;
  }
  if (lstrcmpiW(openDialog->Path.c_str(), wantedFolder.c_str()) != 0 && ticksOpen < 150) {
    SendMessageW(openDialog->DialogWindow, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wantedFolder.c_str()));
    return;
  }
  if (ticksOpen < 5) return;
  KillTimer(owner, timer);
  PostMessageA(openDialog->DialogWindow, WM_COMMAND, IDOK, 0);
}

TEST(ShellPathDialog, PreselectsThePathSetsTheCaptionAndReturnsTheChoice) {
  const HWND owner = CreateWindowA("STATIC", "Besitzer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(owner);
  // A folder on drive C:, which the browser's tree can always expand, with a
  // letter the code page lacks: the choice keeps it.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"ZQ Ay\u015Fe Ziel";
  CreateDirectoryW(folder.c_str(), nullptr);

  TShellPathDlg dialog(owner);
  dialog.Caption = "Installationspfad wählen...";
  dialog.SetCaption = true;
  dialog.Path = folder + L"\\";
  openDialog = &dialog;
  wantedFolder = folder;
  SetTimer(owner, 1, 100, ConfirmWhenOpen);
  const bool chosen = dialog.Execute();
  openDialog = nullptr;
  DestroyWindow(owner);

  EXPECT_TRUE(sawOpen);
  EXPECT_EQ(seenCaption, "Installationspfad wählen...");
  ASSERT_TRUE(chosen);
  EXPECT_EQ(lstrcmpiW(dialog.Path.c_str(), folder.c_str()), 0);
  EXPECT_FALSE(dialog.IsOpen);
  EXPECT_EQ(dialog.DialogWindow, nullptr);
}

}  // namespace
