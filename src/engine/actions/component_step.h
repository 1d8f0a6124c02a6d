// The frame of an install step that works through the components: the
// settings it needs, its announcement, its weight on the progress bar spread
// over the items, and what a failing component means for the others.
#pragma once

#include <functional>

#include "engine/step_weights.h"

class TInstallObject;
struct ComponentEntry;

struct ComponentStep {
  WeightedStep Step;         // whose weight it spreads
  const char* Announcement;  // logged and shown when the step begins
  // Whether one component's failure ends the step; else the others still go.
  bool StopAtFailure;
  // The component's work: a result code; an exception counts as -3.
  std::function<int(ComponentEntry&)> Work;
  // The component's share of the progress, in items (none: one); a
  // component with no items is passed over.
  std::function<size_t(const ComponentEntry&)> Items = nullptr;
  // Logged as "Fehler:  <text>" when a component's work raises.
  const char* ExceptionText = nullptr;
  // Runs once after the announcement, before the items are counted; its
  // failure counts as a component's.
  std::function<int()> Prepare = nullptr;
};

// Runs the step over the run's components; -4 without settings. Returns the
// first failure, or 0.
int RunComponentStep(TInstallObject& object, const ComponentStep& step);
