// The installer's exit code, which scripts and deployment tools read.
// Platform-free.
#pragma once

enum ExitCode : int {
  ecSuccess = 0,
  ecRestartNeeded = 3010,   // installed; files wait for the next start of the system
  ecAlreadyRunning = 1618,  // another instance holds the installer's mutex
  ecCancelled = 1602,       // the user closed the window without running the operation
};

// The exit code of a run that ended with the result code (0 or -N) of its
// operation or of its failed initialisation: N for a failure.
int RunExitCode(int result, bool restartNeeded, bool cancelled);
