#include "support/running_window.h"

#include "support/paths.h"

RunningWindow::RunningWindow(const std::string& windowClass, const std::string& caption, int closeOn,
                             std::string countFile)
    : windowClass_(windowClass), countFile_(std::move(countFile)) {
  DeleteFileA(countFile_.c_str());
  std::string command = "\"" + FixturePath("closing_window.exe") + "\" " + windowClass + " \"" + caption + "\" " +
                        std::to_string(closeOn) + " \"" + countFile_ + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
  for (int i = 0; i < 200 && !Open(); ++i) Sleep(25);
}

RunningWindow::~RunningWindow() {
  TerminateProcess(process_.hProcess, 0);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool RunningWindow::Open() const { return FindWindowA(windowClass_.c_str(), nullptr) != nullptr; }

std::string RunningWindow::Requests() const { return ReadTextFile(countFile_); }
