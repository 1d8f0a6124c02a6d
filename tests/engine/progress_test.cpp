#include "engine/progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/step_weights.h"

namespace {

struct Recorder {
  std::vector<std::string> progress;
  ReportProc proc() {
    return [this](uint8_t kind, const std::string& text, uint8_t) {
      ASSERT_EQ(kind, rkProgress);
      progress.push_back(text);
    };
  }
};

TEST(StepWeights, EachStepHasItsWeightAndName) {
  // The table's sums are checked where it is written; these are the weights that matter most.
  EXPECT_EQ(StepWeight(WeightedStep::CopyFiles), 50);
  EXPECT_EQ(StepWeight(WeightedStep::RegisterComps), 30);
  EXPECT_EQ(StepWeight(WeightedStep::RegisterDotNet), 10);
  EXPECT_EQ(StepWeight(WeightedStep::KillFiles), 55);
  EXPECT_EQ(StepWeight(WeightedStep::RemoveLinks), 2);
  EXPECT_EQ(StepWeight(WeightedStep::UnregisterComps), 30);
  EXPECT_EQ(std::string(StepName(WeightedStep::ProcessInstInis)), "ProcessInstInis");
  EXPECT_EQ(std::string(StepName(WeightedStep::DeinstallDotNet)), "DeinstallDotNet");
}

TEST(Progress, AddProgressReportsWholePartsAndKeepsTheFraction) {
  Recorder r;
  int reported = 0;
  double carry = AddProgress(r.proc(), reported, 0.4, 0.0);
  EXPECT_DOUBLE_EQ(carry, 0.4);
  EXPECT_TRUE(r.progress.empty());
  carry = AddProgress(r.proc(), reported, 2.7, carry);
  EXPECT_NEAR(carry, 0.1, 1e-9);
  EXPECT_EQ(reported, 3);
  EXPECT_EQ(r.progress, std::vector<std::string>{"3"});
  // Without a reporting procedure the numbers still add up.
  reported = 0;
  EXPECT_DOUBLE_EQ(AddProgress(ReportProc(), reported, 1.5, 0.0), 0.5);
  EXPECT_EQ(reported, 1);
}

TEST(Progress, WeightTenOverFourItems) {
  Recorder r;
  StepProgress step(r.proc(), WeightedStep::RegisterDotNet, 4);
  for (int i = 0; i < 4; ++i) step.Advance();
  step.Finish();
  EXPECT_EQ(r.progress, (std::vector<std::string>{"2", "3", "2", "3", "0"}));
}

TEST(Progress, StepsAlwaysAdvanceByTheirWeight) {
  for (int items : {0, 1, 3, 7, 13, 1000}) {
    Recorder r;
    StepProgress step(r.proc(), WeightedStep::CopyFiles, items);
    for (int i = 0; i < items / 2; ++i) step.Advance();  // a step that ends early
    step.Finish();
    int total = 0;
    for (const std::string& p : r.progress) total += std::stoi(p);
    EXPECT_EQ(total, 50) << items;
  }
}

TEST(Progress, GroupsOfItemsAdvanceTogether) {
  Recorder r;
  StepProgress step(r.proc(), WeightedStep::KillFiles, 11);  // 5 per item
  step.Advance(3);
  step.Advance(8);
  step.Finish();
  EXPECT_EQ(r.progress, (std::vector<std::string>{"15", "40", "0"}));
}

}  // namespace
