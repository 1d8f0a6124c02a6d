// What the installer window shows for its run mode: the controls before and
// after the operation. Platform-free.
#pragma once

#include "engine/run_options.h"

struct ControlSettings {
  const char* Caption;        // the window's caption
  const char* Message;        // the status text, or nullptr to keep the one shown
  bool FolderEnabled;         // the folder box and its browse button
  const char* ButtonCaption;  // the button that runs the operation
  bool ButtonEnabled;
  int ButtonTag;  // 1: a click closes the window
};

// The controls for the run mode: ready for its operation, or finished (after
// the operation or a failed initialisation). busy: the operation starts by
// itself (-autorun, -hide); newInstallation: no earlier installation whose
// folder an update keeps.
ControlSettings ControlsFor(TRunMode runMode, bool finished, bool busy, bool newInstallation);
