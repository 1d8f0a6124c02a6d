// The questions an operation asks before it deletes what still has content.
// The window answers them with its dialog, the tests' driver from its command
// line. Platform-free.
#pragma once

#include <string>

class Questions {
 public:
  virtual ~Questions() = default;
  // Whether the user confirms the warning's text (OK rather than Cancel).
  virtual bool Confirm(const std::string& text) = 0;
};
