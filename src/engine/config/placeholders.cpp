#include "engine/config/placeholders.h"

#include <algorithm>

#include "sys/path_text.h"
#include "sys/text.h"

namespace {

void SortLines(std::vector<std::string>& lines, const LineOrder& order) {
  std::stable_sort(lines.begin(), lines.end(), order);
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
      result = ReplaceAllText(result, name, LineValue(table, name));
    }
  }
  return CollapseBackslashPairs(result);
}

void ExpandDescriptorSection(std::vector<std::string>& lines, bool registrySection, const DescriptorKeys& keys,
                             const PlaceholderLines& table, const LineOrder& order) {
  if (registrySection) {
    for (std::string& line : lines)
      line = ReplaceAllText(ReplaceAllText(line, "%userReg%", keys.UserReg), "%machineReg%", keys.MachineReg);
    SortLines(lines, order);
  }
  for (std::string& line : lines) line = ExpandPlaceholders(table, ReplaceAllText(line, "%thisDir%", keys.ThisDir));
  SortLines(lines, order);
}
