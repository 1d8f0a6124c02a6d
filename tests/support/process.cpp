#include "support/process.h"

#include "sys/wide_text.h"

int RunProgram(const std::string& commandLine, std::string* output, DWORD timeoutMs) {
  return RunProgram(AnsiToWide(commandLine), output, timeoutMs);
}

int RunProgram(const std::wstring& commandLine, std::string* output, DWORD timeoutMs) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process = {};
  std::wstring line = commandLine;
  const BOOL started =
      CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return -1;
  }
  // Read while the program runs, and what is left once it has ended: a process
  // it started (Wine's desktop process too) may hold the pipe open for longer.
  std::string collected;
  const auto drain = [&] {
    char buffer[4096];
    DWORD available = 0, read = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(readEnd, buffer, available < sizeof buffer ? available : sizeof buffer, &read, nullptr) && read)
      collected.append(buffer, read);
  };
  DWORD exitCode = static_cast<DWORD>(-1);
  const DWORD start = GetTickCount();
  for (;;) {
    drain();
    if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
      drain();
      GetExitCodeProcess(process.hProcess, &exitCode);
      break;
    }
    if (GetTickCount() - start > timeoutMs) {
      TerminateProcess(process.hProcess, 1);
      break;
    }
  }
  CloseHandle(readEnd);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (output) *output = collected;
  return static_cast<int>(exitCode);
}
