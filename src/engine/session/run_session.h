// One run of the installer, as the window and the tests' console driver both
// carry it out: the engine set up for the start flags, its initialisation,
// the operation of the run mode with the rights it needs, the outcome in the
// log, and the records and the log written after each of them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/actions/file_copy.h"
#include "engine/install_object.h"
#include "engine/report_collector.h"
#include "engine/run_options.h"

class PrivateFolder;

// What the initialisation found, as the window shows it and the records'
// [Info] block carries it; the folders follow the operation.
struct RunFacts {
  std::string InstallPath;  // proposed, then the one installed into
  std::string UninstDir;
  std::string ProductName;
  std::string RegUser, RegMachine;
  std::string SupportUrl;
  bool DeleteShared = false;
  bool Update = false;
  bool BaseMissing = false;  // a new installation, whose folder can be chosen
  bool OfferReboot = true;
  // An installation's install.ini checkDotNet and [close] lines, for the record.
  std::string DotNetVersion;
  std::vector<std::string> CloseList;
};

// What the run's exit code is made of.
struct RunOutcome {
  int Result = 0;  // of the initialisation, else of the operation
  bool RestartNeeded = false;
  bool Cancelled = false;  // initialised, but no operation ran
};

class RunSession {
 public:
  // pump is called before and after each report of the engine.
  RunSession(const RunOptions& options, std::function<void()> pump);
  // The engine goes first: it deletes the run's temporary files.
  ~RunSession();
  RunSession(const RunSession&) = delete;
  RunSession& operator=(const RunSession&) = delete;

  TInstallObject& Engine() { return *object_; }
  ReportCollector& Lists() { return lists_; }
  const RunOptions& Options() const { return options_; }
  const RunFacts& Facts() const { return facts_; }
  const std::string& InstallerVersion() const { return installerVersion_; }
  const std::string& LogPath() const { return logPath_; }

  // Initialises the engine for the run mode; logs the time it took, or the
  // reason it failed and then writes the records and the log.
  int Initialise();

  // The folder the window proposes, without trailing backslash: "-path:" as
  // typed for a new installation, else the one the initialisation found.
  std::wstring ProposedFolder() const;

  // Whether the typed folder may take a new installation: a local path,
  // created with its missing parents (removed again when the installation
  // fails), whose files no ordinary user may change; folder receives it as
  // the A functions reach it, its parts with a letter the code page lacks by
  // their short names (Unreachable where they have none).
  FolderCheck AcceptFolder(const std::wstring& typed, std::string& folder);
  // Runs the operation of the run mode, an installation into folder (one
  // AcceptFolder took, or empty for one it refused), with the rights it
  // needs; then logs the outcome and writes the records and the log.
  int RunOperation(const std::string& folder);

  RunOutcome Outcome() const;
  // Writes the records and the log of the run so far.
  void SaveRecords();

 private:
  int Operate(const std::string& folder, bool& restart);
  void TakeOverEngineState();
  void Log(const std::string& text);

  const RunOptions options_;
  // An elevated run's working folder; it goes last, after the engine has
  // deleted its files.
  std::unique_ptr<PrivateFolder> privateFolder_;
  ReportCollector lists_;
  std::unique_ptr<TInstallObject> object_;
  std::string installerVersion_;
  bool allowed_ = false;  // an administrator's run, or -force
  RunFacts facts_;
  std::string logPath_;
  int initResult_ = 0;
  int result_ = 0;
  bool restartNeeded_ = false;
  bool operationRan_ = false;
  FolderCheck folderCheck_ = FolderCheck::Unusable;  // AcceptFolder's last answer
};
