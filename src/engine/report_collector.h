// The receiving end of the engine's reports: collects the run's log lines, the
// uninstall record lines and the error record lines, and keeps the status text
// and the progress position for the window. Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/log_file.h"

class ReportCollector {
 public:
  static constexpr int kProgressMax = 100;

  // pump is called before and after each report, so that the window's
  // messages are handled while the engine works on the window's thread.
  explicit ReportCollector(std::function<void()> pump = {});

  void Receive(uint8_t kind, const std::string& text, uint8_t flags);

  // From now on, log lines go to a spill file at path whenever kLogLinesHeld
  // have come together, so that a long run does not hold its whole log.
  void SpillLogTo(const std::string& path) { spill_.Path = path; }
  // Writes the whole log so far (spilled lines first) as AppendLogFile does.
  bool WriteLog(const std::string& path) { return AppendLogFile(path, logLines_, &spill_); }
  // Forgets the log so far, the spilled lines with it.
  void DiscardLog();

  // The lines not spilled yet.
  std::vector<std::string>& LogLines() { return logLines_; }
  std::vector<std::string>& RecordLines() { return recordLines_; }
  std::vector<std::string>& ErrorLines() { return errorLines_; }
  const std::string& StatusText() const { return statusText_; }
  // How many status texts arrived so far, so that a repeated text is seen too.
  int StatusCount() const { return statusCount_; }
  int ProgressPosition() const { return progress_; }

 private:
  void Handle(uint8_t kind, const std::string& text, uint8_t flags);
  void AddProgressText(const std::string& text);

  static constexpr size_t kLogLinesHeld = 256;

  std::function<void()> pump_;
  std::vector<std::string> logLines_;
  LogSpill spill_;
  std::vector<std::string> recordLines_;
  std::vector<std::string> errorLines_;
  std::string statusText_;
  int statusCount_ = 0;
  int progress_ = 0;
};
