// The one line a build shows while it packs the components, rewritten in
// place, on a terminal only: a log or a pipe gets the results alone.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

class PackProgress {
 public:
  // Shows nothing unless shown.
  PackProgress(std::ostream& out, bool shown, size_t components);
  // Ends the line, also when packing failed: a message follows on a line of its own.
  ~PackProgress();
  PackProgress(const PackProgress&) = delete;
  PackProgress& operator=(const PackProgress&) = delete;
  // The bytes of one more file packed.
  void Packed(uint64_t bytes);
  void ComponentDone();

 private:
  void Show();

  std::ostream& out_;
  const bool shown_;
  const size_t components_;
  size_t done_ = 0;
  uint64_t bytes_ = 0;
  std::chrono::steady_clock::time_point shownAt_;
};

// Whether standard error is a terminal.
bool StandardErrorIsTerminal();
