// The message dialog as a user meets it: found on the screen, its caption and
// buttons read, answered with a click, Escape, Enter or the close box.
#include "ui/message_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Seen {
  std::string Caption;
  std::vector<std::string> Buttons;
  RECT Client = {};
};

BOOL CALLBACK CollectButton(HWND child, LPARAM seen) {
  char className[32] = {}, text[64] = {};
  GetClassNameA(child, className, sizeof className);
  GetWindowTextA(child, text, sizeof text);
  if (lstrcmpiA(className, "TStyledButton") == 0) reinterpret_cast<Seen*>(seen)->Buttons.push_back(text);
  return TRUE;
}

// The dialog of this process (other tests may show theirs at the same time).
HWND OwnDialog() {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "TMyMessageForm", nullptr));) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return window;
  }
  return nullptr;
}

// Shows the dialog while a second thread, as the user, looks at it and answers.
int ShowAndAnswer(const std::function<int()>& show, const std::function<void(HWND)>& answer, Seen& seen) {
  std::thread user([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 400 && !(dialog = OwnDialog()); ++i) Sleep(25);
    if (!dialog) return;
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    seen.Caption = caption;
    GetClientRect(dialog, &seen.Client);
    EnumChildWindows(dialog, CollectButton, reinterpret_cast<LPARAM>(&seen));
    answer(dialog);
  });
  const int result = show();
  user.join();
  return result;
}

HWND ButtonOf(HWND dialog, const char* caption) { return FindWindowExA(dialog, nullptr, "TStyledButton", caption); }

void Press(HWND dialog, UINT key) {
  PostMessageA(GetWindow(dialog, GW_CHILD) ? ButtonOf(dialog, nullptr) : dialog, WM_KEYDOWN, key, 0);
}

TEST(MessageDialog, ButtonsCaptionsAndAnswers) {
  Seen seen;
  // A warning with OK and Cancel, answered by a click on Cancel.
  EXPECT_EQ(ShowAndAnswer(
                [] { return MyMessageDlg("Wirklich?", mkWarning, ButtonBit(mbOK) | ButtonBit(mbCancel), false, 0); },
                [](HWND dialog) { SendMessageA(ButtonOf(dialog, "Abbrechen"), BM_CLICK, 0, 0); }, seen),
            mrCancel);
  EXPECT_EQ(seen.Caption, "Warnung");
  EXPECT_EQ(seen.Buttons, (std::vector<std::string>{"OK", "Abbrechen"}));

  // Yes and No: Enter takes Yes, Escape answers No.
  const auto question = [] {
    return MyMessageDlg("Jetzt neu starten?", mkConfirmation, ButtonBit(mbYes) | ButtonBit(mbNo), false, 0);
  };
  seen = Seen();
  EXPECT_EQ(ShowAndAnswer(
                question, [](HWND dialog) { Press(dialog, VK_RETURN); }, seen),
            mrYes);
  EXPECT_EQ(seen.Caption, "Bestätigen");
  EXPECT_EQ(seen.Buttons, (std::vector<std::string>{"&Ja", "&Nein"}));
  EXPECT_EQ(ShowAndAnswer(
                question, [](HWND dialog) { Press(dialog, VK_ESCAPE); }, seen),
            mrNo);
  // The close box answers 2.
  EXPECT_EQ(ShowAndAnswer(
                question, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }, seen),
            mrCancel);
}

TEST(MessageDialog, ALongTextWrapsAtHalfTheScreen) {
  Seen shortSeen, longSeen;
  const auto close = [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); };
  ShowAndAnswer([] { return MyMessageDlg("Kurz.", mkInformation, ButtonBit(mbOK), false, 0); }, close, shortSeen);
  std::string words;
  for (int i = 0; i < 60; ++i) words += "Installationsverzeichnis ";
  ShowAndAnswer([&] { return MyMessageDlg(words, mkError, ButtonBit(mbOK), false, 0); }, close, longSeen);
  EXPECT_EQ(longSeen.Caption, "Fehler");
  EXPECT_GT(longSeen.Client.bottom, shortSeen.Client.bottom);
  EXPECT_LE(longSeen.Client.right, GetSystemMetrics(SM_CXSCREEN) / 2 + 32 + 100);
}

}  // namespace
