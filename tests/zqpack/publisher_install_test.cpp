// The publisher's path on Windows, as the package manager goes it: zqpack.exe
// new makes a product of a folder of files, a build writes its manifest, the
// installer runs with the manifest's switches into a folder with blanks, its
// uninstall entry is the one the manifest names, and the entry's quiet
// uninstallation leaves nothing of the product.
#include <gtest/gtest.h>

#include "driver/driver_test.h"
#include "support/registry_probe.h"
#include "sys/path_text.h"
#include "sys/shell_folders.h"

namespace {

const char kName[] = "ZqNeu Rechner";
const char kMaker[] = "ZqNeuHersteller";

// The value of the manifest's first "key: value" line (in a list or not), its
// quotes and escapes undone; "<missing>" when there is none.
std::string ManifestValue(const std::string& manifest, const std::string& key) {
  for (std::string line : Lines(manifest, "\n")) {
    line = Trim(line);
    if (line.rfind("- ", 0) == 0) line = line.substr(2);
    if (line.rfind(key + ": ", 0) != 0) continue;
    std::string value = line.substr(key.size() + 2);
    if (value.size() < 2 || value.front() != '"') return value;
    std::string text;
    for (size_t i = 1; i + 1 < value.size(); ++i) text += value[i] == '\\' ? value[++i] : value[i];
    return text;
  }
  return "<missing>";
}

class PublisherInstall : public EndToEnd {
 protected:
  const std::string menu = WithTrailingBackslash(ReadShellFolder("Programs", false)) + kName;
  const std::string entry = std::string(kUninstallKeys) + "\\" + kName;

  void SetUp() override {
    EndToEnd::SetUp();
    Forget();
  }
  void TearDown() override {
    Forget();
    EndToEnd::TearDown();
  }
  // What a failed run may have left outside the scratch folder.
  void Forget() const {
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", kMaker, true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", kMaker, true);
    RegDeleteEntry(kUninstallKeys, kName, true);
    DeleteFileA((menu + "\\Rechner.lnk").c_str());
    RemoveDirectoryA(menu.c_str());
  }
  int Zqpack(const std::string& arguments, std::string& output) const {
    return RunProgram("\"" + WindowsPath(ZQ_ZQPACK) + "\" " + arguments, &output);
  }
};

TEST_F(PublisherInstall, InstallsAsTheManifestSaysAndUninstallsLeavingNothing) {
  const std::string files = folder + "Dateien\\", product = folder + "Produkt\\", manifests = folder + "winget\\";
  ForceFolders(files + "Hilfe\\tief");
  CopyFileA(FixturePath("arg_recorder.exe").c_str(), (files + "Rechner.exe").c_str(), FALSE);
  CopyFileA(FixturePath("v1_2_3_4.dll").c_str(), (files + "Hilfe\\modul.dll").c_str(), FALSE);
  WriteTextFile(files + "Hilfe\\tief\\Übersicht.txt", "Hilfe");
  std::string output;
  // No backslash before a closing quote: the program's runtime would take the quote as part of the name.
  ASSERT_EQ(Zqpack(std::string("new --name \"") + kName + "\" --maker " + kMaker + " \"" +
                       WithoutTrailingBackslash(files) + "\" \"" + WithoutTrailingBackslash(product) + "\"",
                   output),
            0)
      << output;
  installer = folder + "setup.exe";
  ASSERT_EQ(Zqpack("--image \"" + WindowsPath(ZQ_IMAGE) + "\" --library \"" + WindowsPath(ZQ_UNZLIB) +
                       "\" --output \"" + installer + "\" --winget \"" +
                       WithoutTrailingBackslash(manifests) + "\" --winget-id ZqNeu.Rechner --winget-url https://zq.example/setup.exe --winget-license "
                       "Proprietary \"" + product + "uninst\" \"" + product + "program\"",
                   output),
            0)
      << output;
  const std::string manifest = ReadTextFile(manifests + "ZqNeu.Rechner.installer.yaml");

  // The package manager's silent installation into a folder of the user's choice.
  const std::string chosen = LowerAscii(folder) + "ziel mit blank\\";
  const std::string switches = ManifestValue(manifest, "Silent") + " " +
                               ReplaceFirst(ManifestValue(manifest, "InstallLocation"), "<INSTALLPATH>", chosen);
  ASSERT_EQ(Run(switches, output), 0) << switches << "\n" << output;
  EXPECT_TRUE(FileExists(chosen + "program\\Hilfe\\tief\\Übersicht.txt"));
  EXPECT_TRUE(FileExists(menu + "\\Rechner.lnk"));
  const std::string key = std::string(kUninstallKeys) + "\\" + ManifestValue(manifest, "ProductCode");
  EXPECT_EQ(key, entry);
  EXPECT_EQ(RegistryText(key, "InstallLocation"), chosen);
  for (const char* value : {"DisplayName", "DisplayVersion", "Publisher"})
    EXPECT_EQ(RegistryText(key, value), ManifestValue(manifest, value)) << value;
  EXPECT_EQ(ManifestValue(manifest, "PackageVersion"), ManifestValue(manifest, "DisplayVersion"));

  const std::string uninstall = RegistryText(key, "QuietUninstallString");
  ASSERT_EQ(RunProgram(uninstall, &output), 0) << uninstall << "\n" << output;
  EXPECT_FALSE(FolderExists(chosen));
  EXPECT_FALSE(FolderExists(menu));
  EXPECT_FALSE(RegistryKeyExists(key));
  for (const char* hive : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"})
    EXPECT_FALSE(RegistryKeyExists(std::string(hive) + "\\Software\\" + kMaker + "\\" + kName)) << hive;
}

}  // namespace
