// Fuzz target: any command line is split into arguments and read as the run
// options, never crashing or reading outside the text.
#include "fuzz_input.h"
#include "start/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> arguments = SplitCommandLine(AsText(data, size));
  ParseRunOptions("C:\\Downloads\\setup.exe", arguments);
  ParseRunOptions("C:\\Windows\\ZQUNINST.EXE", arguments);
  return 0;
}
