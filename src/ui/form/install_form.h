// The installer's only window: it initialises the install engine for the run
// mode, waits for the user to confirm the operation (or starts it by itself),
// shows status text and progress while it runs, shows the outcome, and writes
// the run's records and log after every operation.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "engine/run_options.h"
#include "engine/session/run_session.h"
#include "sys/run_process.h"
#include "ui/form/form_controls.h"
#include "ui/message_dialog.h"

class TFormInstall {
 public:
  explicit TFormInstall(const RunOptions& options);
  ~TFormInstall();
  TFormInstall(const TFormInstall&) = delete;
  TFormInstall& operator=(const TFormInstall&) = delete;

  // Handles the window's messages until it is closed; returns what the exit
  // code of the run is made of.
  RunOutcome Run();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  // Building and tearing down.
  void FormCreate();
  void CreateControls();
  void FormDestroy();
  bool FormCloseQuery() const { return mayClose_; }

  // Messages from the queue: the window sees keys before its controls do.
  void Dispatch(MSG& message);
  void PumpMessages();
  bool PreviewKey(const MSG& message);
  bool FormKeyDown(WPARAM key);
  bool EditInstallPathKeyPress(WPARAM typed);

  // Initialisation and the state of the controls.
  void InstallInit();
  void ShowProposedFolder();
  void SetControls(bool finished);
  // Called before and after each report of the engine.
  void OnReport();
  void ShowReportedState();
  void SetMessageText(const std::string& text);

  // The operations.
  void ButtonInstallClick();
  void Install();
  void AskForRestart();
  void AutoInstall();
  void Uninstall();
  void Clearup();
  // Runs the operation (an installation into folder) and sets the controls
  // as finished.
  int Operate(const std::string& folder = "");

  // The folder box.
  // Gives the label the progress bar's room too, for the reason of a failed start.
  void ShowWholeReason();
  void ResetInstallPath();
  void ButtonDirClick();
  std::wstring EditText() const;

  // Ctrl+I, Ctrl+L and Ctrl+H.
  void ShowAbout() const;
  void OpenLog() const;
  void OpenSupportPage() const;

  const RunOptions options_;
  HWND window_ = nullptr;
  HWND editInstallPath_ = nullptr, buttonDir_ = nullptr, labelMsg_ = nullptr, progressBar_ = nullptr,
       buttonInstall_ = nullptr;
  HFONT formFont_ = nullptr;
  int buttonTag_ = 0;

  bool mayClose_ = false;
  std::wstring proposedPath_;  // the folder the initialisation proposed
  std::unique_ptr<RunSession> session_;
  RunOutcome outcome_;         // taken when the window goes
  DialogQuestions questions_;  // the clear-up's questions
  int statusShown_ = 0;        // the collector's status count last shown
  PumpInterval pumpInterval_;
};
