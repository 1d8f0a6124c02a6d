// The installer window's folder box: the folder browser, and the way back to
// the proposed folder.
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/shell_path_dialog.h"
#include "sys/text.h"
#include "sys/wide_text.h"
#include "ui/form/install_form.h"
#include "ui/form/path_input.h"

// The folder box falls back to the folder the initialisation proposed.
void TFormInstall::ResetInstallPath() { SetWindowTextW(editInstallPath_, proposedPath_.c_str()); }

std::wstring TFormInstall::EditText() const {
  wchar_t text[MAX_PATH + 1] = {};
  GetWindowTextW(editInstallPath_, text, MAX_PATH + 1);
  return text;
}

void TFormInstall::ButtonDirClick() {
  TShellPathDlg dialog(window_);
  dialog.Caption = "Installationspfad wählen...";
  dialog.SetCaption = true;
  dialog.ShowStatus = false;
  dialog.Path = EditText();
  bool chosen = false;
  try {
    chosen = dialog.Execute();
  } catch (...) {
    chosen = false;  // counts as cancelled
  }
  // The product's name is joined to the chosen folder in UTF-8, which keeps every letter of both.
  const std::string product = WideToUtf8(AnsiToWide(session_->Facts().ProductName));
  if (chosen)
    SetWindowTextW(editInstallPath_, Utf8ToWide(ChosenFolderText(WideToUtf8(dialog.Path) + "\\", product)).c_str());
  else if (!IsValidLocalPath(PathShape(EditText())))
    ResetInstallPath();
}
