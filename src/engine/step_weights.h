// The steps that carry a share of the progress bar, with their fixed
// weights: those of the installation add up to 100. A step outside this list
// has no weight to ask for. Platform-free.
#pragma once

#include <cstdint>

enum class WeightedStep : uint8_t {
  // The installation's.
  ProcessInstInis,
  CopyFiles,
  SetRegUninstInfo,
  RegisterComps,
  RegisterDotNet,
  InstallDotNet,
  SetSharedComps,
  SetRegInstInfo,
  SetRegUserInfo,
  CreateLinks,
  SetInstIniData,
  RemoveClearupInfo,
  RunProg,
  // The uninstallation's.
  KillFiles,
  ProcessUninstData,
  WriteClearupData,
  RemoveLinks,
  KillRegistryData,
  UnregisterComps,
  UnregisterDotNet,
  DeinstallDotNet,
};

uint16_t StepWeight(WeightedStep step);
// The step's name, as the step tables call it.
const char* StepName(WeightedStep step);
