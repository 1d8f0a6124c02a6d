#include "engine/report_collector.h"

#include <climits>
#include <cstdio>
#include <utility>

#include "engine/records/record_entries.h"
#include "engine/records/record_format.h"
#include "engine/report.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// The record line of an item kind, or none for kinds that are no record item.
bool RecordLine(uint8_t kind, const std::string& text, std::string& line) {
  if (kind == rkLink) {
    line = std::string(kLinks) + "|" + text;
    return true;
  }
  for (const UninstallItem& item : kUninstallItems) {
    if (item.Kind != kind) continue;
    line = RecordItemText(item.Section, text, item.Value);
    return true;
  }
  return false;
}

bool IsErrorItem(uint8_t kind) {
  return kind == rkErrorCopy || kind == rkErrorRegistry || kind == rkErrorCom || kind == rkErrorCommon ||
         kind == rkErrorDotNetReg || kind == rkErrorDotNetInst;
}

// A decimal integer standing alone; anything else, and any negative number, counts as 0.
int ProgressIncrement(const std::string& text) {
  long long value = 0;
  if (!ParseDecimal(text, value) || value < 0) return 0;
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

ReportCollector::ReportCollector(std::function<void()> pump) : pump_(std::move(pump)) {}

void ReportCollector::Receive(uint8_t kind, const std::string& text, uint8_t flags) {
  if (pump_) pump_();
  Handle(kind, text, flags);
  if (pump_) pump_();
}

void ReportCollector::Handle(uint8_t kind, const std::string& text, uint8_t flags) {
  if (kind == rkMessage) {
    if (flags & rfLog) {
      logLines_.push_back(text);
      // A failed spill keeps the lines; the next one tries again.
      if (!spill_.Path.empty() && logLines_.size() >= kLogLinesHeld) SpillLogLines(spill_, logLines_);
    }
    if (flags & rfStatus) {
      statusText_ = text;
      ++statusCount_;
    }
    return;
  }
  if (Trim(text).empty()) return;
  std::string line;
  if (RecordLine(kind, text, line))
    recordLines_.push_back(line);
  else if (IsErrorItem(kind))
    errorLines_.push_back(text);
  else if (kind == rkProgress)
    AddProgressText(text);
}

void ReportCollector::DiscardLog() {
  logLines_.clear();
  if (spill_.Bytes > 0) std::remove(spill_.Path.c_str());
  spill_.Bytes = 0;
}

void ReportCollector::AddProgressText(const std::string& text) {
  const int increment = ProgressIncrement(text);
  progress_ = increment >= kProgressMax - progress_ ? kProgressMax : progress_ + increment;
}
