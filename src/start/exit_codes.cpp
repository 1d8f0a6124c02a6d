#include "start/exit_codes.h"

int RunExitCode(int result, bool restartNeeded, bool cancelled) {
  if (cancelled) return ecCancelled;
  if (result < 0) return -result;
  return restartNeeded ? ecRestartNeeded : ecSuccess;
}
