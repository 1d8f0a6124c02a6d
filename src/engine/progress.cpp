#include "engine/progress.h"

#include <utility>

double AddProgress(const ReportProc& report, int& reported, double share, double carry) {
  const double sum = share + carry;
  if (sum < 1.0) return sum;
  const int whole = static_cast<int>(sum);
  if (report) report(rkProgress, std::to_string(whole), 0);
  reported += whole;
  return sum - whole;
}

StepProgress::StepProgress(ReportProc report, WeightedStep step, int itemCount)
    : report_(std::move(report)), weight_(StepWeight(step)), itemCount_(itemCount) {}

void StepProgress::Advance(int items) {
  if (itemCount_ <= 0) return;
  carry_ = AddProgress(report_, reported_, static_cast<double>(weight_) / itemCount_ * items, carry_);
}

void StepProgress::Finish() {
  if (report_) report_(rkProgress, std::to_string(weight_ - reported_), 0);
  reported_ = weight_;
}
