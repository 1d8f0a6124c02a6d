// The life of a product in one prefix, as a user and the system run it: a
// silent installation into the default folder with files, a COM server, a
// shared file, registry values, an INI entry, a program group and shortcuts;
// then the uninstallation through the command of the uninstall entry, with a
// foreign file left in the installation folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/driver_test.h"
#include "engine/records/record_seal.h"
#include "support/sealed_record.h"
#include "support/installer_window.h"
#include "support/registry_probe.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/shell_folders.h"
#include "ui/form/form_controls.h"

namespace {

const char kShared[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kServers[] = "HKEY_CURRENT_USER\\Software\\ZqComFixture";
const std::string kUser = "HKEY_CURRENT_USER\\Software\\ZqDriverTest\\ZqEndeTest";
const char kRunOnce[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

int32_t Number(const std::string& key, const std::string& name) {
  int32_t value = 0;
  return RegReadInteger(key, name, value) ? value : -1;
}

// The Windows folder, with a trailing backslash.
std::string WindowsFolder() {
  char folder[MAX_PATH] = {};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return WithTrailingBackslash(folder);
}

// The product's own uninstaller folder below the Windows folder.
std::string UninstallerFolder() { return WindowsFolder() + "zquninst\\ZqEndeTest\\"; }

std::string ShortPath(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

// Whether the fixture server registered itself under its path.
bool ServerRegistered(const std::string& path) {
  std::vector<std::string> names;
  bool any = false;
  RegKeyHasEntries(kServers, names, any, false);
  for (const std::string& name : names)
    if (SameText(name, path)) return true;
  return false;
}

class ProductLife : public EndToEnd {
 protected:
  std::string menu = WithTrailingBackslash(ReadShellFolder("Programs", false));
  std::string common;  // the product's folder below the common files

  void SetUp() override {
    EndToEnd::SetUp();
    char folderPath[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%CommonProgramFiles%", folderPath, MAX_PATH);
    common = WithTrailingBackslash(folderPath) + "ZqEndeTest\\";
    ForgetInstallation();
  }
  void TearDown() override {
    EndToEnd::TearDown();
    ForgetInstallation();
  }
  // What the product can change on the machine, one line per key, value or file.
  std::vector<std::string> Snapshot() const {
    std::vector<std::string> lines;
    for (const std::string& key : {std::string("HKEY_LOCAL_MACHINE\\Software\\ZqDriverTest"), std::string(kProductKey),
                                   kUser, std::string(kUninstallKeys) + "\\ZqEndeTest"}) {
      std::vector<std::string> values, keys;
      bool any = false;
      if (!RegKeyHasEntries(key, values, any, false)) continue;
      RegKeyHasEntries(key, keys, any, true);
      lines.push_back(key + " values:" + std::to_string(values.size()) + " keys:" + std::to_string(keys.size()));
    }
    std::vector<std::string> shared, servers;
    bool any = false;
    RegKeyHasEntries(kShared, shared, any, false);
    for (const std::string& name : shared)
      if (LowerAscii(name).find("zqendetest") != std::string::npos) lines.push_back("shared " + name);
    RegKeyHasEntries(kServers, servers, any, false);
    for (const std::string& name : servers) lines.push_back("server " + name);
    std::string restart;
    if (RegReadString(kRunOnce, "ZqEndeTest", restart) && !restart.empty()) lines.push_back("RunOnce " + restart);
    const std::string windows = WindowsFolder();
    std::vector<std::string> files;
    for (const std::string& place : {target, common, menu + "ZqEndeTest Gruppe"})
      FindFiles(files, place, "*.*", true, true);
    for (const char* name : {"uninst.ini", "zquninstall.log", "zqinstall.log"})
      if (FileExists(windows + std::string(name))) files.push_back(windows + std::string(name));
    for (const std::string& file : files) lines.push_back("file " + file);
    // The seals of the records this test's product wrote go with the records.
    std::vector<std::string> seals;
    RegKeyHasEntries(kRecordSealKey, seals, any, false);
    for (const std::string& seal : seals)
      if (seal.rfind(LowerAscii(folder), 0) == 0 || seal == LowerAscii(windows) + "uninst.ini")
        lines.push_back("seal " + seal);
    return lines;
  }
  // What an installation that a failed test did not uninstall left outside its folder.
  void ForgetInstallation() const {
    RegDeleteEntry(kRunOnce, "ZqEndeTest", false);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqComFixture", true);
    RegDeleteEntry(kShared, common + "shared.dll", false);
    DeleteFileA((common + "shared.dll").c_str());
    RemoveDirectoryA(common.c_str());
    DeleteFileA((menu + "ZqEndeTest Gruppe\\Viewer.lnk").c_str());
    RemoveDirectoryA((menu + "ZqEndeTest Gruppe").c_str());
    for (const char* name : {"uninst.ini", "zquninstall.log"})
      DeleteFileA((UninstallerFolder() + std::string(name)).c_str());
  }
  // Components as a publisher writes them; data is the text of viewer\daten.txt,
  // written dayOfMonth 2024-05 when given; force makes the viewer component
  // copy its files whatever the overwrite rule says.
  void BuildProduct(const std::string& data = "alt", int dayOfMonth = 0, bool force = false) {
    const std::string viewer = folder + "Komponenten\\viewer\\";
    ForceFolders(viewer);
    WriteTextFile(viewer + "daten.txt", data);
    if (dayOfMonth) SetWriteTime(viewer + "daten.txt", dayOfMonth);
    CopyFileA(FixturePath("arg_recorder.exe").c_str(), (viewer + "app.exe").c_str(), FALSE);
    CopyFileA(FixturePath("com_server.dll").c_str(), (viewer + "server.dll").c_str(), FALSE);
    CopyFileA(FixturePath("plain.dll").c_str(), (viewer + "shared.dll").c_str(), FALSE);
    ForceFolders(folder + "Komponenten\\uninst");
    for (const char* name : {"uninst.ini", "zqinstall.log", "zquninstall.log"})
      WriteTextFile(folder + "Komponenten\\uninst\\" + name, "");
    Build(
        "UninstTitle=ZqEndeTest Komponenten\r\n[groups]\r\n1=ZqEndeTest Gruppe\r\n[links]\r\n"
        "%menudir%ZqEndeTest Gruppe\\Viewer=%installdir%viewer\\app.exe\r\n",
        "[copy]\r\n%thisDir%install.ini=%installdir%uninst\\install.ini\r\n"
        "%thisDir%uninst.ini=%installdir%uninst\\uninst.ini\r\n"
        "%thisDir%zqinstall.log=%installdir%uninst\\zqinstall.log\r\n"
        "%thisDir%zquninstall.log=%installdir%uninst\\zquninstall.log\r\n",
        std::string(force ? "force=1\r\n" : "") +
            "version=2.0\r\npath=%installdir%viewer\\\r\nexename=app.exe\r\n"
            "[copy]\r\n%thisDir%app.exe=%installdir%viewer\\app.exe\r\n"
            "%thisDir%server.dll=%installdir%viewer\\server.dll\r\n"
            "%thisDir%daten.txt=%installdir%viewer\\daten.txt\r\n"
            "%thisDir%shared.dll=%commonfilesdir%ZqEndeTest\\shared.dll\r\n"
            "[register]\r\n1=%installdir%viewer\\server.dll\r\n"
            "[shared]\r\n1=%commonfilesdir%ZqEndeTest\\shared.dll\r\n"
            "[registry]\r\n%machineReg%\\Einstellungen\\Farbe=blau\r\n%machineReg%\\Einstellungen\\Zahl=42\r\n"
            "[ini]\r\n1=%installdir%viewer\\app.ini=options\r\n[AddIni1]\r\nDataPath=%installdir%daten\r\n");
  }
};

TEST_F(ProductLife, InstalledSilentlyAndUninstalledThroughTheUninstallEntry) {
  const std::string product = kProductKey;
  BuildProduct();
  std::string output;
  // A user with English date and time formats: the product's time stamps keep theirs.
  const char kInternational[] = "HKEY_CURRENT_USER\\Control Panel\\International";
  std::vector<std::pair<const char*, std::string>> formats = {{"sShortDate", ""}, {"sTimeFormat", ""}};
  for (auto& [name, value] : formats) RegReadString(kInternational, name, value);
  RegWriteString(kInternational, "sShortDate", "M/d/yyyy");
  RegWriteString(kInternational, "sTimeFormat", "h:mm:ss tt");
  const int installed = Run("-hide", output);
  for (const auto& [name, value] : formats)
    if (value.empty())
      RegDeleteEntry(kInternational, name, false);
    else
      RegWriteString(kInternational, name, value);
  ASSERT_EQ(installed, 0) << output;  // and no restart needed
  for (const auto& [key, name] : {std::make_pair(kUser, "LastInstall"), std::make_pair(kUser + "\\viewer", "Install"),
                                  std::make_pair(product + "\\Components", "viewer")})
    EXPECT_TRUE(std::regex_match(RegistryText(key, name), std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)")))
        << key << "\\" << name << " = " << RegistryText(key, name);
  const std::string viewer = target + "viewer\\";
  EXPECT_TRUE(FileExists(viewer + "app.exe"));
  EXPECT_TRUE(ServerRegistered(viewer + "server.dll"));
  int32_t count = 0;
  EXPECT_TRUE(RegReadInteger(kShared, common + "shared.dll", count));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(RegistryText(std::string(kProductKey) + "\\Einstellungen", "Farbe"), "blau");
  EXPECT_EQ(RegistryText(std::string(kProductKey) + "\\viewer", "InstallPath"), viewer + "app.exe");
  EXPECT_EQ(IniFile(viewer + "app.ini").ReadString("options", "DataPath", ""), target + "daten");
  EXPECT_TRUE(FileExists(menu + "ZqEndeTest Gruppe\\Viewer.lnk"));
  const std::string entry = std::string(kUninstallKeys) + "\\ZqEndeTest";
  EXPECT_EQ(RegistryText(entry, "DisplayName"), "ZqEndeTest Komponenten");
  // Wine's own tools read the entry as the system's list of programs does.
  std::string listed, queried;
  EXPECT_EQ(RunProgram("uninstaller.exe --list", &listed), 0);
  EXPECT_NE(listed.find("ZqEndeTest|||ZqEndeTest Komponenten\r\n"), std::string::npos) << listed;
  RunProgram("reg.exe query \"" + entry + "\"", &queried);
  for (const char* value : {R"(Publisher\s+REG_SZ\s+ZqDriverTest)", R"(InstallDate\s+REG_SZ\s+20\d{6})"})
    EXPECT_TRUE(std::regex_search(queried, std::regex(value))) << value << "\n" << queried;
  const IniFile record(target + "uninst\\uninst.ini");
  EXPECT_EQ(record.Keys("InstalledFiles").size(), 8u);
  EXPECT_EQ(record.Keys("COM"), (std::vector<std::string>{viewer + "server.dll"}));
  EXPECT_EQ(record.Keys("CommonFiles"), (std::vector<std::string>{common + "shared.dll"}));
  EXPECT_EQ(record.Keys("Groups"), (std::vector<std::string>{"ZqEndeTest Gruppe"}));
  EXPECT_EQ(record.Keys("Links").size(), 1u);
  EXPECT_FALSE(FileExists(target + "uninst\\error_inst.ini"));
  EXPECT_EQ(RegistryText(kProductKey, "InstallInfo"), "<none>");  // no failure noted

  // The system's list of programs starts the uninstaller copy; a file of the
  // user's stays in the installation folder.
  // The installation's log from its first line on, line by line.
  const std::string uninstaller = UninstallerFolder() + "zquninst.exe";
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string today = FormatText("%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  const std::vector<std::string> installLog = Normalised(ReadTextFile(target + "uninst\\zqinstall.log"));
  const std::string work = LowerAscii(WorkFolderInLog(ReadTextFile(target + "uninst\\zqinstall.log")));
  EXPECT_FALSE(work.empty() || FolderExists(work)) << work;
  const auto installing = std::find_if(installLog.begin(), installLog.end(),
                                       [](const std::string& line) { return line.rfind("Installiere... ", 0) == 0; });
  EXPECT_EQ(std::vector<std::string>(installing, installLog.end()),
            (std::vector<std::string>{
                "Installiere... <zeit>",
                "Ermittle zu installierende Komponenten...",
                "Kopiere Dateien...",
                "Erstelle Verzeichnis: " + target + "uninst\\",
                "Kopiere Datei " + work + "uninst\\install.ini nach " + target + "uninst\\install.ini",
                "Kopiere Datei " + work + "uninst\\uninst.ini nach " + target + "uninst\\uninst.ini",
                "Kopiere Datei " + work + "uninst\\zqinstall.log nach " + target + "uninst\\zqinstall.log",
                "Kopiere Datei " + work + "uninst\\zquninstall.log nach " + target + "uninst\\zquninstall.log",
                "Erstelle Verzeichnis: " + viewer,
                "Kopiere Datei " + work + "viewer\\app.exe nach " + viewer + "app.exe",
                "Kopiere Datei " + work + "viewer\\daten.txt nach " + viewer + "daten.txt",
                "Kopiere Datei " + work + "viewer\\server.dll nach " + viewer + "server.dll",
                "Erstelle Verzeichnis: " + common,
                "Kopiere Datei " + work + "viewer\\shared.dll nach " + common + "shared.dll",
                "Registriere COM Komponenten...",
                "Registriere COM:    " + viewer + "server.dll",
                "Installiere dotNet Komponenten...",
                "Registriere dotNET Komponenten...",
                "Setze Deinstallationsdaten...",
                "Schreibe Registry:  " + entry + "\\UninstallString=" + ShortPath(uninstaller) + " -uninstall:\"" +
                    target + "uninst\\uninst.ini\"",
                "Schreibe Registry:  " + entry + "\\DisplayName=ZqEndeTest Komponenten",
                "Schreibe Registry:  " + entry + "\\DisplayIcon=" + uninstaller,
                "Schreibe Registry:  " + entry + "\\InstallLocation=" + target,
                // The release's version: the viewer component's, which zqpack wrote into the installer.
                "Schreibe Registry:  " + entry + "\\DisplayVersion=2.0.0.0",
                "Schreibe Registry:  " + entry + "\\QuietUninstallString=" + ShortPath(uninstaller) + " -uninstall:\"" +
                    target + "uninst\\uninst.ini\" -hide",
                "Schreibe Registry:  " + entry + "\\NoModify=1",
                "Schreibe Registry:  " + entry + "\\NoRepair=1",
                "Schreibe Registry:  " + entry + "\\EstimatedSize=27",
                "Schreibe Registry:  " + entry + "\\Publisher=ZqDriverTest",
                "Schreibe Registry:  " + entry + "\\InstallDate=" + today,
                "Setze Gemeinsame Dateien...",
                "Gemeinsame Datei setzen:  " + common + "shared.dll  1",
                "Setze Installationsdaten...",
                "Schreibe Registry:  " + kUser + "\\LastInstall=<zeit>",
                "Schreibe Registry:  " + product + "\\InstallPath=" + target,
                "Schreibe Registry:  " + kUser + "\\InstallPath=" + target,
                "Schreibe Registry:  " + product + "\\InstallerVersion=2.0.0.0",
                "Schreibe Registry:  " + kUser + "\\uninst\\log=0",
                "Schreibe Registry:  " + product + "\\uninst\\InstallPath=system",
                "Schreibe Registry:  " + kUser + "\\uninst\\InstallPath=system",
                "Lösche Registry:    " + kUser + "\\uninst\\Update",
                "Warnung: Registry Eintrag konnte nicht gelöscht werden.",
                "Schreibe Registry:  " + kUser + "\\uninst\\Install=<zeit>",
                "Schreibe Registry:  " + product + "\\uninst\\Version=",
                "Schreibe Registry:  " + product + "\\Components\\uninst=<zeit>",
                "Schreibe Registry:  " + kUser + "\\viewer\\log=0",
                "Schreibe Registry:  " + product + "\\viewer\\InstallPath=" + viewer + "app.exe",
                "Schreibe Registry:  " + kUser + "\\viewer\\InstallPath=" + viewer + "app.exe",
                "Lösche Registry:    " + kUser + "\\viewer\\Update",
                "Warnung: Registry Eintrag konnte nicht gelöscht werden.",
                "Schreibe Registry:  " + kUser + "\\viewer\\Install=<zeit>",
                "Schreibe Registry:  " + product + "\\viewer\\Version=2.0",
                "Schreibe Registry:  " + product + "\\Components\\viewer=<zeit>",
                "Setze Benutzer Installationsdaten...",
                "Schreibe Registry:  " + product + "\\Einstellungen\\Farbe=blau",
                "Schreibe Registry:  " + product + "\\Einstellungen\\Zahl=42",
                "Erzeuge Programmgruppe:  ZqEndeTest Gruppe",
                "Erzeuge Shortcut:   Viewer",
                "Setze INI Daten...",
                "Schreibe INI:  " + viewer + "app.ini: [options] DataPath=" + target + "daten",
                "Lösche Registry:    " + product + "\\NeedReboot",
                "Warnung: Registry Eintrag konnte nicht gelöscht werden.",
                "Lösche Registry:    " + product + "\\InstallInfo",
                "Warnung: Registry Eintrag konnte nicht gelöscht werden.",
                "Time to install: <n> ms",
                "Installation erfolgreich.",
                "",
                "",
            }));
  WriteTextFile(target + "eigene.txt", "meins");
  const std::string command = RegistryText(entry, "UninstallString");
  {
    InstallerRun run(command);
    ASSERT_TRUE(run.WaitForButton("&Entfernen")) << command;
    EXPECT_EQ(run.Caption(), "Deinstallieren...");
    EXPECT_EQ(run.Text(idLabelMsg), "Zum Start der Deinstallation klicken Sie Entfernen.");
    EXPECT_FALSE(run.Enabled(idEditInstallPath));
    run.Click(idButtonInstall);
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    EXPECT_EQ(run.Text(idLabelMsg), "Deinstallation erfolgreich.");
    run.Click(idButtonInstall);
    EXPECT_EQ(run.Wait(), 0);
  }
  // Only the INI file stays: its entries are not undone.
  std::vector<std::string> left;
  FindFiles(left, target, "*.*", true, true);
  EXPECT_EQ(left, (std::vector<std::string>{LowerAscii(target) + "eigene.txt", LowerAscii(viewer) + "app.ini"}));
  EXPECT_EQ(ReadTextFile(target + "eigene.txt"), "meins");
  EXPECT_FALSE(ServerRegistered(viewer + "server.dll"));
  EXPECT_FALSE(RegReadInteger(kShared, common + "shared.dll", count));
  EXPECT_FALSE(FileExists(common + "shared.dll"));
  EXPECT_FALSE(RegistryKeyExists(kProductKey));
  EXPECT_FALSE(RegistryKeyExists(kUser));
  // The maker's keys, which the installation created, go once empty.
  EXPECT_FALSE(RegistryKeyExists("HKEY_LOCAL_MACHINE\\Software\\ZqDriverTest"));
  EXPECT_FALSE(RegistryKeyExists("HKEY_CURRENT_USER\\Software\\ZqDriverTest"));
  EXPECT_FALSE(RegistryKeyExists(entry));
  EXPECT_FALSE(FolderExists(menu + "ZqEndeTest Gruppe"));
  // The folders of the installation are offered to the clear-up, in a record
  // beside the uninstaller copy, whose log tells why.
  const std::string own = UninstallerFolder();
  EXPECT_EQ(IniFile(own + "uninst.ini").Keys("Directories"),
            (std::vector<std::string>{LowerAscii(target), LowerAscii(viewer)}));
  const std::string log = ReadTextFile(own + "zquninstall.log");
  // The uninstallation's log, line by line.
  EXPECT_EQ(Normalised(log),
            (std::vector<std::string>{
                "*********** Deinstallation <zeit> ***********",
                "Function: DoInitUninstall  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (1)  IsAdmin (1)",
                "Lese Deinstallationsinfo...",
                "DoInitUninstall: 0",
                "Time to init: <n> ms",
                "*********** Deinstallation <zeit> ***********",
                "Setze Gemeinsame Dateien zurück...",
                "Gemeinsame Datei zurücksetzen:  " + common + "shared.dll  0",
                "Entferne Links...",
                "Lösche Shortcut:    " + LowerAscii(menu) + "zqendetest gruppe\\viewer",
                "Entferne Programmgruppen...",
                "Lösche Programmgruppe:   " + menu + "ZqEndeTest Gruppe",
                "Lösche Verzeichnis:   " + menu + "ZqEndeTest Gruppe",
                "Deregistriere Komponenten...",
                "Deregistriere COM:     " + viewer + "server.dll",
                "Lösche Dateien...",
                "Lösche Datei:       " + common + "shared.dll",
                "Lösche Datei:       " + target + "uninst\\install.ini",
                "Lösche Datei:       " + target + "uninst\\zqinstall.log",
                "Lösche Datei:       " + target + "uninst\\zquninstall.log",
                "Lösche Datei:       " + viewer + "app.exe",
                "Lösche Datei:       " + viewer + "daten.txt",
                "Lösche Datei:       " + viewer + "server.dll",
                "Lösche Installationsdaten...",
                "Lösche Registry:    " + product + "\\viewer\\Version",
                "Lösche Registry:    " + product + "\\viewer\\InstallPath",
                "Lösche Registry:    " + product + "\\uninst\\Version",
                "Lösche Registry:    " + product + "\\uninst\\InstallPath",
                "Lösche Registry:    " + product + "\\InstallPath",
                "Lösche Registry:    " + product + "\\InstallerVersion",
                "Lösche Registry:    " + product + "\\Einstellungen\\Zahl",
                "Lösche Registry:    " + product + "\\Einstellungen\\Farbe",
                "Lösche Registry:    " + product + "\\Components\\viewer",
                "Lösche Registry:    " + product + "\\Components\\uninst",
                "Lösche Registry:    " + kUser + "\\viewer\\log",
                "Lösche Registry:    " + kUser + "\\viewer\\InstallPath",
                "Lösche Registry:    " + kUser + "\\viewer\\Install",
                "Lösche Registry:    " + kUser + "\\uninst\\log",
                "Lösche Registry:    " + kUser + "\\uninst\\InstallPath",
                "Lösche Registry:    " + kUser + "\\uninst\\Install",
                "Lösche Registry:    " + kUser + "\\LastInstall",
                "Lösche Registry:    " + kUser + "\\InstallPath",
                "Lösche Registry:    " + product + "\\uninst",
                "Lösche Registry:    " + kUser + "\\uninst",
                "Lösche Registry:    HKEY_LOCAL_MACHINE\\Software\\ZqDriverTest",
                "Lösche Registry:    HKEY_CURRENT_USER\\Software\\ZqDriverTest",
                // The record goes last, then the entry that starts it, then the folders
                // that are left empty.
                "Lösche Datei:       " + target + "uninst\\uninst.ini",
                "Lösche Registry:    " + entry + "\\UninstallString",
                "Lösche Registry:    " + entry + "\\QuietUninstallString",
                "Lösche Registry:    " + entry + "\\Publisher",
                "Lösche Registry:    " + entry + "\\NoRepair",
                "Lösche Registry:    " + entry + "\\NoModify",
                "Lösche Registry:    " + entry + "\\InstallLocation",
                "Lösche Registry:    " + entry + "\\InstallDate",
                "Lösche Registry:    " + entry + "\\EstimatedSize",
                "Lösche Registry:    " + entry + "\\DisplayVersion",
                "Lösche Registry:    " + entry + "\\DisplayName",
                "Lösche Registry:    " + entry + "\\DisplayIcon",
                "Lösche Verzeichnis:   " + viewer,
                "Warnung: Verzeichnis konnte nicht gelöscht werden. [Verzeichnis ist nicht leer.]",
                "Lösche Verzeichnis:   " + target + "uninst\\",
                "Lösche Verzeichnis:   " + common,
                "Lösche Verzeichnis:   " + target,
                "Warnung: Verzeichnis konnte nicht gelöscht werden. [Verzeichnis ist nicht leer.]",
                "Warnung: Einige Dateien konnten nicht gelöscht werden",
                "Aktualisiere Installationsdatei...",
                "Deinstallation erfolgreich.",
                "",
            }));

  // The clear-up asks before it deletes what is left; cancelled, all stays.
  {
    InstallerRun run("\"" + uninstaller + "\" -clearup");
    ASSERT_TRUE(run.WaitForButton("&Bereinigen"));
    EXPECT_EQ(run.Caption(), "Bereinigen...");
    EXPECT_EQ(run.Text(idLabelMsg), "Zum Start der Bereinigung klicken Sie Bereinigen.");
    run.Click(idButtonInstall);
    std::string questions;
    while (HWND question = run.WaitForWindow("TMyMessageForm", "Warnung", 5000)) {
      questions += InstallerRun::DialogText(question) + "\n";
      InstallerRun::ClickDialogButton(question, "Abbrechen");
      for (int i = 0; i < 500 && IsWindow(question); ++i) Sleep(20);
    }
    EXPECT_NE(questions.find("Das Verzeichnis " + LowerAscii(viewer) + " \r"), std::string::npos) << questions;
    EXPECT_NE(questions.find("und alle (1) enthaltenen Dateien wirklich löschen?"), std::string::npos) << questions;
    ASSERT_TRUE(run.WaitForButton("Schließen"));
    run.Click(idButtonInstall);
    EXPECT_EQ(run.Wait(), 0);
  }
  EXPECT_TRUE(FileExists(target + "eigene.txt"));
  EXPECT_FALSE(FileExists(own + "uninst.ini"));  // a record is cleared up once
  // Silently, with a record written anew, everything goes.
  IniFile cleared(own + "uninst.ini");
  cleared.WriteString("Info", "InstallPath", target);
  cleared.WriteString("Info", "RegUser", kUser);
  cleared.WriteString("Info", "RegMachine", kProductKey);
  cleared.WriteString("Info", "Name", "ZqEndeTest");
  cleared.WriteString("Directories", LowerAscii(target), "delete");
  cleared.WriteString("Directories", LowerAscii(viewer), "delete");
  ASSERT_TRUE(SealHandWrittenRecord(own + "uninst.ini"));
  ASSERT_EQ(RunProgram("\"" + uninstaller + "\" -clearup -hide", &output), 0) << output;
  EXPECT_FALSE(FolderExists(target));
  DeleteFileA((own + "zquninstall.log").c_str());
}

TEST_F(ProductLife, AFileInUseIsReplacedAfterTheRestart) {
  const std::vector<std::string> before = Snapshot();
  BuildProduct("alt", 2);
  std::string output;
  ASSERT_EQ(Run("-hide", output), 0) << output;
  const std::string data = target + "viewer\\daten.txt";
  ASSERT_EQ(ReadTextFile(data), "alt");

  // A package whose component forces its older file in, while another
  // program holds the file open.
  BuildProduct("neu", 1, true);
  HANDLE held = CreateFileA(data.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  // The COM server too: its registration waits with it.
  const std::string server = target + "viewer\\server.dll";
  HANDLE heldServer = CreateFileA(server.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(heldServer, INVALID_HANDLE_VALUE);
  ASSERT_EQ(Run("-hide", output), 3010) << output;  // installed; a restart completes it
  EXPECT_EQ(ReadTextFile(data + "~"), "neu");
  EXPECT_EQ(Number(kProductKey, "NeedReboot"), 1);
  EXPECT_EQ(Number(std::string(kProductKey) + "\\viewer", "NeedReboot"), 1);
  const std::string errorRecord = target + "uninst\\error_inst.ini";
  EXPECT_EQ(IniFile(errorRecord).ReadString("copy", data + "~", ""), data);
  const std::string restart = RegistryText(kRunOnce, "ZqEndeTest");
  EXPECT_NE(restart.find(" -autoinstall:\"" + errorRecord + "\""), std::string::npos) << restart;

  // After a restart, as the system runs it: the value goes, the command runs.
  // The file is still held: the completion waits for the next restart.
  RegDeleteEntry(kRunOnce, "ZqEndeTest", false);
  ASSERT_EQ(RunProgram(restart, &output), 0) << output;
  EXPECT_EQ(ReadTextFile(data + "~"), "neu");
  EXPECT_EQ(IniFile(errorRecord).ReadString("copy", data + "~", ""), data);
  EXPECT_EQ(RegistryText(kRunOnce, "ZqEndeTest"), restart);
  EXPECT_EQ(Number(kProductKey, "NeedReboot"), 1);
  // The component's mark and the server's registration wait with their files.
  EXPECT_EQ(Number(std::string(kProductKey) + "\\viewer", "NeedReboot"), 1);
  EXPECT_TRUE(SameText(IniFile(errorRecord).ReadString("register", "1", ""), server));

  // Released, the next restart completes the installation.
  CloseHandle(held);
  CloseHandle(heldServer);
  RegDeleteEntry(kRunOnce, "ZqEndeTest", false);
  ASSERT_EQ(RunProgram(restart, &output), 0) << output;
  EXPECT_EQ(ReadTextFile(data), "neu");
  EXPECT_FALSE(FileExists(data + "~"));
  EXPECT_TRUE(ServerRegistered(server));
  EXPECT_FALSE(FileExists(errorRecord));
  EXPECT_EQ(Number(kProductKey, "NeedReboot"), -1);
  EXPECT_EQ(Number(std::string(kProductKey) + "\\viewer", "NeedReboot"), -1);
  EXPECT_TRUE(RegistryText(kRunOnce, "ZqEndeTest") == "" || RegistryText(kRunOnce, "ZqEndeTest") == "<none>");
  const std::string log = ReadTextFile(target + "uninst\\zqinstall.log");
  // The completion's log from its initialiser's result on, line by line.
  const std::vector<std::string> lines = Normalised(log);
  const auto completed = std::find(lines.rbegin(), lines.rend(), "DoInitAutoInstall: 0").base() - 1;
  EXPECT_EQ(
      std::vector<std::string>(completed, lines.end()),
      (std::vector<std::string>{
          "DoInitAutoInstall: 0", "Time to init: <n> ms", "Kopiere Datei " + data + "~ nach " + data,
          "Kopiere Datei " + server + "~ nach " + server,
          // The server is registered as the file it now is.
          "Registriere COM:    " + server,
          // The component's mark went only now, with its files in place.
          "Lösche Registry:    " + std::string(kProductKey) + "\\viewer\\NeedReboot",
          "Lösche Datei:       " + LowerAscii(data) + "~", "Lösche Datei:       " + LowerAscii(server) + "~",
          "Lösche Datei:       " + errorRecord, "Lösche Registry:    " + std::string(kProductKey) + "\\NeedReboot",
          "Auto Installation erfolgreich.", "", ""}));
  // The completion's records keep the product's own name.
  EXPECT_EQ(IniFile(target + "uninst\\uninst.ini").ReadString("Info", "Name", ""), "ZqEndeTest");

  const std::string uninstall = RegistryText(std::string(kUninstallKeys) + "\\ZqEndeTest", "QuietUninstallString");
  ASSERT_EQ(RunProgram(uninstall, &output), 0) << output;
  std::vector<std::string> left;
  FindFiles(left, target, "*.*", true, true);
  EXPECT_EQ(left, (std::vector<std::string>{LowerAscii(target) + "viewer\\app.ini"}));

  // The clear-up takes the rest: the machine is as it was.
  ASSERT_EQ(RunProgram("\"" + UninstallerFolder() + "zquninst.exe\" -clearup -hide", &output), 0) << output;
  EXPECT_EQ(Snapshot(), before);
}

// A run that finds the mark of one cut short, then an update whose base
// component carries an empty record newer than the installation's: the
// record keeps every item of the first run and the logs their history, so
// that the uninstallation and the clear-up leave nothing of the product and
// keep the shared file that another product counts.
TEST_F(ProductLife, ARepeatedRunAndAnUpdateKeepTheRecordSoThatNothingOfTheProductStays) {
  const std::string shared = common + "shared.dll";
  ForceFolders(common);
  CopyFileA(FixturePath("plain.dll").c_str(), shared.c_str(), FALSE);
  RegWriteInteger(kShared, shared, 1);
  const std::vector<std::string> before = Snapshot();
  BuildProduct("alt", 2);
  std::string output;
  ASSERT_EQ(Run("-hide", output), 0) << output;
  EXPECT_EQ(Number(kShared, shared), 2);
  const std::string record = target + "uninst\\uninst.ini";
  const std::vector<std::string> installed = IniFile(record).Keys("InstalledFiles");

  RegWriteInteger(kProductKey, "InstallInProgress", 1);
  ASSERT_EQ(Run("-hide", output), 0) << output;
  EXPECT_EQ(Number(kProductKey, "InstallInProgress"), -1);
  BuildProduct("neu", 3);
  ASSERT_EQ(Run("-hide", output), 0) << output;
  EXPECT_EQ(ReadTextFile(target + "viewer\\daten.txt"), "neu");
  EXPECT_EQ(Number(kShared, shared), 2);
  const IniFile kept(record);
  EXPECT_EQ(kept.Keys("InstalledFiles"), installed);
  EXPECT_EQ(kept.Keys("Links").size(), 1u);
  EXPECT_EQ(kept.Keys("Groups").size(), 1u);
  EXPECT_EQ(kept.Keys("COM").size(), 1u);
  EXPECT_EQ(kept.Keys("CommonFiles"), (std::vector<std::string>{shared}));
  const std::string log = ReadTextFile(target + "uninst\\zqinstall.log");
  size_t runs = 0;
  for (size_t at = 0; (at = log.find("*********** Installation", at)) != std::string::npos; ++at) ++runs;
  EXPECT_EQ(runs, 3u);

  const std::string entry = std::string(kUninstallKeys) + "\\ZqEndeTest";
  ASSERT_EQ(RunProgram(RegistryText(entry, "QuietUninstallString"), &output), 0) << output;
  EXPECT_FALSE(FileExists(menu + "ZqEndeTest Gruppe\\Viewer.lnk"));
  EXPECT_FALSE(ServerRegistered(target + "viewer\\server.dll"));
  EXPECT_EQ(Number(kShared, shared), 1);
  // The clear-up takes the rest, and the uninstaller with its folder and log
  // go at the next start of the system: the machine is as it was.
  const std::string uninstallers = UninstallerFolder();
  ASSERT_EQ(RunProgram("\"" + uninstallers + "zquninst.exe\" -clearup -hide", &output), 0) << output;
  const std::vector<std::string> pending = PendingDeletions();
  for (const std::string& path :
       {uninstallers + "zquninst.exe", uninstallers + "zquninstall.log", WithoutTrailingBackslash(uninstallers)})
    EXPECT_NE(std::find(pending.begin(), pending.end(), LowerAscii(path)), pending.end()) << path;
  // Run again, it finds nothing to clear up.
  ASSERT_EQ(RunProgram("\"" + uninstallers + "zquninst.exe\" -clearup -hide", &output), 0) << output;
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
