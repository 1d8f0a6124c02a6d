// The installer window's initialisation and operations: the engine's run
// for the run mode, its outcome on the screen and in the records and the log.
#include <windows.h>

#include <commctrl.h>

#include "engine/records/record_file.h"
#include "engine/guarded.h"
#include "engine/result_codes.h"
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


}  // namespace

void TFormInstall::InstallInit() {
  if (!options_.Invisible) ShowWindow(window_, SW_SHOWNORMAL);
  {
    WaitCursor wait;
    mayClose_ = false;
    const DWORD start = GetTickCount();
    object_->InstallerVersion = versionText_;
    object_->Asker = &questions_;
    initResult_ = Guarded([this] {
      const int result = object_->DoInit([this](uint8_t kind, const std::string& text,
                                                uint8_t flags) { lists_.Receive(kind, text, flags); },
                                         options_.RunMode, options_.ModeArg);
      TakeOverEngineState();
      return result;
    });
    result_ = initResult_;
    if (initResult_ != 0) {
      ShowWholeReason();
      ShowAndLog(InitFailureText(initResult_));
      SaveRecords();
    } else {
      Log(FormatText("Time to init: %lu ms", GetTickCount() - start));
    }
    SetControls(initResult_ != 0);
  }
  mayClose_ = true;
  if (options_.AutoRun) PostMessageA(window_, WM_INSTALLSTART, options_.RunMode, 0);
}

void TFormInstall::TakeOverEngineState() {
  SendMessageA(editInstallPath_, EM_LIMITTEXT, 260, 0);
  rebootQuestion_ = object_->OfferReboot != 0;
  uninstDir_ = object_->UninstDir;
  productName_ = object_->ProductName;
  baseMissing_ = object_->BaseMissing();
  installPath_ = object_->InstallDir;
  deleteShared_ = object_->DeleteShared();
  update_ = object_->Update();
  regUser_ = object_->RegUser();
  regMachine_ = object_->RegMachine();
  if (object_->Settings) supportUrl_ = object_->Settings->SupportUrl;
  if (baseMissing_ && !options_.PathArg.empty()) installPath_ = WithTrailingBackslash(options_.PathArg);
  proposedPath_ = installPath_;
  SetWindowTextA(editInstallPath_, WithoutTrailingBackslash(installPath_).c_str());
}

void TFormInstall::SetControls(bool finished) {
  const ControlSettings settings =
      ControlsFor(options_.RunMode, finished, options_.AutoRun || options_.Invisible, baseMissing_);
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
  if (lists_.StatusCount() == statusShown_ && !pumpInterval_.Due()) return;
  ShowReportedState();
  PumpMessages();
}

void TFormInstall::ShowReportedState() {
  if (lists_.StatusCount() != statusShown_) {
    statusShown_ = lists_.StatusCount();
    SetMessageText(lists_.StatusText());
  }
  SendMessageA(progressBar_, PBM_SETPOS, lists_.ProgressPosition(), 0);
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

void TFormInstall::Log(const std::string& text) { lists_.Receive(rkMessage, text, rfLog); }

void TFormInstall::ShowAndLog(const std::string& text) { lists_.Receive(rkMessage, text, rfLog | rfStatus); }

void TFormInstall::ButtonInstallClick() {
  if (buttonTag_ == 1) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return;
  }
  if (!mayClose_) return;  // an operation runs already
  mayClose_ = false;
  switch (options_.RunMode) {
    case rmInstall: Install(); break;
    case rmAutoInstall: AutoInstall(); break;
    case rmUninstall: Uninstall(); break;
    case rmClearup: Clearup(); break;
    default: break;
  }
  mayClose_ = true;
  SendMessageA(progressBar_, PBM_SETPOS, 0, 0);
  if (options_.AutoRun) PostMessageA(window_, WM_CLOSE, 0, 0);
}

void TFormInstall::Install() {
  const std::string folder = WithTrailingBackslash(Trim(EditText()));
  const bool acceptable = AcceptFolder(folder);
  if (!options_.AutoRun) SetFocus(buttonInstall_);
  if (!acceptable && !options_.AutoRun) {
    MyMessageDlg("Bitte gültiges Installationsverzeichnis angeben.", mkError, ButtonBit(mbOK), false, 0);
    ResetInstallPath();
    return;
  }
  WaitCursor wait;
  const DWORD start = GetTickCount();
  bool restart = false;
  int result = rcCreateFolder;  // unattended, a folder that cannot be used fails the run
  if (acceptable) {
    installPath_ = folder;
    EnableWindow(buttonInstall_, FALSE);
    result = rcNeedAdmin;
    if (allowed_) {
      result = Guarded([this, &folder, &restart] { return object_->DoInstall(folder, restart); });
      uninstDir_ = object_->UninstDir;
    } else {
      object_->RemoveCreatedFolders(false);
    }
  }
  Log(FormatText("Time to install: %lu ms", GetTickCount() - start));
  restartNeeded_ = result == 0 && restart;
  Finish(result, restartNeeded_ ? "Reboot nötig" : nullptr);
  if (restartNeeded_ && !options_.AutoRun) AskForRestart();
}

void TFormInstall::AskForRestart() {
  if (!rebootQuestion_) {
    MyMessageDlg(kPendingNotice, mkConfirmation, ButtonBit(mbOK), false, 0);
    return;
  }
  if (MyMessageDlg(kRestartQuestion, mkConfirmation, ButtonBit(mbYes) | ButtonBit(mbNo), false, 0) == mrYes)
    RestartWindows();
}

void TFormInstall::AutoInstall() {
  if (!(options_.AutoRun || options_.Invisible)) SetFocus(buttonInstall_);
  WaitCursor wait;
  Finish(allowed_ ? Guarded([this] { return object_->DoAutoInstall(); }) : rcNeedAdmin);
}

void TFormInstall::Uninstall() {
  if (!options_.Invisible) SetFocus(buttonInstall_);
  EnableWindow(buttonInstall_, FALSE);
  WaitCursor wait;
  int result = rcNeedAdmin;
  if (allowed_) {
    result = Guarded([this] { return object_->DoUninstall(); });
    uninstDir_ = object_->UninstDir;
  }
  Finish(result);
}

void TFormInstall::Clearup() {
  if (!(options_.AutoRun || options_.Invisible)) SetFocus(buttonInstall_);
  EnableWindow(buttonInstall_, FALSE);
  WaitCursor wait;
  Finish(allowed_ ? Guarded([this] { return object_->DoClearup(); }) : rcNeedAdmin);
}

void TFormInstall::Finish(int result, const char* logNote) {
  operationRan_ = true;
  result_ = result;
  ShowAndLog(OutcomeText(options_.RunMode, result, update_));
  if (logNote) Log(logNote);
  SaveRecords();
  SetControls(true);
  EnableWindow(buttonInstall_, TRUE);
}

void TFormInstall::SaveRecords() {
  const RecordInfo info{installPath_, regUser_, regMachine_, versionText_, productName_, deleteShared_};
  logPath_ = ::SaveRecords(lists_, info, uninstDir_, ownDir_, options_.RunMode);
}
