// Fuzz target: any lines, sorted, are split into the record's entries; an
// item that cannot be split is rejected, never a crash.
#include <algorithm>

#include "engine/records/record_entries.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> items = AsLines(data, size);
  std::sort(items.begin(), items.end());
  std::vector<std::string> rejected;
  ItemEntries(items, rejected);
  return 0;
}
