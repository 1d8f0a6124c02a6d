// Program entry: one instance at a time, run mode and start flags from the
// command line, then the installer window until it closes.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "engine/actions/reboot_info.h"
#include "start/exit_codes.h"
#include "start/full_command_line.h"
#include "sys/file_system.h"
#include "sys/library_proc.h"
#include "sys/system_library.h"
#include "ui/form/install_form.h"

namespace {

// One installer at a time on the whole machine, in every session: the guard
// of the global namespace, and the session's own, which earlier versions and
// systems without the global namespace know.
const char* const kMutexNames[] = {"Global\\ZQInstallNew", "ZQInstallNew"};

// Takes the guards; false when another instance holds one. A system that
// knows no global namespace refuses that name: the session's guard serves.
bool TakeGuards(std::vector<HANDLE>& held) {
  for (const char* name : kMutexNames) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
    const DWORD error = GetLastError();
    // An administrator's guard is closed to other users: someone holds it.
    if (!mutex && error == ERROR_ACCESS_DENIED) return false;
    if (!mutex) continue;
    held.push_back(mutex);
    if (error == ERROR_ALREADY_EXISTS) return false;
  }
  return !held.empty();
}

void ReleaseGuards(const std::vector<HANDLE>& held) {
  for (HANDLE mutex : held) CloseHandle(mutex);
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
  const RunOptions options = CommandLineOptions();
  std::vector<HANDLE> guards;
  if (!TakeGuards(guards)) {
    ReleaseGuards(guards);
    // The system started the completion once; it must wait for the next start.
    if (options.RunMode == rmAutoInstall) ArmCompletionAgain(OwnFilePath(), GetCommandLineA());
    return ecAlreadyRunning;
  }
  int exitCode = ecSuccess;
  if (options.RunMode != rmNone) {
    LoadCommonControls();
    TFormInstall form(options);
    const RunOutcome outcome = form.Run();
    exitCode = RunExitCode(outcome.Result, outcome.RestartNeeded, outcome.Cancelled);
  }
  ReleaseGuards(guards);
  return exitCode;
}
