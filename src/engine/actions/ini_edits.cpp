#include "engine/actions/ini_edits.h"

#include <algorithm>

#include "engine/actions/component_step.h"
#include "engine/boundary/record_trust.h"
#include "engine/boundary/write_target.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/result_codes.h"
#include "sys/ini_file.h"
#include "sys/locale_order.h"
#include "sys/text.h"

namespace {

void ApplyIniEdits(const TInstallObject& object, std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end(), LocaleLessText);
  const DeletionBoundary boundary = Boundary(object);
  for (const std::string& line : lines) {
    std::string rest, value, fileAndSection, key, file, section;
    if (!SplitAtLast(line, '=', rest, value) || !SplitAtLast(rest, '=', fileAndSection, key) ||
        !SplitAtLast(fileAndSection, '=', file, section) || file.empty() || section.empty() || key.empty() ||
        value.empty())
      continue;
    object.Log(FormatText("Schreibe INI:  %s: [%s] %s=%s", file.c_str(), section.c_str(), key.c_str(), value.c_str()));
    if (WritableTarget(object, boundary, file, WriteKind::InPlace)) IniFile(file).WriteString(section, key, value);
  }
}

}  // namespace

int SetInstIniData(TInstallObject& object) {
  return RunComponentStep(
      object, {WeightedStep::SetInstIniData, "Setze INI Daten...", true, [&object](ComponentEntry& component) {
                 ApplyIniEdits(object, component.IniEdits);
                 return rcOk;
               }});
}

// Lines "file=section=key=value"; one with an empty part is passed over.
