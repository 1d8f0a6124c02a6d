// The run mode and start flags that the program entry derives from the command line.
#pragma once

#include <cstdint>
#include <string>

enum TRunMode : uint8_t {
  rmNone = 0,         // the program ends without a window
  rmInstall = 1,      // interactive installation
  rmAutoInstall = 2,  // completion of an earlier installation after a restart
  rmUninstall = 3,    // uninstallation
  rmClearup = 4,      // clear-up of what an uninstallation left
};

// Uninstalling and clearing up share their log file and write no error record.
inline bool IsUninstallSide(TRunMode runMode) { return runMode == rmUninstall || runMode == rmClearup; }

struct RunOptions {
  TRunMode RunMode = rmNone;
  uint8_t AutoRun = 0;
  uint8_t Invisible = 0;
  uint8_t Forced = 0;
  // Preset installation folder ("-path:"), in UTF-8 as typed: it may not
  // exist yet and may hold letters the code page lacks.
  std::string PathArg;
  std::string ModeArg;  // record file the run mode works from, as the A functions reach it
};
