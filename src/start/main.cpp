// Program entry: one instance at a time, run mode and start flags from the
// command line, then the installer window until it closes.
#include <windows.h>

#include <commctrl.h>

#include "start/command_line.h"
#include "start/exit_codes.h"
#include "sys/library_proc.h"
#include "sys/system_library.h"
#include "ui/form/install_form.h"

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

// The progress bar's window class, from the system folder's comctl32.dll.
void LoadCommonControls() {
  using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  if (auto init = LibraryProc<InitProc>(LoadSystemLibrary("comctl32.dll"), "InitCommonControlsEx")) init(&controls);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearch();
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kMutexName);
  if (!mutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return ecAlreadyRunning;
  }
  const RunOptions options = ParseRunOptions(OwnPath(), Arguments());
  int exitCode = ecSuccess;
  if (options.RunMode != rmNone) {
    LoadCommonControls();
    TFormInstall form(options);
    const RunOutcome outcome = form.Run();
    exitCode = RunExitCode(outcome.Result, outcome.RestartNeeded, outcome.Cancelled);
  }
  CloseHandle(mutex);
  return exitCode;
}
