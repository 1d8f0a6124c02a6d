#include "sys/shell_path_dialog.h"

#include <shlobj.h>

#include "sys/shell_folders.h"
#include "sys/wide_text.h"

namespace {

void SendSelection(HWND window, const std::wstring& path) {
  SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

}  // namespace

TShellPathDlg::TShellPathDlg(HWND owner) : OwnerWindow(owner) {}

TShellPathDlg::~TShellPathDlg() {
  if (IsOpen && DialogWindow) PostMessageA(DialogWindow, WM_CLOSE, 0, 0);
}

bool TShellPathDlg::Execute() {
  if (!OwnerWindow) return false;
  LPITEMIDLIST root = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(OwnerWindow, sfiDrives, &root))) root = nullptr;
  wchar_t displayName[MAX_PATH] = {};
  const std::wstring title = AnsiToWide(Title);
  BROWSEINFOW info = {};
  info.hwndOwner = OwnerWindow;
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | (ShowStatus ? BIF_STATUSTEXT : 0);
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  IsOpen = true;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
  IsOpen = false;
  DialogWindow = nullptr;
  bool result = false;
  if (chosen) {
    wchar_t path[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListW(chosen, path) && path[0]) {
      Path = WithoutTrailingBackslash(path);
      result = true;
    }
    CoTaskMemFree(chosen);
  }
  if (root) CoTaskMemFree(root);
  return result;
}

int CALLBACK TShellPathDlg::BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data) {
  try {
    auto* dialog = reinterpret_cast<TShellPathDlg*>(data);
    if (message == BFFM_INITIALIZED)
      dialog->Initialized(window);
    else if (message == BFFM_SELCHANGED)
      dialog->SelectionChanged(window, reinterpret_cast<LPCITEMIDLIST>(parameter));
  } catch (...) {
  }
  return 0;
}

void TShellPathDlg::Initialized(HWND window) {
  DialogWindow = window;
  if (SetCaption) {
    SetWindowTextA(window, Caption.c_str());
    SendSelection(window, WithoutTrailingBackslash(Path));
  }
  if (ShowStatus) ShowStatusLine(window, StatusShowsPath ? Path + AnsiToWide(StatusText) : AnsiToWide(StatusText));
}

void TShellPathDlg::SelectionChanged(HWND window, LPCITEMIDLIST item) {
  // The tree may select its first folder before the dialog is initialised;
  // that must not replace the folder to preselect.
  if (!DialogWindow) return;
  wchar_t path[MAX_PATH + 1] = {};
  if (!item || !SHGetPathFromIDListW(item, path) || !path[0]) return;
  const std::wstring selected = WithoutTrailingBackslash(path);
  if (selected != Path) {
    // Sending the selection again raises another change message; only a new
    // folder is sent, so the two do not call each other without end.
    Path = selected;
    SendSelection(window, Path);
  }
  if (ShowStatus && StatusShowsPath) ShowStatusLine(window, Path + AnsiToWide(StatusText));
}

void TShellPathDlg::ShowStatusLine(HWND window, const std::wstring& text) const {
  SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
