// Fuzz target: the first line is a text to expand, the others the
// placeholder table; expansion and a descriptor section's expansion always
// end with a result.
#include "engine/config/placeholders.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines = AsLines(data, size);
  const std::string text = lines.front();
  const PlaceholderLines table(lines.begin() + 1, lines.end());
  ExpandPlaceholders(table, text);
  const DescriptorKeys keys{"c:\\work\\viewer\\", "HKEY_CURRENT_USER\\Software\\Q", "HKEY_LOCAL_MACHINE\\Software\\Q"};
  for (LineExpansion expansion : {LineExpansion::Folders, LineExpansion::FoldersAndProductKeys}) {
    std::vector<std::string> section = lines;
    ExpandDescriptorSection(section, expansion, keys, table,
                            [](const std::string& a, const std::string& b) { return a < b; });
  }
  return 0;
}
