#include "engine/sequences/sequence.h"

#include "engine/result_codes.h"

int RunSequence(const std::vector<SequenceStep>& steps, size_t& ended) {
  for (ended = 0; ended < steps.size(); ++ended) {
    int result;
    try {
      result = steps[ended].Work();
    } catch (...) {
      return rcException;
    }
    if (result != rcOk && steps[ended].EndsRun) return result;
  }
  return rcOk;
}
