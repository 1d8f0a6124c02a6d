// Runs the real installer executable, given as the first argument.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/paths.h"
#include "support/process.h"

namespace {

std::string g_setup;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The mutex is free again once the installer has ended.
bool MutexIsFree() {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ZQInstallNew");
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (mutex) CloseHandle(mutex);
  return mutex && !existed;
}

TEST(Entry, WithoutPayloadItEndsWithItsResultAndReleasesTheMutex) {
  // The bare program image carries no installation data: -7, exit code 7.
  const std::string copy = ScratchPath("bare.exe");
  ASSERT_TRUE(CopyFileA(g_setup.c_str(), copy.c_str(), FALSE));
  DeleteFileA(ScratchPath("zqinstall.log").c_str());
  EXPECT_EQ(RunProgram(Quoted(copy) + " -hide"), 7);
  EXPECT_NE(
      ReadTextFile(ScratchPath("zqinstall.log"))
          .find("Initialisierung konnte nicht erfolgreich abgeschlossen werden: Keine Installationsdaten gefunden."),
      std::string::npos);
  EXPECT_TRUE(MutexIsFree());
}

// Under either guard, the machine's or an earlier version's in the session.
// A completion that meets another installer arms its restart entry again,
// under its product's name, since the system deleted it before starting it:
// the name of its uninstaller's folder, whatever a record that anybody may
// have written says.
TEST(Entry, SecondInstanceEndsAtOnceWith1618AndACompletionWaitsForTheNextStart) {
  const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  const std::string record = ScratchPath("error_inst.ini");
  ASSERT_TRUE(WriteTextFile(record, "[Info]\r\nName=ZqFremd\r\n"));
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string folder = std::string(windows) + "\\zquninst\\ZqWartend\\";
  CreateDirectoryA((std::string(windows) + "\\zquninst").c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(g_setup.c_str(), (folder + "zquninst.exe").c_str(), FALSE));
  const std::string completion = Quoted(folder + "zquninst.exe") + " -autoinstall:" + Quoted(record);
  for (const char* guard : {"Global\\ZQInstallNew", "ZQInstallNew"}) {
    HANDLE held = CreateMutexA(nullptr, TRUE, guard);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(RunProgram(Quoted(g_setup), nullptr, 10000), 1618) << guard;
    EXPECT_EQ(RunProgram(completion, nullptr, 10000), 1618) << guard;
    CloseHandle(held);
    char armed[1024] = {};
    DWORD size = sizeof armed;
    EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, kRunOnce, "ZqWartend", RRF_RT_REG_SZ, nullptr, armed, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(armed), completion) << guard;
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunOnce, "ZqWartend");
    size = sizeof armed;
    EXPECT_NE(RegGetValueA(HKEY_LOCAL_MACHINE, kRunOnce, "ZqFremd", RRF_RT_REG_SZ, nullptr, armed, &size),
              ERROR_SUCCESS);
  }
  DeleteFileA((folder + "zquninst.exe").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(Entry, UnderTheUninstallerNameWithoutSwitchItEndsAtOnce) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "zqentrytest\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string copy = folder + "ZQUNINST.EXE";
  ASSERT_TRUE(CopyFileA(g_setup.c_str(), copy.c_str(), FALSE));
  EXPECT_EQ(RunProgram(Quoted(copy), nullptr, 10000), 0);
  EXPECT_TRUE(DeleteFileA(copy.c_str()));
  RemoveDirectoryA(folder.c_str());
}

TEST(Entry, RunsWithTheWesternAnsiCodePage) {
  // The German texts are Windows-1252 bytes; the test prefix must read them so.
  EXPECT_EQ(GetACP(), 1252u);
}

TEST(Entry, CarriesItsFileVersion) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(g_setup.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(g_setup.c_str(), 0, size, &data[0]));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&info), &length));
  const std::string version =
      std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
      std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
  EXPECT_EQ(version, ZQ_EXPECTED_VERSION);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: entry_test PATH-OF-ZQSETUP.EXE\n");
    return 2;
  }
  g_setup = argv[1];
  return RUN_ALL_TESTS();
}
