// The installer window's folder box: the folder browser, and the way back to
// the proposed folder.
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/shell_path_dialog.h"
#include "sys/text.h"
#include "ui/form/install_form.h"
#include "ui/form/path_input.h"

// The folder box falls back to the folder the initialisation proposed.
void TFormInstall::ResetInstallPath() {
  SetWindowTextA(editInstallPath_, WithoutTrailingBackslash(proposedPath_).c_str());
}

std::string TFormInstall::EditText() const {
  char text[MAX_PATH + 1] = {};
  GetWindowTextA(editInstallPath_, text, sizeof text);
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
  if (chosen)
    SetWindowTextA(editInstallPath_,
                   ChosenFolderText(WithTrailingBackslash(dialog.Path), session_->Facts().ProductName).c_str());
  else if (!IsValidLocalPath(EditText()))
    ResetInstallPath();
}
