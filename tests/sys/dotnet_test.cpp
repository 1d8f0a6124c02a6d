#include "sys/dotnet.h"

#include <gtest/gtest.h>

#include "support/fake_dotnet.h"
#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/registry.h"

namespace {

const char kFrameworkKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework";

class DotNetTree : public ::testing::Test {
 protected:
  FakeDotNet dotnet{ScratchPath("Framework\\")};
  const std::string& root = dotnet.Root;
  void AddVersion(const std::string& name, bool withGacUtil) { ASSERT_TRUE(dotnet.AddVersion(name, withGacUtil)); }
  void Register(const std::string& path) { ASSERT_TRUE(dotnet.Register(path)); }
};

TEST_F(DotNetTree, TheFirstMatchingFolderInListingOrderWins) {
  AddVersion("v1.0.3705", true);
  AddVersion("v1.1.4322", true);
  AddVersion("v2.0.100", true);
  AddVersion("v9.0.0", false);  // would match, but holds no gacutil.exe
  AddVersion("x3.0", true);
  Register(root);

  std::vector<std::string> listed;
  ListSubfolders(listed, root, false, true);
  std::string expected;
  for (const std::string& folder : listed)
    if (folder.find("\\v1.1") != std::string::npos || folder.find("\\v2.0") != std::string::npos) {
      expected = folder + "\\";
      break;
    }

  VersionRecord wanted = ParseVersion("1.1");
  std::string folder;
  ASSERT_TRUE(FindDotNet(wanted, false, folder));
  EXPECT_EQ(folder, expected);
  EXPECT_EQ(VersionText(wanted), expected.find("v1.1") != std::string::npos ? "1.1.4322.0" : "2.0.100.0");

  wanted = ParseVersion("1.1.4322.0");
  ASSERT_TRUE(FindDotNet(wanted, true, folder));
  EXPECT_EQ(folder, root + "v1.1.4322\\");

  wanted = ParseVersion("9.0");
  EXPECT_FALSE(FindDotNet(wanted, false, folder));
  EXPECT_EQ(folder, "");
  EXPECT_EQ(VersionText(wanted), "9.0.0.0");

  wanted = ParseVersion("1.1");
  EXPECT_FALSE(FindDotNet(wanted, true, folder));  // only 1.1.0.0 itself would do
}

TEST_F(DotNetTree, AMissingOrEmptyInstallRootFindsNothing) {
  VersionRecord wanted = ParseVersion("1.0");
  std::string folder = "alt";
  Register("");
  EXPECT_FALSE(FindDotNet(wanted, false, folder));
  EXPECT_EQ(folder, "");
  Register(ScratchPath("gibtsnicht"));
  EXPECT_FALSE(FindDotNet(wanted, false, folder));
  ASSERT_TRUE(ForceFolders(ScratchPath("leer")));
  Register(ScratchPath("leer"));
  EXPECT_FALSE(FindDotNet(wanted, false, folder));
  RegDeleteEntry("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft", ".NETFramework", true);
  EXPECT_FALSE(FindDotNet(wanted, false, folder));
}

}  // namespace
