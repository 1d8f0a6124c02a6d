#include "engine/config/placeholders.h"

#include <algorithm>
#include <cstdint>

#include "sys/path_text.h"
#include "sys/text.h"

namespace {

void SortLines(std::vector<std::string>& lines, const LineOrder& order) {
  std::stable_sort(lines.begin(), lines.end(), order);
}

// Values that hold later names make the text grow with every line (doubling
// it each time, at worst). No path or registry line comes near this length.
const uint64_t kMaxExpandedLength = 32768;

// The text's length once every name in it is replaced by value.
uint64_t ExpandedLength(const std::string& text, const std::string& name, const std::string& value) {
  if (name.empty()) return text.size();
  const std::string lowerText = LowerAscii(text), lowerName = LowerAscii(name);
  uint64_t count = 0;
  for (size_t at = lowerText.find(lowerName); at != std::string::npos; at = lowerText.find(lowerName, at + name.size()))
    ++count;
  return text.size() + count * value.size() - count * name.size();
}

}  // namespace

void AppendFolderPlaceholders(PlaceholderLines& table, const FolderVariables& folders) {
  table.push_back("%windir%=" + folders.WinDir);
  table.push_back("%systemdir%=" + folders.SystemDir);
  table.push_back("%tempdir%=" + folders.TmpDir);
  table.push_back("%menudir%=" + folders.MenuDir);
  table.push_back("%desktopdir%=" + folders.DesktopDir);
  table.push_back("%programsdir%=" + folders.ProgramsDir);
  table.push_back("%commonfilesdir%=" + folders.CommonFilesDir);
  table.push_back("%allusersappdir%=" + folders.AllUsersAppDir);
  table.push_back("%allusersdir%=" + folders.AllUsersDir);
}

std::string ExpandPlaceholders(const PlaceholderLines& table, const std::string& text) {
  std::string result = Trim(text);
  if (!result.empty()) {
    for (const std::string& line : table) {
      // The name ends at the first "=": a folder may itself hold one.
      const std::string name = Trim(line.substr(0, line.find('=')));
      const std::string value = LineValue(table, name);
      if (ExpandedLength(result, name, value) > kMaxExpandedLength) break;
      result = ReplaceAllText(result, name, value);
    }
  }
  return CollapseBackslashPairs(result);
}

void ExpandDescriptorSection(std::vector<std::string>& lines, LineExpansion expansion, const DescriptorKeys& keys,
                             const PlaceholderLines& table, const LineOrder& order) {
  if (expansion == LineExpansion::FoldersAndProductKeys) {
    for (std::string& line : lines)
      line = ReplaceAllText(ReplaceAllText(line, "%userReg%", keys.UserReg), "%machineReg%", keys.MachineReg);
    SortLines(lines, order);
  }
  for (std::string& line : lines) line = ExpandPlaceholders(table, ReplaceAllText(line, "%thisDir%", keys.ThisDir));
  SortLines(lines, order);
}
