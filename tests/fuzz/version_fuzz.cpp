// Fuzz target: any two version texts parse, print, compare and sort by
// extension without a crash; a version compares equal to itself.
#include <cstdlib>

#include "fuzz_input.h"
#include "sys/version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = AsLines(data, size);
  const std::string& second = lines.size() > 1 ? lines[1] : lines[0];
  const VersionRecord a = ParseVersion(lines[0]), b = ParseVersion(second);
  if (!CompareVersion(a, a, true) || VersionText(a).empty()) std::abort();
  CompareVersion(a, b, false);
  CompareByExtension(lines[0], second);
  return 0;
}
