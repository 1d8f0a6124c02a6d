#include "start/command_line.h"

#include "engine/system_keys.h"
#include "sys/text.h"

namespace {

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The text after the first ':' (empty when there is none).
std::string AfterFirstColon(const std::string& text) {
  const size_t colon = text.find(':');
  return colon == std::string::npos ? std::string() : text.substr(colon + 1);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The seven switch tests, in their fixed order, on the argument in lower
// case. The value-taking removals of "-path:", "-autoinstall:" and
// "-uninstall:" shorten the current text, and the later tests of the same
// argument see the shortened text. A folder to install into keeps its case:
// it is created as typed.
void ApplyArgument(const std::string& argument, RunOptions& options) {
  std::string current = LowerAscii(argument), asTyped = argument;
  if (current == "-autorun") options.AutoRun = 1;
  if (current == "-force") options.Forced = 1;
  if (current == "-hide") {
    options.AutoRun = 1;
    options.Invisible = 1;
  }
  if (Contains(current, "-path:")) {
    options.RunMode = rmInstall;
    // Lower case keeps every position, so the colon is the same in both.
    current = AfterFirstColon(current);
    options.PathArg = asTyped.substr(asTyped.size() - current.size());
  }
  if (Contains(current, "-clearup")) {
    options.RunMode = rmClearup;
    options.ModeArg = AfterFirstColon(current);
  }
  if (Contains(current, "-autoinstall:")) {
    options.RunMode = rmAutoInstall;
    options.AutoRun = 1;
    options.Invisible = 1;
    current = AfterFirstColon(current);
    options.ModeArg = current;
  }
  if (Contains(current, "-uninstall:")) {
    options.RunMode = rmUninstall;
    current = AfterFirstColon(current);
    options.ModeArg = current;
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> arguments;
  size_t i = 0;
  const size_t n = commandLine.size();
  for (;;) {
    while (i < n && static_cast<unsigned char>(commandLine[i]) <= ' ') ++i;
    if (i >= n) break;
    std::string argument;
    bool quoted = false;
    while (i < n && (quoted || static_cast<unsigned char>(commandLine[i]) > ' ')) {
      if (commandLine[i] == '"')
        quoted = !quoted;
      else
        argument += commandLine[i];
      ++i;
    }
    arguments.push_back(argument);
  }
  return arguments;
}

RunOptions ParseRunOptions(const std::string& ownPath, const std::vector<std::string>& arguments) {
  RunOptions options;
  options.RunMode = LowerAscii(FileNameOf(ownPath)) == kUninstallerName ? rmNone : rmInstall;
  for (const std::string& argument : arguments) ApplyArgument(argument, options);
  return options;
}
