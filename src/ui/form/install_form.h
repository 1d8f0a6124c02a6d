// The installer's only window: it initialises the install engine for the run
// mode, waits for the user to confirm the operation (or starts it by itself),
// shows status text and progress while it runs, shows the outcome, and writes
// the run's records and log after every operation.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "engine/install_object.h"
#include "engine/report_collector.h"
#include "start/run_options.h"
#include "sys/run_process.h"
#include "ui/form/form_controls.h"
#include "ui/message_dialog.h"

class TFormInstall {
 public:
  explicit TFormInstall(const RunOptions& options);
  ~TFormInstall();
  TFormInstall(const TFormInstall&) = delete;
  TFormInstall& operator=(const TFormInstall&) = delete;

  // Handles the window's messages until it is closed; returns the exit code
  // of the run.
  int Run();

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
  bool EditInstallPathKeyPress(char typed);

  // Initialisation and the state of the controls.
  void InstallInit();
  void TakeOverEngineState();
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
  // Shows and logs the outcome (and logNote after it), writes the records
  // and the log, and sets the controls as finished.
  void Finish(int result, const char* logNote = nullptr);
  void Log(const std::string& text);
  void ShowAndLog(const std::string& text);
  void SaveRecords();

  // The folder box.
  bool AcceptFolder(const std::string& folder) const;
  // Gives the label the progress bar's room too, for the reason of a failed start.
  void ShowWholeReason();
  void ResetInstallPath();
  void ButtonDirClick();
  std::string EditText() const;

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

  bool deleteShared_ = false;
  bool mayClose_ = false;
  bool allowed_ = false;
  int initResult_ = 0;
  std::string versionText_;
  bool rebootQuestion_ = true;
  std::string logPath_;
  std::string ownDir_;
  std::string uninstDir_;
  std::string installPath_;
  std::string proposedPath_;  // the folder the initialisation proposed
  std::string productName_;
  std::string supportUrl_;
  std::string regMachine_, regUser_;
  bool baseMissing_ = false, update_ = false;
  bool isNT_ = false, isAdmin_ = false;
  std::unique_ptr<TInstallObject> object_;
  DialogQuestions questions_;  // the clear-up's questions
  ReportCollector lists_;
  int statusShown_ = 0;  // the collector's status count last shown
  PumpInterval pumpInterval_;

  // What the exit code is made of.
  int result_ = 0;
  bool restartNeeded_ = false;
  bool operationRan_ = false;
};
