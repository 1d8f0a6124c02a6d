#include "sys/shell_path_dialog.h"

#include <gtest/gtest.h>

#include "support/paths.h"
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
std::string seenCaption;
bool sawOpen = false;

void CALLBACK ConfirmWhenOpen(HWND owner, UINT, UINT_PTR timer, DWORD) {
  if (!openDialog || !openDialog->DialogWindow) return;
  KillTimer(owner, timer);
  sawOpen = openDialog->IsOpen;
  char caption[256] = {};
  GetWindowTextA(openDialog->DialogWindow, caption, sizeof caption);
  seenCaption = caption;
  PostMessageA(openDialog->DialogWindow, WM_COMMAND, IDOK, 0);
}

TEST(ShellPathDialog, PreselectsThePathSetsTheCaptionAndReturnsTheChoice) {
  const HWND owner = CreateWindowA("STATIC", "Besitzer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(owner);
  const std::string folder = ScratchPath("Ziel");
  CreateDirectoryA(folder.c_str(), nullptr);

  TShellPathDlg dialog(owner);
  dialog.Caption = "Installationspfad wählen...";
  dialog.SetCaption = true;
  dialog.Path = folder + "\\";
  openDialog = &dialog;
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
