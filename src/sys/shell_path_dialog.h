// The shell's folder browser, for picking the installation folder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

class TShellPathDlg {
 public:
  explicit TShellPathDlg(HWND owner);
  ~TShellPathDlg();
  TShellPathDlg(const TShellPathDlg&) = delete;
  TShellPathDlg& operator=(const TShellPathDlg&) = delete;

  // Shows the browser below the computer's drives; true when the user chose a
  // file-system folder, which Path then holds (without trailing backslash),
  // with every letter, also those the code page lacks.
  // Nothing is shown without an owner window.
  bool Execute();

  std::string Title;       // text above the folder tree
  std::wstring Path;       // folder to preselect; the chosen folder afterwards, in full
  std::string StatusText;  // text of the status line
  std::string Caption;     // caption of the dialog, with SetCaption
  bool ShowStatus = false;
  bool StatusShowsPath = false;  // status line: current folder + StatusText
  bool SetCaption = false;
  HWND OwnerWindow = nullptr;
  HWND DialogWindow = nullptr;  // while the dialog is open
  bool IsOpen = false;

 private:
  static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);
  void Initialized(HWND window);
  void SelectionChanged(HWND window, LPCITEMIDLIST item);
  void ShowStatusLine(HWND window, const std::wstring& text) const;
};
