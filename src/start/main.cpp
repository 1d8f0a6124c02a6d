// Program entry: one instance at a time, run mode and start flags from the
// command line, then the installer window until it closes.
#include <windows.h>

#include "start/command_line.h"
#include "start/exit_codes.h"

namespace {

const char kMutexName[] = "ZQInstallNew";

std::string OwnPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

// The arguments after the program name.
std::vector<std::string> Arguments() {
  std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kMutexName);
  if (!mutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return ecAlreadyRunning;
  }
  const RunOptions options = ParseRunOptions(OwnPath(), Arguments());
  if (options.RunMode != rmNone) {
    // The installer window is created here and runs the message loop until it closes.
  }
  CloseHandle(mutex);
  return 0;
}
