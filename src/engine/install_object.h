// The install engine: one object per process performs one run (installation,
// completion after a restart, uninstallation or clear-up) over the run's
// state. All its output goes through one reporting procedure; every
// operation returns a result code.
#pragma once

#include <cstdint>
#include <string>

#include "engine/report.h"
#include "engine/run_state.h"

class TInstallObject : public RunState {
 public:
  TInstallObject();
  ~TInstallObject();
  TInstallObject(const TInstallObject&) = delete;
  TInstallObject& operator=(const TInstallObject&) = delete;

  // Calls the reporting procedure if one is set.
  void Report(uint8_t kind, const std::string& text, uint8_t flags) const;
  // Appends a line to the run's log.
  void Log(const std::string& text) const;

  // Expands the placeholders of the table in text (trimmed, backslash pairs collapsed).
  std::string ExpandPlaceholders(const std::string& text) const;

  // The initialisers DoInit runs. For installing: writes and unpacks the payload into
  // the working folder and reads its install.ini.
  int DoInitInstall();
  // Run initialisation for the completion after a restart: reads the error record.
  int DoInitAutoInstall(const std::string& errorRecord);

  // Run initialisation for uninstalling: reads the uninstall record.
  int DoInitUninstall(const std::string& record);
  // Run initialisation for clearing up: reads the folders an uninstallation
  // left from the record (by default uninst.ini beside the program).
  int DoInitClearup(const std::string& record);
  // Stores the reporting procedure, logs the run's start and the folders it
  // reaches by their short names, and runs the initialiser of the run mode;
  // a folder the run needs that has no form the A functions reach gives -33
  // before anything is done, any other mode -2.
  int DoInit(ReportProc report, int runMode, const std::string& argument);

  // Installs into folder (which must exist): the steps in their order, then
  // the outcome in the product's key; restartNeeded tells whether files wait
  // for the next start of the system.
  int DoInstall(const std::string& folder, bool& restartNeeded);
  // Completes an installation after a restart from its error record.
  int DoAutoInstall();
  // Undoes the installation of the uninstall record.
  int DoUninstall();
  // Deletes the folders an uninstallation left and the product's keys.
  int DoClearup();

  // What the initialisation read: from the settings of an installation or
  // completion, else from the uninstall record.
  bool DeleteShared() const;
  bool Update() const;
  bool BaseMissing() const;
  std::string RegMachine() const;
  std::string RegUser() const;

  ReportProc ReportProcedure;
};
