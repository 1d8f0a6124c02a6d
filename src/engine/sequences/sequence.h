// An operation as a table of named steps, run in order. Platform-free.
#pragma once

#include <functional>
#include <vector>

struct SequenceStep {
  const char* Name;
  std::function<int()> Work;  // a result code
  bool EndsRun;               // whether a result other than 0 ends the operation
};

// A step whose work has no result of its own: it always succeeds.
template <typename Work>
std::function<int()> Always(Work work) {
  return [work] {
    work();
    return 0;
  };
}

// Runs the steps until one that ends the run fails or one raises (-3).
// Returns that result or 0; ended receives the index of the step that ended
// the run, or the number of steps.
int RunSequence(const std::vector<SequenceStep>& steps, size_t& ended);
