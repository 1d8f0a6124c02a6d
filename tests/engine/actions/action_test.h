// The frame of the action tests: an install object whose reports are kept
// (log lines, record items as "kind|text", progress added up) and a fresh
// scratch folder per test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "support/paths.h"

// A pending action in test output: "N=path", as the kinds are numbered.
inline void PrintTo(const PendingAction& action, std::ostream* out) {
  *out << static_cast<int>(action.Kind) << "=" << action.Path;
}

// A copy entry in test output: "source=target", marked when written.
inline void PrintTo(const CopyEntry& entry, std::ostream* out) {
  *out << entry.Source << "=" << entry.Target << (entry.Written ? " (written)" : "");
}

class ActionTest : public ::testing::Test {
 protected:
  std::vector<std::string> log;  // outlive the object, which reports when it goes
  std::vector<std::string> records;
  int progress = 0;
  std::unique_ptr<TInstallObject> object = std::make_unique<TInstallObject>();
  std::string folder;

  void SetUp() override {
    object->ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t) {
      if (kind == rkMessage)
        log.push_back(text);
      else if (kind == rkProgress)
        progress += std::stoi(text);
      else
        records.push_back(std::to_string(kind) + "|" + text);
    };
    folder = FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  bool Logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
  // The log lines from the first that begins with start to the last, or all.
  std::vector<std::string> LogFrom(const std::string& start) const {
    const auto first =
        std::find_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    return std::vector<std::string>(first, log.end());
  }
  // Settings with the given components, as an installation reads them.
  InstallSettings& Install(std::vector<ComponentEntry> components = {}) {
    object->Settings = std::make_unique<InstallSettings>();
    object->Settings->Components = std::move(components);
    return *object->Settings;
  }
};
