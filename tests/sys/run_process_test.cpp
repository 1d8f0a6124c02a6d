#include "sys/run_process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/paths.h"
#include "sys/file_system.h"

namespace {

int sentMessages = 0;
int postedMessages = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP + 1) ++sentMessages;
  if (message == WM_APP + 2) ++postedMessages;
  return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden window of this thread that counts the tool's messages.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZQCountingWindow";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("ZQCountingWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
    sentMessages = postedMessages = 0;
  }
  ~CountingWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

std::string ToolCommand(int milliseconds, const std::string& marker, HWND window = nullptr) {
  std::string command =
      "\"" + FixturePath("wait_tool.exe") + "\" " + std::to_string(milliseconds) + " \"" + marker + "\"";
  if (window) command += " " + std::to_string(reinterpret_cast<UINT_PTR>(window));
  return command;
}

std::string FreshMarker(const std::string& name) {
  const std::string marker = ScratchPath(name);
  DeleteFileA(marker.c_str());
  return marker;
}

void WaitForFile(const std::string& path) {
  for (int i = 0; i < 200 && !FileExists(path); ++i) Sleep(50);
}

TEST(RunProcess, RefusesEmptyCommandsAndReportsStartFailures) {
  EXPECT_FALSE(RunProcess("", "", 0));
  EXPECT_FALSE(RunProcess(" \t ", "C:\\", -1));
  EXPECT_FALSE(RunProcess("gibtsnicht.exe", ScratchPath("leer"), -1));
}

TEST(RunProcess, ZeroAndPositiveWaitsReturnWhileTheToolRuns) {
  const std::string marker = FreshMarker("zero.done");
  EXPECT_TRUE(RunProcess(ToolCommand(1500, marker), "", 0));
  EXPECT_FALSE(FileExists(marker));
  const std::string bounded = FreshMarker("bounded.done");
  EXPECT_TRUE(RunProcess(ToolCommand(3000, bounded), "", 200));
  EXPECT_FALSE(FileExists(bounded));
  WaitForFile(marker);
  WaitForFile(bounded);
  EXPECT_TRUE(FileExists(marker));
}

TEST(RunProcess, PositiveWaitEndsWhenTheToolEnds) {
  const std::string marker = FreshMarker("short.done");
  EXPECT_TRUE(RunProcess(ToolCommand(100, marker), "", 20000));
  EXPECT_TRUE(FileExists(marker));
}

TEST(RunProcess, NegativeWaitHandlesMessagesUntilTheToolHasEnded) {
  CountingWindow window;
  const std::string marker = FreshMarker("messages.done");
  // The tool sends the window messages all the time it runs: none of those
  // wake-ups may end the wait.
  EXPECT_TRUE(RunProcess(ToolCommand(800, marker, window.get()), "", -1));
  EXPECT_TRUE(FileExists(marker));
  EXPECT_GT(sentMessages, 3);
  EXPECT_EQ(postedMessages, 1);
}

TEST(RunProcess, TheCommandStartsInTheGivenFolder) {
  const std::string marker = FreshMarker("folder.done");
  const std::string fixtures = FixturePath("");
  EXPECT_TRUE(RunProcess("wait_tool.exe 50 \"" + marker + "\"", fixtures, -1));
  EXPECT_TRUE(FileExists(marker));
  EXPECT_TRUE(RunProcess("wait_tool.exe 50 \"" + marker + "\"", fixtures.substr(0, fixtures.size() - 1), -1));
}

TEST(PumpMessage, HandlesOneMessageAndKeepsTheQuitMessage) {
  CountingWindow window;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_FALSE(PumpMessage());
  PostMessageA(window.get(), WM_APP + 2, 0, 0);
  PostMessageA(window.get(), WM_APP + 2, 0, 0);
  EXPECT_TRUE(PumpMessage());
  EXPECT_EQ(postedMessages, 1);
  EXPECT_TRUE(PumpMessage());
  EXPECT_EQ(postedMessages, 2);

  PostQuitMessage(7);
  EXPECT_TRUE(PumpMessage());
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
