// Fuzz target: any text is turned into one spelling of a path or refused,
// and a spelling once made stays as it is.
#include <cstdlib>

#include "fuzz_input.h"
#include "sys/normal_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const std::string& line : AsLines(data, size)) {
    const std::string normal = NormalPath(line);
    if (!normal.empty() && NormalPath(normal) != normal) std::abort();
    ResolvedBelowFolder(line);
  }
  return 0;
}
