#include "engine/step_weights.h"

#include "sys/text.h"

namespace {

struct StepWeight {
  const char* name;
  uint16_t weight;
};

// Thirteen rows each; the install weights add up to 100.
const StepWeight kInstallWeights[13] = {
    {"ProcessInstInis", 1}, {"CopyFiles", 50},      {"SetRegUninstInfo", 1}, {"RegisterComps", 30},
    {"RegisterDotNet", 10}, {"InstallDotNet", 1},   {"SetSharedComps", 1},   {"SetRegInstInfo", 1},
    {"SetRegUserInfo", 1},  {"CreateLinks", 1},     {"SetInstIniData", 1},   {"RemoveClearupInfo", 1},
    {"RunProg", 1},
};

const StepWeight kUninstallWeights[13] = {
    {"KillFiles", 55},       {"ProcessUninstData", 1}, {"WriteClearupData", 1}, {"RemoveLinks", 2},
    {"KillRegistryData", 1}, {"UnregisterComps", 30},  {"UnregisterDotNet", 10}, {"DeinstallDotNet", 1},
    {"", 1},                 {"", 1},                  {"", 1},                  {"", 1},
    {"", 1},
};

}  // namespace

uint16_t GetStepWeight(const std::string& stepName, bool uninstallTable) {
  if (stepName.empty()) return 1;
  for (const StepWeight& row : uninstallTable ? kUninstallWeights : kInstallWeights)
    if (SameText(stepName, row.name)) return row.weight;
  return 1;
}
