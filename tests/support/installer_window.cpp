#include "support/installer_window.h"

#include <commctrl.h>

#include "sys/wide_text.h"
#include "ui/form/form_controls.h"

namespace {

struct Search {
  DWORD ProcessId;
  const char* Class;
  const char* Caption;
  bool VisibleOnly;
  HWND Found = nullptr;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner != search.ProcessId || (search.VisibleOnly && !IsWindowVisible(window))) return TRUE;
  if (search.Class && lstrcmpiA(className, search.Class) != 0) return TRUE;
  if (search.Caption && WindowText(window) != search.Caption) return TRUE;
  search.Found = window;
  return FALSE;
}

BOOL CALLBACK CollectLabel(HWND child, LPARAM texts) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0) {
    auto& all = *reinterpret_cast<std::string*>(texts);
    const std::string text = WindowText(child);
    if (!text.empty()) all += (all.empty() ? "" : "\n") + text;
  }
  return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
  return text;
}

InstallerRun::InstallerRun(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
    process_ = {};
}

InstallerRun::~InstallerRun() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND InstallerRun::WaitForWindow(const char* windowClass, const char* caption, DWORD timeoutMs) {
  for (DWORD waited = 0; process_.hProcess; waited += 20) {
    Search search{process_.dwProcessId, windowClass, caption, true};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    if (search.Found || waited >= timeoutMs) return search.Found;
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

HWND InstallerRun::Window(DWORD timeoutMs) {
  if (!window_) window_ = WaitForWindow(kInstallFormClass, nullptr, timeoutMs);
  return window_;
}

HWND InstallerRun::Control(int controlId) { return GetDlgItem(Window(), controlId); }

bool InstallerRun::WaitForButton(const std::string& caption, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
    if (Window(0) && Text(idButtonInstall) == caption && Enabled(idButtonInstall)) return true;
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) return false;
  }
  return false;
}

std::string InstallerRun::Caption() { return WindowText(Window()); }
std::string InstallerRun::Text(int controlId) { return WindowText(Control(controlId)); }
bool InstallerRun::Enabled(int controlId) { return IsWindowEnabled(Control(controlId)) != FALSE; }

int InstallerRun::Progress() {
  DWORD_PTR position = 0;
  SendMessageTimeoutA(Control(idProgressBar), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position);
  return static_cast<int>(position);
}

void InstallerRun::Click(int controlId) { PostMessageA(Control(controlId), BM_CLICK, 0, 0); }

void InstallerRun::Type(int controlId, const std::string& text) { Type(controlId, AnsiToWide(text)); }

void InstallerRun::Type(int controlId, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(Control(controlId), WM_CHAR, c, 1);
}

std::wstring InstallerRun::WideText(int controlId) {
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(Control(controlId), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      &length);
  return text;
}

void InstallerRun::SetText(int controlId, const std::string& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(Control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                      &result);
}

void InstallerRun::Close() { PostMessageA(Window(), WM_CLOSE, 0, 0); }

void InstallerRun::PressCtrl(char key) {
  SetForegroundWindow(Window());
  Sleep(100);
  keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

std::string InstallerRun::DialogText(HWND dialog) {
  std::string texts;
  EnumChildWindows(dialog, CollectLabel, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void InstallerRun::ClickDialogButton(HWND dialog, const std::string& caption) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowText(child) == caption) PostMessageA(child, BM_CLICK, 0, 0);
}

bool InstallerRun::AnyWindowVisible() const {
  Search search{process_.dwProcessId, nullptr, nullptr, true};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.Found != nullptr;
}

int InstallerRun::Wait(DWORD timeoutMs) {
  DWORD exitCode = static_cast<DWORD>(-1);
  if (process_.hProcess && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}
