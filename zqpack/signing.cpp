#include "signing.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

#ifdef _WIN32
// The argument as a Windows program's runtime splits it back out of a
// command line: quoted when it holds blanks or quotes, backslashes before a
// quote doubled.
std::string QuotedArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}
#endif

// Runs the program, found on the search path, with the arguments; its exit
// code, or -1 when it could not be started.
int RunTool(const std::vector<std::string>& arguments) {
#ifdef _WIN32
  std::string commandLine;
  for (const std::string& argument : arguments)
    commandLine += (commandLine.empty() ? "" : " ") + QuotedArgument(argument);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
#else
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
#endif
}

}  // namespace

void SignInstaller(const std::string& path, const SigningOptions& options) {
  const std::string signedPath = path + ".signed";
  std::vector<std::string> command = {"osslsigncode", "sign", "-pkcs12", options.Pkcs12, "-n", "Quotaline"};
  if (!options.PasswordFile.empty()) command.insert(command.end(), {"-readpass", options.PasswordFile});
  if (!options.TimestampUrl.empty()) command.insert(command.end(), {"-t", options.TimestampUrl});
  command.insert(command.end(), {"-in", path, "-out", signedPath});
  const int result = RunTool(command);
  // Windows does not rename onto an existing file: the unsigned one goes first.
  if (result != 0 || std::remove(path.c_str()) != 0 || std::rename(signedPath.c_str(), path.c_str()) != 0) {
    std::remove(signedPath.c_str());
    std::remove(path.c_str());
    throw std::runtime_error(result == -1 ? "cannot run osslsigncode (is it installed?)"
                                          : "osslsigncode could not sign " + path + " (exit code " +
                                                std::to_string(result) + ")");
  }
}
