// The steps that carry a share of the progress bar, with their fixed
// weights: those of the installation add up to 100. A step outside this list
// has no weight to ask for. Platform-free.
//
// To add a weighted step: add its enumerator below, in the group of its
// operation (the installation's end with RunProg), and its row, in the same
// place, in step_weights.cpp, with its name as the step table calls it. A
// step the bar need not show takes weight 0 (it reports a progress of 0); one
// that should move the bar takes its share from another step of the
// installation, since a static_assert holds the installation's sum at 100.
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
