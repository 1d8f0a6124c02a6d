// The installer window's initialisation and operations: the run session's
// steps for the run mode, and what the window shows of them.
#include <windows.h>

#include <commctrl.h>

#include "sys/path_text.h"
#include "sys/system_info.h"
#include "sys/text.h"
#include "sys/wait_cursor.h"
#include "ui/form/form_states.h"
#include "ui/form/install_form.h"
#include "ui/message_dialog.h"

namespace {

const char kRestartQuestion[] =
    "Um die Installation abzuschließen muß\r\ndas System neu gestartet werden. Soll \r\n"
    "jetzt ein Neustart durchgeführt werden.";
const char kPendingNotice[] =
    "Einige Komponenten sind z.Z. in Verwendung und werden\r\nbeim nächsten Systemstart automatisch "
    "aktualisiert.\r\nAnstehende Transaktionen werden mit den aktuellen Komponenten durchgeführt.";
// A new installation's folder holds files that ordinary users may change.
const char kFolderOpenToOthers[] =
    "Das Verzeichnis enthält Dateien, die andere\r\nBenutzer ändern können. Bitte ein anderes\r\n"
    "Installationsverzeichnis angeben.";

// A folder with a letter the code page lacks, and without a short name.
const char kFolderUnreachable[] =
    "Das Verzeichnis hat Zeichen, die der Zeichensatz\r\nnicht kennt, und keinen Kurznamen (8.3). Bitte ein\r\n"
    "anderes Installationsverzeichnis angeben.";

const char* RefusalText(FolderCheck check) {
  switch (check) {
    case FolderCheck::OpenToOthers:
      return kFolderOpenToOthers;
    case FolderCheck::Unreachable:
      return kFolderUnreachable;
    default:
      return "Bitte gültiges Installationsverzeichnis angeben.";
  }
}

}  // namespace

void TFormInstall::InstallInit() {
  if (!options_.Invisible) ShowWindow(window_, SW_SHOWNORMAL);
  int result = 0;
  {
    WaitCursor wait;
    mayClose_ = false;
    result = session_->Initialise();
    if (result != 0) ShowWholeReason();
    ShowProposedFolder();
  }
  mayClose_ = true;
  // The button is enabled only now: a click the moment it is must find the run ready.
  SetControls(result != 0);
  if (options_.AutoRun) PostMessageA(window_, WM_INSTALLSTART, options_.RunMode, 0);
}

void TFormInstall::ShowProposedFolder() {
  SendMessageA(editInstallPath_, EM_LIMITTEXT, 260, 0);
  proposedPath_ = session_->ProposedFolder();
  SetWindowTextW(editInstallPath_, proposedPath_.c_str());
}

void TFormInstall::SetControls(bool finished) {
  const ControlSettings settings =
      ControlsFor(options_.RunMode, finished, options_.AutoRun || options_.Invisible, session_->Facts().BaseMissing);
  SetWindowTextA(window_, settings.Caption);
  if (settings.Message) SetMessageText(settings.Message);
  EnableWindow(editInstallPath_, settings.FolderEnabled);
  EnableWindow(buttonDir_, settings.FolderEnabled);
  SetWindowTextA(buttonInstall_, settings.ButtonCaption);
  buttonTag_ = settings.ButtonTag;
  EnableWindow(buttonInstall_, settings.ButtonEnabled);
  if (settings.ButtonEnabled) SetFocus(buttonInstall_);
}

void TFormInstall::OnReport() {
  // A new status text is shown at once, everything else when a round is due.
  if (!session_) return;  // the engine reports as it goes
  const ReportCollector& lists = session_->Lists();
  if (lists.StatusCount() == statusShown_ && !pumpInterval_.Due()) return;
  ShowReportedState();
  PumpMessages();
}

void TFormInstall::ShowReportedState() {
  const ReportCollector& lists = session_->Lists();
  if (lists.StatusCount() != statusShown_) {
    statusShown_ = lists.StatusCount();
    SetMessageText(lists.StatusText());
  }
  SendMessageA(progressBar_, PBM_SETPOS, lists.ProgressPosition(), 0);
}

void TFormInstall::ShowWholeReason() {
  // Nothing progresses after a failed start: the reason takes the bar's room
  // as well, so that three lines of it can be read.
  ShowWindow(progressBar_, SW_HIDE);
  RECT bar;
  GetWindowRect(progressBar_, &bar);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bar), 2);
  RECT label;
  GetWindowRect(labelMsg_, &label);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&label), 2);
  MoveWindow(labelMsg_, label.left, label.top, label.right - label.left, bar.bottom - label.top, TRUE);
}

void TFormInstall::SetMessageText(const std::string& text) { SetWindowTextA(labelMsg_, text.c_str()); }

void TFormInstall::ButtonInstallClick() {
  if (buttonTag_ == 1) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return;
  }
  if (!mayClose_) return;  // an operation runs already
  mayClose_ = false;
  switch (options_.RunMode) {
    case rmInstall:
      Install();
      break;
    case rmAutoInstall:
    case rmClearup:
      if (!(options_.AutoRun || options_.Invisible)) SetFocus(buttonInstall_);
      Operate();
      break;
    case rmUninstall:
      if (!options_.Invisible) SetFocus(buttonInstall_);
      Operate();
      break;
    default:
      break;
  }
  mayClose_ = true;
  SendMessageA(progressBar_, PBM_SETPOS, 0, 0);
  if (options_.AutoRun) PostMessageA(window_, WM_CLOSE, 0, 0);
}

void TFormInstall::Install() {
  std::string folder;
  const FolderCheck check = session_->AcceptFolder(EditText(), folder);
  if (!options_.AutoRun) SetFocus(buttonInstall_);
  if (check != FolderCheck::Ready && !options_.AutoRun) {
    MyMessageDlg(RefusalText(check), mkError, ButtonBit(mbOK), false, 0);
    ResetInstallPath();
    return;
  }
  Operate(folder);
  if (session_->Outcome().RestartNeeded && !options_.AutoRun) AskForRestart();
}

void TFormInstall::AskForRestart() {
  if (!session_->Facts().OfferReboot) {
    MyMessageDlg(kPendingNotice, mkConfirmation, ButtonBit(mbOK), false, 0);
    return;
  }
  if (MyMessageDlg(kRestartQuestion, mkConfirmation, ButtonBit(mbYes) | ButtonBit(mbNo), false, 0) == mrYes)
    RestartWindows();
}

int TFormInstall::Operate(const std::string& folder) {
  if (options_.RunMode != rmAutoInstall) EnableWindow(buttonInstall_, FALSE);
  int result = 0;
  {
    WaitCursor wait;
    result = session_->RunOperation(folder);
  }
  SetControls(true);
  EnableWindow(buttonInstall_, TRUE);
  return result;
}
