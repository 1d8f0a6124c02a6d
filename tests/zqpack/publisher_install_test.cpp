// The publisher's path on Windows, as the package manager goes it: zqpack.exe
// new makes a product of a folder of files, a build writes its manifest, the
// installer runs with the manifest's switches into a folder with blanks, its
// uninstall entry is the one the manifest names, and the entry's quiet
// uninstallation leaves nothing of the product.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/driver_test.h"
#include "support/registry_probe.h"
#include "sys/path_text.h"
#include "sys/shell_folders.h"

namespace {

const char kName[] = "ZqNeu Rechner";
const char kMaker[] = "ZqNeuHersteller";
const char kRunOnce[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string WindowsFolderPath() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return WithTrailingBackslash(path);
}

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
  // Packs the components into setup; empty when zqpack fails.
  std::string Pack(const std::string& setup, const std::string& components) const {
    std::string output;
    const int code = Zqpack("--image \"" + WindowsPath(ZQ_IMAGE) + "\" --library \"" + WindowsPath(ZQ_UNZLIB) +
                                "\" --output \"" + setup + "\" " + components,
                            output);
    EXPECT_EQ(code, 0) << output;
    return code == 0 ? setup : std::string();
  }
  // A product zqpack new makes of files (its program a copy of the
  // recorder), packed into setup.
  std::string NewProduct(const std::string& name, const std::string& maker, const std::string& files,
                         const std::string& setup, const std::string& version) const {
    const std::string product = setup + " Produkt";
    ForceFolders(files);
    CopyFileA(FixturePath("arg_recorder.exe").c_str(), (files + "Programm.exe").c_str(), FALSE);
    std::string output;
    const int code = Zqpack("new --name \"" + name + "\" --maker " + maker + " \"" + WithoutTrailingBackslash(files) +
                                "\" \"" + product + "\"",
                            output);
    EXPECT_EQ(code, 0) << output;
    return Pack(setup, "--version " + version + " \"" + product + "\\uninst\" \"" + product + "\\program\"");
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
  ASSERT_EQ(
      Zqpack("--image \"" + WindowsPath(ZQ_IMAGE) + "\" --library \"" + WindowsPath(ZQ_UNZLIB) + "\" --output \"" +
                 installer + "\" --version 1.2.0.0 --winget \"" + WithoutTrailingBackslash(manifests) +
                 "\" --winget-id ZqNeu.Rechner --winget-url https://zq.example/setup.exe --winget-license "
                 "Proprietary \"" +
                 product + "uninst\" \"" + product + "program\"",
             output),
      0)
      << output;
  const std::string manifest = ReadTextFile(manifests + "ZqNeu.Rechner.installer.yaml");

  // The package manager's silent installation into a new folder of the
  // user's choice, below a new folder too: both are created as typed.
  const std::string chosen = folder + "Meine Programme\\Ziel mit Blank\\";
  const std::string switches = ManifestValue(manifest, "Silent") + " " +
                               ReplaceFirst(ManifestValue(manifest, "InstallLocation"), "<INSTALLPATH>", chosen);
  ASSERT_EQ(Run(switches, output), 0) << switches << "\n" << output;
  EXPECT_TRUE(FileExists(chosen + "program\\Hilfe\\tief\\Übersicht.txt"));
  EXPECT_TRUE(FileExists(menu + "\\Rechner.lnk"));
  const std::string key = std::string(kUninstallKeys) + "\\" + ManifestValue(manifest, "ProductCode");
  EXPECT_EQ(key, entry);
  EXPECT_EQ(RegistryText(key, "InstallLocation"), chosen);
  for (const std::string& created : {folder + "Meine Programme", chosen + "..\\Ziel mit Blank"}) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(created.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << created;
    FindClose(search);
    EXPECT_EQ(FileNamePart(created), found.cFileName);  // in the case typed
  }
  for (const char* value : {"DisplayName", "DisplayVersion", "Publisher"})
    EXPECT_EQ(RegistryText(key, value), ManifestValue(manifest, value)) << value;
  // The release's version, everywhere.
  EXPECT_EQ(ManifestValue(manifest, "PackageVersion"), "1.2.0.0");
  EXPECT_EQ(ManifestValue(manifest, "DisplayVersion"), "1.2.0.0");
  EXPECT_EQ(RegistryText(std::string(kUninstallKeys) + "\\" + kName, "DisplayVersion"), "1.2.0.0");

  const std::string uninstall = RegistryText(key, "QuietUninstallString");
  ASSERT_EQ(RunProgram(uninstall, &output), 0) << uninstall << "\n" << output;
  EXPECT_FALSE(FolderExists(chosen));
  EXPECT_FALSE(FolderExists(folder + "Meine Programme"));  // which the installation created
  EXPECT_FALSE(FolderExists(menu));
  EXPECT_FALSE(RegistryKeyExists(key));
  for (const char* hive : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"})
    EXPECT_FALSE(RegistryKeyExists(std::string(hive) + "\\Software\\" + kMaker + "\\" + kName)) << hive;
}

// Two products made by zqpack new and the demo on one machine: each keeps its
// own uninstaller, entry and restart entry; uninstalling and clearing up one
// leaves the others whole, a waiting completion included; once all are gone,
// nothing of them is left but the uninstaller folders the system deletes at
// its next start.
TEST_F(PublisherInstall, ProductsSideBySideKeepTheirOwnAndLeaveNothing) {
  struct Product {
    std::string Name, Maker, Setup, Folder;
  };
  Product a{kName, kMaker, "", folder + "A\\"}, b{"ZqZweit Notiz", "ZqZweitHaus", "", folder + "B\\"},
      demo{"Quotaline", "Zelo", "", folder + "Demo\\"};
  const std::string uninstallers = LowerAscii(WindowsFolderPath() + "zquninst\\");
  const std::vector<Product*> all = {&a, &b, &demo};
  // What any of the three may leave on the machine.
  const auto snapshot = [&] {
    std::vector<std::string> lines;
    for (const Product* product : all) {
      lines.push_back(product->Name + " entry " +
                      RegistryText(std::string(kUninstallKeys) + "\\" + product->Name, "DisplayName"));
      lines.push_back(product->Name + " restart " + RegistryText(kRunOnce, product->Name));
      for (const char* hive : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"})
        lines.push_back(product->Maker +
                        (RegistryKeyExists(std::string(hive) + "\\Software\\" + product->Maker) ? " key" : " none"));
      lines.push_back(product->Folder + (FolderExists(product->Folder) ? " there" : " gone"));
    }
    return lines;
  };
  for (Product* product : all) RegDeleteEntry(kRunOnce, product->Name, false);
  RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqZweitHaus", true);
  RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqZweitHaus", true);
  const std::vector<std::string> before = snapshot();

  ForceFolders(folder + "DateienA");
  WriteTextFile(folder + "DateienA\\Liesmich.txt", "alt");
  WriteTextFile(folder + "DateienA\\Alt.txt", "nur in 1.2");
  SetWriteTime(folder + "DateienA\\Liesmich.txt", 1);
  a.Setup = NewProduct(a.Name, a.Maker, folder + "DateienA\\", folder + "a.exe", "1.2.0.0");
  b.Setup = NewProduct(b.Name, b.Maker, folder + "DateienB\\", folder + "b.exe", "7.0");
  demo.Setup =
      Pack(folder + "demo.exe", "\"" + WindowsPath(ZQ_DEMO) + "\\uninst\" \"" + WindowsPath(ZQ_DEMO) + "\\viewer\"");
  std::string output;
  for (const Product* product : all) {
    ASSERT_FALSE(product->Setup.empty());
    ASSERT_EQ(RunProgram("\"" + product->Setup + "\" -hide \"-path:" + product->Folder + "\"", &output), 0) << output;
    const std::string own = uninstallers + LowerAscii(product->Name) + "\\zquninst.exe";
    EXPECT_EQ(LowerAscii(RegistryText(std::string(kUninstallKeys) + "\\" + product->Name, "DisplayIcon")), own);
  }

  // A's update meets its program in use: its completion waits for the restart.
  const std::string readme = a.Folder + "program\\Liesmich.txt";
  ForceFolders(folder + "DateienA2");
  WriteTextFile(folder + "DateienA2\\Liesmich.txt", "neu");
  WriteTextFile(folder + "DateienA2\\Neu.txt", "neu in 1.3");
  const std::string update = NewProduct(a.Name, a.Maker, folder + "DateienA2\\", folder + "a2.exe", "1.3.0.0");
  HANDLE held = CreateFileA(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const int updated = RunProgram("\"" + update + "\" -hide", &output);
  const std::string restart = RegistryText(kRunOnce, a.Name);
  const std::vector<std::string> installed = snapshot();

  // B goes, uninstalled through its entry and cleared up: A and the demo stay whole.
  ASSERT_EQ(RunProgram(RegistryText(std::string(kUninstallKeys) + "\\" + b.Name, "QuietUninstallString"), &output), 0)
      << output;
  ASSERT_EQ(RunProgram("\"" + uninstallers + LowerAscii(b.Name) + "\\zquninst.exe\" -clearup -hide", &output), 0)
      << output;
  CloseHandle(held);
  std::vector<std::string> expected = installed;
  for (size_t i = 5; i < 10; ++i) expected[i] = before[i];
  EXPECT_EQ(snapshot(), expected);
  EXPECT_EQ(updated, 3010) << output;
  EXPECT_NE(restart.find(" -autoinstall:"), std::string::npos) << restart;
  EXPECT_TRUE(FileExists(uninstallers + LowerAscii(a.Name) + "\\zquninst.exe"));
  EXPECT_EQ(ReadTextFile(readme + "~"), "neu");
  // The release's added file is there; the one it no longer carries stays installed until the uninstallation.
  EXPECT_EQ(ReadTextFile(a.Folder + "program\\Neu.txt"), "neu in 1.3");
  EXPECT_EQ(ReadTextFile(a.Folder + "program\\Alt.txt"), "nur in 1.2");

  // Each release registers its own version: B's went with it, A's is the update's.
  EXPECT_EQ(RegistryText(std::string(kUninstallKeys) + "\\" + a.Name, "DisplayVersion"), "1.3.0.0");
  EXPECT_EQ(RegistryText(std::string(kUninstallKeys) + "\\" + demo.Name, "DisplayVersion"), "2.0.0.1");

  // The restart completes A, as the system runs its entry.
  RegDeleteEntry(kRunOnce, a.Name, false);
  ASSERT_EQ(RunProgram(restart, &output), 0) << output;
  EXPECT_EQ(ReadTextFile(readme), "neu");
  EXPECT_FALSE(FileExists(readme + "~"));

  // A and the demo go: nothing of the three is left but their uninstaller
  // folders, which the system deletes at its next start.
  for (const Product* product : {&a, &demo}) {
    const std::string entry = std::string(kUninstallKeys) + "\\" + product->Name;
    ASSERT_EQ(RunProgram(RegistryText(entry, "QuietUninstallString"), &output), 0) << output;
    ASSERT_EQ(RunProgram("\"" + uninstallers + LowerAscii(product->Name) + "\\zquninst.exe\" -clearup -hide", &output),
              0)
        << output;
  }
  EXPECT_EQ(snapshot(), before);
  const std::vector<std::string> pending = PendingDeletions();
  for (const Product* product : all)
    EXPECT_NE(std::find(pending.begin(), pending.end(), uninstallers + LowerAscii(product->Name)), pending.end())
        << product->Name;
}

}  // namespace
