#include "signing.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

// Runs the program with the arguments; its exit code, or -1 when it could not be started.
int RunTool(const std::vector<std::string>& arguments) {
#ifdef _WIN32
  (void)arguments;
  return -1;
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
  if (result != 0 || std::rename(signedPath.c_str(), path.c_str()) != 0) {
    std::remove(signedPath.c_str());
    std::remove(path.c_str());
    throw std::runtime_error(result == -1 ? "cannot run osslsigncode (is it installed?)"
                                          : "osslsigncode could not sign " + path + " (exit code " +
                                                std::to_string(result) + ")");
  }
}
