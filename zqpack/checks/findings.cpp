#include "checks/findings.h"

#include <algorithm>

#include "sys/code_pages.h"

bool Findings::HasErrors() const {
  for (const Finding& finding : list_)
    if (finding.Error) return true;
  return false;
}

void Findings::SortByPlace() {
  std::vector<std::string> files;
  for (const Finding& finding : list_)
    if (std::find(files.begin(), files.end(), finding.Where.File) == files.end()) files.push_back(finding.Where.File);
  const auto rank = [&](const Finding& finding) {
    return std::make_pair(std::find(files.begin(), files.end(), finding.Where.File) - files.begin(),
                          finding.Where.Line);
  };
  std::stable_sort(list_.begin(), list_.end(), [&](const Finding& a, const Finding& b) { return rank(a) < rank(b); });
}

std::string FormatFinding(const Finding& finding) {
  const Place& where = finding.Where;
  std::string line = where.File + ":" + AnsiToUtf8(where.Section) + ":" + AnsiToUtf8(where.Key) + ": " +
                     (finding.Error ? "error: " : "warning: ") + finding.Message;
  if (where.Line > 0) line += " (line " + std::to_string(where.Line) + ")";
  return line;
}
