// A fixture window of a running program, for the tests that close programs.
#pragma once

#include <windows.h>

#include <string>

// Starts closing_window.exe with a window "class=caption" that closes on the
// closeOn-th request (0: never); ends the program when it goes.
class RunningWindow {
 public:
  RunningWindow(const std::string& windowClass, const std::string& caption, int closeOn, std::string countFile);
  ~RunningWindow();
  RunningWindow(const RunningWindow&) = delete;
  RunningWindow& operator=(const RunningWindow&) = delete;
  bool Open() const;
  // The number of close requests so far, as the program wrote it.
  std::string Requests() const;

 private:
  std::string windowClass_, countFile_;
  PROCESS_INFORMATION process_ = {};
};
