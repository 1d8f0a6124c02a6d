#include "sys/run_process.h"

#include <windows.h>

#include <algorithm>

#include "sys/path_text.h"
#include "sys/text.h"

namespace {

// How long work may report without a round through the message queue.
const DWORD kPumpIntervalMs = 15;

enum class Pumped { None, Message, Quit };

Pumped PumpOne() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return Pumped::None;
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return Pumped::Quit;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return Pumped::Message;
}

// Waits for the process while handling posted and sent messages. A wake-up
// without a message to remove (a sent message, which the peek has already
// handled) is no reason to stop waiting. Once the quit message has been seen
// the window is closing: the rest of the wait handles no more messages.
// Returns whether the process has ended.
bool WaitHandlingMessages(HANDLE process) {
  for (;;) {
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_POSTMESSAGE | QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;
    if (PumpOne() == Pumped::Quit) return WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0;
  }
}

// The command line with its program (quoted, or up to the first blank) taken
// from folder. The path is quoted: a folder with blanks such as "C:\Program
// Files" must not be read as the program "C:\Program".
std::string InFolder(const std::string& commandLine, const std::string& folder) {
  if (folder.empty()) return commandLine;
  std::string program, rest;
  if (!SplitQuotedProgram(commandLine, program, rest)) {
    const size_t end = std::min(commandLine.find(' '), commandLine.size());
    program = commandLine.substr(0, end);
    rest = commandLine.substr(end);
  }
  return "\"" + WithTrailingBackslash(folder) + program + "\"" + rest;
}

}  // namespace

bool PumpMessage() { return PumpOne() != Pumped::None; }

bool PumpInterval::Due() {
  const DWORD now = GetTickCount();
  if (now - last_ < kPumpIntervalMs) return false;
  last_ = now;
  return true;
}

void PumpWaitingMessages() {
  Pumped pumped;
  do pumped = PumpOne();
  while (pumped == Pumped::Message);
}

bool RunProcess(const std::string& commandLine, const std::string& folder, int wait) {
  if (Trim(commandLine).empty()) return false;
  std::string command = InFolder(commandLine, folder);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEOFFFEEDBACK;
  startup.wShowWindow = SW_MINIMIZE;  // minimised, and the installer keeps the focus
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  bool result = true;
  if (wait > 0)
    WaitForSingleObject(process.hProcess, static_cast<DWORD>(wait));
  else if (wait < 0)
    result = WaitHandlingMessages(process.hProcess);
  CloseHandle(process.hProcess);
  return result;
}
