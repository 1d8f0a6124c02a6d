#include "sys/shell_path_dialog.h"

#include <gtest/gtest.h>

#include "sys/text.h"

namespace {

TEST(ShellPathDialog, NothingIsShownWithoutAnOwner) {
  TShellPathDlg dialog(nullptr);
  dialog.Path = "C:\\";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_FALSE(dialog.IsOpen);
  EXPECT_EQ(dialog.Path, "C:\\");
}

// What the timer saw of the open dialog before it confirmed it.
TShellPathDlg* openDialog = nullptr;
std::string wantedFolder;
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
  if (!SameText(openDialog->Path, wantedFolder) && ticksOpen < 150) {
    SendMessageA(openDialog->DialogWindow, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(wantedFolder.c_str()));
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
  // A folder on drive C:, which the browser's tree can always expand.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "ZQ Ziel";
  CreateDirectoryA(folder.c_str(), nullptr);

  TShellPathDlg dialog(owner);
  dialog.Caption = "Installationspfad wählen...";
  dialog.SetCaption = true;
  dialog.Path = folder + "\\";
  openDialog = &dialog;
  wantedFolder = folder;
  SetTimer(owner, 1, 100, ConfirmWhenOpen);
  const bool chosen = dialog.Execute();
  openDialog = nullptr;
  DestroyWindow(owner);

  EXPECT_TRUE(sawOpen);
  EXPECT_EQ(seenCaption, "Installationspfad wählen...");
  ASSERT_TRUE(chosen);
  EXPECT_TRUE(SameText(dialog.Path, folder)) << dialog.Path;
  EXPECT_FALSE(dialog.IsOpen);
  EXPECT_EQ(dialog.DialogWindow, nullptr);
}

}  // namespace
