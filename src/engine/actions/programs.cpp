#include "engine/actions/programs.h"

#include <windows.h>

#include "engine/install_object.h"
#include "engine/run_report.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/run_process.h"
#include "sys/text.h"

namespace {

// At most this many close requests per window, each followed by a pause.
constexpr int kCloseRequests = 4;
constexpr DWORD kClosePauseMs = 500;
// A window that does not answer a close request within this time is hung.
constexpr UINT kCloseAnswerMs = 5000;

HWND FindProgramWindow(const std::string& windowClass, const std::string& title) {
  // An empty title stands for any title of the class.
  return FindWindowA(windowClass.c_str(), title.empty() ? nullptr : title.c_str());
}

// Splits a command into its program and arguments. A quoted program is taken
// as it stands; otherwise the longest leading part that names an existing
// file, so that a path with blanks stays whole; else the split at the last blank.
void SplitCommand(const std::string& command, std::string& program, std::string& arguments) {
  if (SplitQuotedProgram(command, program, arguments)) {
    arguments = Trim(arguments);
    return;
  }
  for (size_t end = command.size(); end != std::string::npos && end > 0; end = command.rfind(' ', end - 1)) {
    if (FileExists(command.substr(0, end))) {
      program = command.substr(0, end);
      arguments = Trim(command.substr(end));
      return;
    }
  }
  const size_t blank = command.rfind(' ');
  program = command.substr(0, blank);
  arguments = blank == std::string::npos ? std::string() : Trim(command.substr(blank + 1));
}

void StartProgram(TInstallObject& object, const std::string& line, bool wait) {
  std::string program, arguments;
  SplitCommand(Trim(object.ExpandPlaceholders(line)), program, arguments);
  if (Trim(program).empty()) return;
  const std::string command = QuotedIfBlank(FileNamePart(program)) + " " + arguments;
  // The window stays out of the way while the installer waits for the
  // program; a window that is hidden (-hide) stays hidden.
  const bool shown = IsWindowVisible(object.OwnerWindow) != FALSE;
  if (wait && shown) ShowWindow(object.OwnerWindow, SW_MINIMIZE);
  object.Log("Starte Programm: " + command);
  RunProcess(command, FolderPart(program), wait ? -1 : 0);
  if (shown) ShowWindow(object.OwnerWindow, SW_RESTORE);
}

}  // namespace

bool ClosePrograms(TInstallObject& object, const std::vector<std::string>& lines, bool close) {
  for (const std::string& line : lines) {
    std::string windowClass, title;
    SplitAtLast(line, '=', windowClass, title);
    if (windowClass.empty()) continue;
    HWND window = FindProgramWindow(windowClass, title);
    if (!window) continue;
    object.Log(FormatText("Beende Programm:    %s", title.c_str()));
    for (int request = 0; close && window && request < kCloseRequests; ++request) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseAnswerMs, &answer);
      Sleep(kClosePauseMs);
      window = FindProgramWindow(windowClass, title);
    }
    if (window) {
      LogError(object, "Programm " + title + " ", "beendet");
      return false;
    }
  }
  return true;
}

void RunProg(TInstallObject& object) {
  if (!object.Settings) return;
  StartProgram(object, object.Settings->RunProg, false);
  StartProgram(object, object.Settings->RunProgWait, true);
}
