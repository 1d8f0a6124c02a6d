// A ready .zip component as publishers' tools make it, through zqpack.exe and
// the installer: every name zqpack lists is the name the installation writes,
// and zqpack check foretells what the installation makes of each member.
#include <windows.h>

#include <algorithm>

#include "driver/driver_test.h"
#include "engine/result_codes.h"
#include "support/name_cases.h"
#include "sys/code_pages.h"

namespace {

// Windows-1252 in UTF-8, by the system's own conversion.
std::string Utf8(const std::string& ansi) {
  wchar_t wide[MAX_PATH] = {};
  const int length = MultiByteToWideChar(1252, 0, ansi.c_str(), -1, wide, MAX_PATH);
  char utf8[3 * MAX_PATH] = {};
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

class ArchiveNames : public EndToEnd {
 protected:
  std::string Zqpack(const std::string& arguments, int expected) {
    std::string output;
    EXPECT_EQ(RunProgram("\"" + WindowsPath(ZQ_ZQPACK) + "\" " + arguments, &output), expected) << output;
    output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
    return output;
  }
  // The base component and the test archive, checked and packed.
  std::string CheckAndBuild(const std::string& archive, int checkResult) {
    components = folder + "Komponenten\\";
    ForceFolders(components + "uninst");
    WriteTextFile(components + "uninst\\install.ini",
                  "[install]\r\nname=ZqEndeTest\r\nRegRoot=ZqDriverTest\r\ndefaultDir=" + target + "\r\n");
    WriteTextFile(components + "uninst\\ver.ini",
                  "[component]\r\nname=uninst\r\n[copy]\r\n%thisDir%install.ini=%installDir%uninst\\install.ini\r\n");
    const std::string parts =
        "\"" + components + "uninst\" \"" + WindowsPath(std::string(ZQ_TEST_ARCHIVES) + "/" + archive) + "\"";
    const std::string findings = Zqpack("check " + parts, checkResult);
    installer = folder + "setup.exe";
    Zqpack("--no-check --image \"" + WindowsPath(ZQ_IMAGE) + "\" --library \"" + WindowsPath(ZQ_UNZLIB) +
               "\" --output \"" + installer + "\" " + parts,
           0);
    return findings;
  }
};

// zqpack's names for code page 850 are the system's own, look-alikes included.
TEST(ArchiveNameTable, EveryCodePage850ByteBecomesWhatTheSystemWrites) {
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string oem(1, static_cast<char>(byte));
    std::string ours;
    Oem850ToAnsi(oem, ours);
    char system[2] = {};
    OemToCharBuffA(oem.c_str(), system, 1);
    EXPECT_EQ(ours, std::string(1, system[0])) << std::hex << byte;
  }
}

TEST_F(ArchiveNames, TheNamesZqpackListsAreTheNamesTheInstallationWrites) {
  const std::vector<NameCase> cases = ReadNameCases(ZQ_TEST_ARCHIVES);
  const std::string findings = CheckAndBuild("names.zip", 0);
  const std::string listing = Zqpack("--list \"" + installer + "\"", 0);
  std::string output;
  ASSERT_EQ(Run("-hide", output), 0) << Log(target + "uninst\\", "zqinstall.log");
  int warnings = 0;
  for (const NameCase& named : cases) {
    if (named.DiskName.empty()) continue;
    SCOPED_TRACE(named.DiskName);
    EXPECT_NE(listing.find("  namen/" + Utf8(named.DiskName) + "  6\n"), std::string::npos) << listing;
    EXPECT_EQ(ReadTextFile(target + "namen\\" + named.DiskName), "Inhalt");
    // A warning names the member as its archive holds it, or for look-alikes as Windows writes it.
    const bool warned = findings.find("namen\\" + named.DiskName + "\" ") != std::string::npos ||
                        findings.find("namen\\" + Utf8(named.DiskName) + "\" ") != std::string::npos;
    EXPECT_EQ(warned, named.Finding == "warning") << findings;
    warnings += named.Finding == "warning";
  }
  EXPECT_NE(findings.find("zqpack: 0 error(s), " + std::to_string(warnings) + " warning(s)"), std::string::npos)
      << findings;
}

TEST_F(ArchiveNames, AMemberZqpackCallsUnwritableFailsTheInstallation) {
  const std::string findings = CheckAndBuild("unwritable_names.zip", 1);
  EXPECT_NE(findings.find("the installer cannot write it"), std::string::npos) << findings;
  std::string output;
  EXPECT_EQ(Run("-hide", output), -rcExtractArchive);
  EXPECT_FALSE(FolderExists(target + "namen"));
}

}  // namespace
