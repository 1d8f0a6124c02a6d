// Registry values written for an installation and removed again, in the real
// registry of the test prefix: the value types, the components' registry lines,
// the product's installation data, the uninstall entry and its removal.
#include "engine/actions/registry_actions.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "engine/actions/action_test.h"
#include "engine/actions/uninstaller_copy.h"
#include "engine/config/component_reader.h"
#include "support/process.h"
#include "support/registry_probe.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

const std::string kRoot = "HKEY_LOCAL_MACHINE\\Software\\ZqActionTest";
const std::string kMachine = kRoot + "\\Quotaline";
const std::string kUser = "HKEY_CURRENT_USER\\Software\\ZqActionTest\\Quotaline";
const std::string kEntry = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZqAktion";

int32_t Number(const std::string& key, const std::string& name) {
  int32_t value = 0;
  return RegReadInteger(key, name, value) ? value : -12345;
}

bool IsTimeStamp(const std::string& text) {
  // The fixed formats, whatever the user's: two digits each, a four-digit year.
  return std::regex_match(text, std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)"));
}

class RegistryActions : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    Forget();
    object->ProductName = "ZqAktion";
    object->InstallerVersion = "1.0.0.1";
    object->InstallDir = folder + "Ziel\\";
    object->UninstDir = object->InstallDir + "uninst\\";
  }
  void TearDown() override { Forget(); }
  static void Forget() {
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqActionTest", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqActionTest", true);
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "ZqAktion", true);
  }
  InstallSettings& Product(std::vector<ComponentEntry> components = {}) {
    InstallSettings& settings = Install(std::move(components));
    settings.RegMachine = kMachine;
    settings.RegUser = kUser;
    return settings;
  }
  // The recorded registry values as the uninstall record lists them, once each.
  std::vector<std::string> RecordedLines() const {
    std::set<std::string> lines;
    for (const std::string& record : records)
      if (record.rfind("2|", 0) == 0) lines.insert(record.substr(2) + "=inserted");
    return std::vector<std::string>(lines.begin(), lines.end());
  }
};

TEST_F(RegistryActions, NumbersBecomeDwordsAndEverythingElseStrings) {
  RegWriteNumberOrText(*object, kMachine, "Zahl", "42");
  RegWriteNumberOrText(*object, kMachine, "Minus", " -1 ");
  RegWriteNumberOrText(*object, kMachine, "Version", "1.0");
  RegWriteNumberOrText(*object, kMachine, "Gross", "4294967296");
  RegWriteNumberOrText(*object, kMachine, " Leer ", " mit Blanks ");
  RegWriteNumberOrText(*object, " ", "Name", "nie");
  EXPECT_EQ(Number(kMachine, "Zahl"), 42);
  EXPECT_EQ(Number(kMachine, "Minus"), -1);
  EXPECT_EQ(RegistryText(kMachine, "Version"), "1.0");
  EXPECT_EQ(RegistryText(kMachine, "Gross"), "4294967296");
  EXPECT_EQ(RegistryText(kMachine, "Leer"), " mit Blanks ");  // the name trimmed, the text as it was
  EXPECT_EQ(records, (std::vector<std::string>{"2|" + kMachine + "\\Zahl", "2|" + kMachine + "\\Minus",
                                               "2|" + kMachine + "\\Version", "2|" + kMachine + "\\Gross",
                                               "2|" + kMachine + "\\Leer"}));
  EXPECT_EQ(log.front(), "Schreibe Registry:  " + kMachine + "\\Zahl=42");
  EXPECT_EQ(log.size(), 5u);

  // Wine's own reg.exe sees the same types.
  std::string query;
  RunProgram("reg.exe query \"" + kMachine + "\" /v Zahl", &query);
  EXPECT_NE(query.find("REG_DWORD"), std::string::npos) << query;
  EXPECT_NE(query.find("0x2a"), std::string::npos) << query;
  RunProgram("reg.exe query \"" + kMachine + "\" /v Version", &query);
  EXPECT_NE(query.find("REG_SZ"), std::string::npos) << query;
}

TEST_F(RegistryActions, ComponentLinesWriteAndDeleteWithOneLevelOfPruning) {
  // A descriptor as a component carries it; the INI reader drops the quotes.
  Product();
  const std::string descriptor = folder + "ver.ini";
  WriteTextFile(descriptor,
                "[component]\r\nname=viewer\r\n[registry]\r\n%userReg%\\DT\\GUIDLL=\"x.dll\"\r\n"
                "%userReg%\\Leer\\Alt\\Wert=@\r\n");
  ASSERT_EQ(ReadComponent(*object, descriptor), 0);
  object->Settings->Components[0].Registry.push_back("ohneGleichheitszeichen");
  ASSERT_TRUE(RegWriteString(kUser + "\\Leer\\Alt", "Wert", "weg"));
  EXPECT_EQ(SetRegUserInfo(*object), 0);
  EXPECT_EQ(RegistryText(kUser + "\\DT", "GUIDLL"), "x.dll");
  EXPECT_FALSE(RegistryKeyExists(kUser + "\\Leer\\Alt"));  // emptied, so removed
  EXPECT_TRUE(RegistryKeyExists(kUser + "\\Leer"));        // its empty parent stays
  EXPECT_TRUE(Logged("Lösche Registry:    " + kUser + "\\Leer\\Alt\\Wert"));
  EXPECT_TRUE(Logged("Warnung: Registry Eintrag (ohneGleichheitszeichen) konnte nicht geschrieben werden."));
  EXPECT_EQ(log.front(), "Setze Benutzer Installationsdaten...");
  EXPECT_EQ(progress, 1);
  // A value that is not there cannot be deleted.
  EXPECT_FALSE(RegDelete(*object, kUser, "Fehlt", false));
  EXPECT_EQ(log.back(), "Warnung: Registry Eintrag konnte nicht gelöscht werden.");
}

TEST_F(RegistryActions, InstallationDataIsWrittenRecordedAndRemovedAgain) {
  ForceFolders(object->InstallDir + "app");
  ComponentEntry base, viewer, waiting, unnamed;
  base.Name = "uninst";
  base.Version = "1.0.0.1";
  base.Copy = {{"", "c:\\ziel\\uninst\\install.ini", true}};
  viewer.Name = "viewer";
  viewer.Version = "2.5";
  viewer.Path = object->InstallDir + "app\\";
  viewer.ExeName = "viewer.exe";
  viewer.Copy = {{"", "c:\\ziel\\app\\viewer.exe", true}};
  waiting.Name = "tools";
  waiting.Version = "3.0";
  waiting.Pending = {{pkCopy, "c:\\ziel\\tools\\t.dll"}};
  Product({base, viewer, waiting, unnamed});
  ASSERT_TRUE(RegWriteString(kMachine + "\\Fremd", "Wert", "bleibt"));  // not the installer's

  EXPECT_EQ(SetRegInstInfo(*object), 0);
  EXPECT_EQ(progress, 1);
  EXPECT_TRUE(IsTimeStamp(RegistryText(kUser, "LastInstall"))) << RegistryText(kUser, "LastInstall");
  EXPECT_EQ(RegistryText(kMachine, "InstallPath"), object->InstallDir);
  EXPECT_EQ(RegistryText(kUser, "InstallPath"), object->InstallDir);
  EXPECT_EQ(RegistryText(kMachine, "InstallerVersion"), "1.0.0.1");
  EXPECT_EQ(RegistryText(kMachine + "\\viewer", "InstallPath"), object->InstallDir + "app\\viewer.exe");
  EXPECT_EQ(RegistryText(kUser + "\\viewer", "InstallPath"), object->InstallDir + "app\\viewer.exe");
  EXPECT_EQ(RegistryText(kMachine + "\\uninst", "InstallPath"), "system");
  EXPECT_EQ(RegistryText(kMachine + "\\viewer", "Version"), "2.5");
  EXPECT_EQ(Number(kUser + "\\viewer", "log"), 0);
  EXPECT_TRUE(IsTimeStamp(RegistryText(kUser + "\\viewer", "Install")));
  EXPECT_TRUE(IsTimeStamp(RegistryText(kMachine + "\\Components", "viewer")));
  EXPECT_TRUE(Logged("Lösche Registry:    " + kUser + "\\viewer\\Update"));
  // A file of tools waits for the restart: marked, and unmarked after it.
  EXPECT_EQ(Number(kMachine + "\\tools", "NeedReboot"), 1);
  EXPECT_NE(std::find(records.begin(), records.end(), "9|Registry|" + kMachine + "\\tools\\NeedReboot|@"),
            records.end());
  for (const std::string& record : records)  // a component without a name is not written
    EXPECT_EQ(record.find("\\\\"), std::string::npos) << record;

  // An update writes only what it changed, and Update instead of Install.
  const std::string firstInstall = RegistryText(kUser + "\\viewer", "Install");
  object->Settings->Update = true;
  object->Settings->Components[1].Copy.clear();
  object->Settings->Components[2].Pending.clear();
  log.clear();
  EXPECT_EQ(SetRegInstInfo(*object), 0);
  EXPECT_TRUE(IsTimeStamp(RegistryText(kUser, "LastUpdate")));
  EXPECT_EQ(RegistryText(kUser + "\\viewer", "Install"), firstInstall);  // viewer unchanged: untouched
  EXPECT_EQ(RegistryText(kUser + "\\uninst", "Install"), "<none>");
  EXPECT_TRUE(IsTimeStamp(RegistryText(kUser + "\\uninst", "Update")));
  EXPECT_TRUE(Logged("Schreibe Registry:  " + kMachine +
                     "\\Components\\uninst=" + RegistryText(kMachine + "\\Components", "uninst")));

  // The uninstallation removes every recorded value and the emptied keys;
  // the product key stays while it holds foreign data, the root key always.
  std::vector<std::string> lines = RecordedLines();
  KillRegistryData(*object, lines, kUser, kMachine);
  // The update deleted uninst's Install value: that line alone stays.
  EXPECT_EQ(lines, (std::vector<std::string>{kUser + "\\uninst\\Install=inserted"}));
  EXPECT_FALSE(RegistryKeyExists(kUser));
  EXPECT_FALSE(RegistryKeyExists(kMachine + "\\viewer"));
  EXPECT_FALSE(RegistryKeyExists(kMachine + "\\Components"));
  EXPECT_EQ(RegistryText(kMachine + "\\Fremd", "Wert"), "bleibt");
  RegDeleteEntry(kMachine, "Fremd", true);
  std::vector<std::string> none;
  KillRegistryData(*object, none, kUser, kMachine);
  EXPECT_FALSE(RegistryKeyExists(kMachine));
  EXPECT_TRUE(RegistryKeyExists(kRoot));
}

TEST_F(RegistryActions, TheUninstallEntryNamesTheUninstallerAndItsRecord) {
  object->WinDir = folder + "Windows\\";
  ForceFolders(object->WinDir);
  ForceFolders(object->UninstDir);
  WriteTextFile(object->UninstDir + "daten.bin", std::string(1500, 'x'));
  WriteTextFile(object->InstallDir + "mehr.bin", std::string(600, 'y'));
  Product();
  // Without the uninstaller copy there is no entry.
  SetRegUninstInfo(*object, "Quotaline Komponenten");
  EXPECT_EQ(log.back(), "Fehler:  Uninstall Info konnte nicht gesetzt werden");
  EXPECT_EQ(log[log.size() - 2].rfind("Warnung: ", 0), 0u);
  EXPECT_FALSE(RegistryKeyExists(kEntry));

  // The product's own uninstaller, in its folder below the Windows folder.
  const std::string uninstaller = UninstallerPath(*object);
  EXPECT_EQ(uninstaller, object->WinDir + "zquninst\\" + object->ProductName + "\\zquninst.exe");
  ForceFolders(FolderPart(uninstaller));
  WriteTextFile(uninstaller, "MZ");
  char shortPath[512] = {};
  GetShortPathNameA(uninstaller.c_str(), shortPath, sizeof shortPath);
  object->Forced = 1;
  object->Settings->Publisher = "Zelo";
  object->Settings->SupportUrl = "https://zelo.example/hilfe";
  SetRegUninstInfo(*object, "Quotaline Komponenten");
  const std::string command = std::string(shortPath) + " -force -uninstall:\"" + object->UninstDir + "uninst.ini\"";
  EXPECT_EQ(RegistryText(kEntry, "UninstallString"), command);
  EXPECT_EQ(RegistryText(kEntry, "QuietUninstallString"), command + " -hide");
  EXPECT_EQ(RegistryText(kEntry, "DisplayName"), "Quotaline Komponenten");
  EXPECT_EQ(RegistryText(kEntry, "DisplayIcon"), uninstaller);
  EXPECT_EQ(RegistryText(kEntry, "InstallLocation"), object->InstallDir);
  EXPECT_EQ(RegistryText(kEntry, "DisplayVersion"), "1.0.0.1");
  EXPECT_EQ(Number(kEntry, "NoModify"), 1);
  EXPECT_EQ(Number(kEntry, "NoRepair"), 1);
  EXPECT_EQ(Number(kEntry, "EstimatedSize"), 3);  // 2,100 bytes, rounded up
  EXPECT_EQ(RegistryText(kEntry, "Publisher"), "Zelo");
  SYSTEMTIME today;
  GetLocalTime(&today);
  EXPECT_EQ(RegistryText(kEntry, "InstallDate"), FormatText("%04u%02u%02u", today.wYear, today.wMonth, today.wDay));
  EXPECT_EQ(RegistryText(kEntry, "URLInfoAbout"), "https://zelo.example/hilfe");
  EXPECT_EQ(RegistryText(kEntry, "HelpLink"), "https://zelo.example/hilfe");
  // Every value is recorded, so the uninstallation removes the entry.
  std::vector<std::string> lines = RecordedLines();
  EXPECT_EQ(lines.size(), 13u);
  KillRegistryData(*object, lines, kUser, kMachine);
  EXPECT_FALSE(RegistryKeyExists(kEntry));
}

}  // namespace
