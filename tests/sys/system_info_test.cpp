#include "sys/system_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/paths.h"
#include "support/process.h"
#include "sys/registry.h"

namespace {

TEST(SystemInfo, TheTestPrefixIsAnNTSystemWithAnAdministrator) {
  EXPECT_TRUE(IsNT());
  bool admin = false;
  EXPECT_NO_THROW(admin = IsAdmin());
  EXPECT_TRUE(admin);  // Wine's user belongs to the Administrators group
}

// Wine answers as Windows 98 for one program when its AppDefaults say so.
class Windows98Probe : public ::testing::Test {
 protected:
  const std::string key = "HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\win98_probe.exe";
  const std::string machineFolders =
      "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  std::string savedCommonAppData;
  void SetUp() override {
    ASSERT_TRUE(RegReadString(machineFolders, "Common AppData", savedCommonAppData));
    ASSERT_TRUE(RegWriteString(key, "Version", "win98"));
  }
  void TearDown() override {
    RegDeleteEntry("HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults", "win98_probe.exe", true);
    RegWriteString(machineFolders, "Common AppData", savedCommonAppData);
  }
};

std::string ValueOf(const std::string& output, const std::string& name) {
  const size_t at = output.find(name + "=");
  if (at == std::string::npos) return "<missing>";
  const size_t begin = at + name.size() + 1;
  return output.substr(begin, output.find_first_of("\r\n", begin) - begin);
}

TEST_F(Windows98Probe, IsNTIsFalseAndTheAllUsersFolderIsDerivedFromTheUsersAppData) {
  std::string output;
  ASSERT_EQ(RunProgram("\"" + FixturePath("win98_probe.exe") + "\"", &output), 0) << output;
  EXPECT_EQ(ValueOf(output, "IsNT"), "0");
  const std::string appData = ValueOf(output, "AppData");  // C:\users\<name>\AppData\Roaming
  ASSERT_FALSE(appData.empty());
  const std::string upTwo = appData.substr(0, appData.rfind('\\', appData.rfind('\\') - 1) + 1);
  const std::string expected = upTwo + "All Users\\Anwendungsdaten\\";
  EXPECT_EQ(ValueOf(output, "AllUsersApp"), expected);
  const DWORD attributes = GetFileAttributesA(expected.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  std::string recorded;
  ASSERT_TRUE(RegReadString(machineFolders, "Common AppData", recorded));
  EXPECT_EQ(recorded, expected.substr(0, expected.size() - 1));
}

}  // namespace
