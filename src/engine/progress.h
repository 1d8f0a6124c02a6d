// Spreading a step's progress weight over its items. Platform-free.
#pragma once

#include <string>

#include "engine/report.h"
#include "engine/step_weights.h"

// Adds share and carry; when the sum reaches 1, reports its integral part as
// progress (kind 12), adds it to reported and returns the fraction left.
// Otherwise returns the sum unchanged and reports nothing.
double AddProgress(const ReportProc& report, int& reported, double share, double carry);

// The progress of one step with a known number of items: each finished group
// of items advances the bar by its share of the step's weight, and Finish
// reports what is left, so a step always advances the bar by exactly its weight.
class StepProgress {
 public:
  StepProgress(ReportProc report, WeightedStep step, int itemCount);
  void Advance(int items = 1);
  void Finish();

 private:
  ReportProc report_;
  int weight_;
  int itemCount_;
  int reported_ = 0;
  double carry_ = 0.0;
};
