#include "start/full_command_line.h"

#include <windows.h>

#include "start/command_line.h"
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/wide_text.h"

RunOptions CommandLineOptions() {
  std::vector<std::string> arguments = SplitCommandLine(WideToUtf8(GetCommandLineW()));
  if (!arguments.empty()) arguments.erase(arguments.begin());
  RunOptions options = ParseRunOptions(OwnFilePath(), arguments);
  options.ModeArg = ReachablePath(Utf8ToWide(options.ModeArg));
  return options;
}
