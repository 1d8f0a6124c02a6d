// The installer window's keys: it sees them before its controls do, answers
// Ctrl+I, Ctrl+L and Ctrl+H, and keeps characters that no folder name may
// hold out of the folder box.
#include "sys/file_system.h"
#include "sys/shell_open.h"
#include "ui/form/install_form.h"
#include "ui/form/path_input.h"

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

}  // namespace

bool TFormInstall::PreviewKey(const MSG& message) {
  if (message.message == WM_KEYDOWN && (message.hwnd == window_ || IsChild(window_, message.hwnd)))
    return FormKeyDown(message.wParam);
  if (message.message == WM_CHAR && message.hwnd == editInstallPath_)
    return !EditInstallPathKeyPress(message.wParam);
  return false;
}

bool TFormInstall::FormKeyDown(WPARAM key) {
  if (options_.AutoRun || !Held(VK_CONTROL) || Held(VK_SHIFT) || Held(VK_MENU)) return false;
  switch (key) {
    case 'I':
      ShowAbout();
      return true;
    case 'L':
      OpenLog();
      return true;
    case 'H':
      OpenSupportPage();
      return true;
    default:
      return false;
  }
}

// The loop reads the edit box's characters whole (UTF-16): a letter beyond
// ASCII is a letter, whatever its low byte.
bool TFormInstall::EditInstallPathKeyPress(WPARAM typed) {
  return typed > 0x7F || KeepsFolderChar(static_cast<char>(typed), Held(VK_CONTROL));
}

void TFormInstall::ShowAbout() const {
  const std::string& version = session_->InstallerVersion();
  if (version.empty()) return;
  const std::string& name = session_->Facts().ProductName;
  const std::string product = name.empty() ? "Quotaline" : name;
  MyMessageDlg(product + "\r\nInstaller Version: " + version + "\r\nzqsetup, das Installationsprogramm von Quotaline",
               mkInformation, ButtonBit(mbOK), false, 0);
}

void TFormInstall::OpenLog() const {
  const std::string& log = session_->LogPath();
  if (log.empty() || !FileExists(log)) return;
  if (!OpenWithAssociatedProgram(log, "", false)) OpenWithAssociatedProgram(log, ".txt", false);
}

void TFormInstall::OpenSupportPage() const {
  const std::string& page = session_->Facts().SupportUrl;
  if (!page.empty()) OpenWithAssociatedProgram(page, ".htm", true);
}
