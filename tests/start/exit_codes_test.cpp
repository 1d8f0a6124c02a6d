#include "start/exit_codes.h"

#include <gtest/gtest.h>

namespace {

TEST(ExitCodes, TellSuccessRestartFailureAndCancellation) {
  EXPECT_EQ(RunExitCode(0, false, false), 0);
  EXPECT_EQ(RunExitCode(0, true, false), 3010);
  EXPECT_EQ(RunExitCode(-23, false, false), 23);
  EXPECT_EQ(RunExitCode(-3, true, false), 3);  // a failure outweighs the restart
  EXPECT_EQ(RunExitCode(0, false, true), 1602);
}

}  // namespace
