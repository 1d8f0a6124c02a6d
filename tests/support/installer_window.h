// The installer as a user meets it: started with a command line, its window
// found on the screen, its controls read, clicked and typed into, its dialogs
// read and answered, and its exit code awaited.
#pragma once

#include <windows.h>

#include <string>

class InstallerRun {
 public:
  explicit InstallerRun(const std::string& commandLine);
  ~InstallerRun();  // ends a process that is still running
  InstallerRun(const InstallerRun&) = delete;
  InstallerRun& operator=(const InstallerRun&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }
  // The installer window once it is visible, or null after timeoutMs.
  HWND Window(DWORD timeoutMs = 30000);
  // Waits until the install button shows caption and is enabled.
  bool WaitForButton(const std::string& caption, DWORD timeoutMs = 60000);

  std::string Caption();
  std::string Text(int controlId);
  bool Enabled(int controlId);
  int Progress();
  // Posts a click to the control, as a mouse click arrives.
  void Click(int controlId);
  // Types text into the control, character by character, through the queue.
  void Type(int controlId, const std::string& text);
  void Type(int controlId, const std::wstring& text);
  // The control's text with every letter.
  std::wstring WideText(int controlId);
  // Replaces the control's text.
  void SetText(int controlId, const std::string& text);
  // Asks the window to close, as its close box does.
  void Close();
  // Brings the window to the front and presses Ctrl with the key on the keyboard.
  void PressCtrl(char key);

  // A visible top-level window of the process with that class (and caption,
  // when given), or null after timeoutMs.
  HWND WaitForWindow(const char* windowClass, const char* caption, DWORD timeoutMs = 30000);
  // The message dialog's text (all its labels, joined) and a click on its
  // button with the caption.
  static std::string DialogText(HWND dialog);
  static void ClickDialogButton(HWND dialog, const std::string& caption);

  // Whether any window of the process has been visible so far.
  bool AnyWindowVisible() const;
  // The exit code once the process ends, or -1 after timeoutMs.
  int Wait(DWORD timeoutMs = 60000);

 private:
  HWND Control(int controlId);
  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
};

// Text of a window of another process, without waiting long for a busy one.
std::string WindowText(HWND window);
