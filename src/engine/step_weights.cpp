#include "engine/step_weights.h"

#include <cstddef>
#include <iterator>

namespace {

struct StepRow {
  WeightedStep Step;
  const char* Name;
  uint16_t Weight;
};

constexpr StepRow kSteps[] = {
    {WeightedStep::ProcessInstInis, "ProcessInstInis", 1},
    {WeightedStep::CopyFiles, "CopyFiles", 50},
    {WeightedStep::SetRegUninstInfo, "SetRegUninstInfo", 1},
    {WeightedStep::RegisterComps, "RegisterComps", 30},
    {WeightedStep::RegisterDotNet, "RegisterDotNet", 10},
    {WeightedStep::InstallDotNet, "InstallDotNet", 1},
    {WeightedStep::SetSharedComps, "SetSharedComps", 1},
    {WeightedStep::SetRegInstInfo, "SetRegInstInfo", 1},
    {WeightedStep::SetRegUserInfo, "SetRegUserInfo", 1},
    {WeightedStep::CreateLinks, "CreateLinks", 1},
    {WeightedStep::SetInstIniData, "SetInstIniData", 1},
    {WeightedStep::RemoveClearupInfo, "RemoveClearupInfo", 1},
    {WeightedStep::RunProg, "RunProg", 1},
    {WeightedStep::KillFiles, "KillFiles", 55},
    {WeightedStep::ProcessUninstData, "ProcessUninstData", 1},
    {WeightedStep::WriteClearupData, "WriteClearupData", 1},
    {WeightedStep::RemoveLinks, "RemoveLinks", 2},
    {WeightedStep::KillRegistryData, "KillRegistryData", 1},
    {WeightedStep::UnregisterComps, "UnregisterComps", 30},
    {WeightedStep::UnregisterDotNet, "UnregisterDotNet", 10},
    {WeightedStep::DeinstallDotNet, "DeinstallDotNet", 1},
};

constexpr bool RowsInOrder() {
  for (size_t i = 0; i < std::size(kSteps); ++i)
    if (static_cast<size_t>(kSteps[i].Step) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "one row a step, in the order of WeightedStep");

constexpr int InstallationWeight() {
  int sum = 0;
  for (size_t i = 0; i <= static_cast<size_t>(WeightedStep::RunProg); ++i) sum += kSteps[i].Weight;
  return sum;
}
static_assert(InstallationWeight() == 100, "the installation's steps fill the progress bar");

}  // namespace

uint16_t StepWeight(WeightedStep step) { return kSteps[static_cast<size_t>(step)].Weight; }

const char* StepName(WeightedStep step) { return kSteps[static_cast<size_t>(step)].Name; }
