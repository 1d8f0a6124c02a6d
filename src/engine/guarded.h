// Engine operations return result codes and let no exception escape.
// Platform-free.
#pragma once

#include "engine/result_codes.h"

// The result of work, or -3 when it raises.
template <typename Work>
int Guarded(Work work) {
  try {
    return work();
  } catch (...) {
    return rcException;
  }
}
