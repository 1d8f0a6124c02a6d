// Whole initialisations in all four run modes: installers built by zqpack
// around the console driver, run as a user starts them, with their logs,
// records and working files checked afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "driver/driver_test.h"
#include "support/sealed_record.h"
#include "support/paths.h"
#include "support/registry_probe.h"
#include "support/process.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

TEST_F(EndToEnd, InstallWritesUnpacksReadsAndClearsUp) {
  Build();
  // What the user's own processes put where the working folder once was
  // is neither used nor changed: an administrator's run works elsewhere.
  ForceFolders(temp + "~qlinst\\uninst");
  WriteTextFile(temp + "~qlinst\\uninst\\install.ini", "[install]\r\nname=Fremd\r\n");
  std::string output;
  ASSERT_EQ(Run("", output), 0) << output;
  EXPECT_EQ(ReadTextFile(temp + "~qlinst\\uninst\\install.ini"), "[install]\r\nname=Fremd\r\n");
  EXPECT_EQ(Field(output, "ProductName"), "ZqEndeTest");
  EXPECT_EQ(Field(output, "InstallDir"), target);
  EXPECT_EQ(Field(output, "UninstDir"), target + "uninst\\");
  EXPECT_EQ(Field(output, "RegMachine"), kProductKey);
  EXPECT_EQ(Field(output, "BaseMissing"), "1");
  EXPECT_EQ(Field(output, "DeleteShared"), "1");
  EXPECT_EQ(List(output, "CloseList"), (std::vector<std::string>{"TViewer=Quotaline Viewer"}));

  // A new folder of a name nobody can predict in the Windows folder's Temp.
  const std::string work = Field(output, "WorkDir");
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string parent = LowerAscii(std::string(windows) + "\\Temp\\~ql");
  ASSERT_EQ(LowerAscii(work).rfind(parent, 0), 0u) << work;
  EXPECT_TRUE(std::regex_match(work.substr(parent.size()), std::regex("[0-9a-f]{16}\\\\"))) << work;
  const std::string lower = LowerAscii(work);
  EXPECT_EQ(List(output, "TempFiles"), (std::vector<std::string>{
                                           work + "zquninst.exe",
                                           lower + "uninst\\install.ini",
                                           lower + "uninst\\ver.ini",
                                           lower + "viewer\\hilfe\\Übersicht.txt",  // only A to Z lowered
                                           lower + "viewer\\ver.ini",
                                           work + "UnzLib.dll",
                                       }));
  EXPECT_EQ(List(output, "ArchiveFiles"), (std::vector<std::string>{lower + "archiv0.zip", lower + "archiv1.zip"}));
  std::vector<std::string> layout = List(output, "WorkFolder");
  std::sort(layout.begin(), layout.end());
  EXPECT_EQ(layout, (std::vector<std::string>{
                        lower + "archiv0.zip",
                        lower + "archiv1.zip",
                        lower + "uninst\\install.ini",
                        lower + "uninst\\ver.ini",
                        lower + "unzlib.dll",
                        lower + "viewer\\hilfe\\Übersicht.txt",
                        lower + "viewer\\ver.ini",
                        lower + "zquninst.exe",
                    }));
  EXPECT_FALSE(FolderExists(work));  // gone with the engine

  // No installation folder yet: the log lies beside the installer.
  EXPECT_EQ(Field(output, "log"), LowerAscii(folder) + "zqinstall.log");
  // The installer reads itself through its short path.
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(installer.c_str(), shortPath, MAX_PATH);
  const std::string source = LowerAscii(shortPath);
  const std::string uninstSize =
      std::to_string(std::stoi(Size("uninst\\install.ini")) + std::stoi(Size("uninst\\ver.ini")));
  const std::string viewerSize =
      std::to_string(std::stoi(Size("viewer\\hilfe\\Übersicht.txt")) + std::stoi(Size("viewer\\ver.ini")));
  EXPECT_EQ(Normalised(Log(folder, "zqinstall.log")),
            (std::vector<std::string>{
                "*********** Installation <zeit> ***********",
                "Function: DoInitInstall  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (1)  IsAdmin (1)",
                "Öffne Quelldatei:   " + source,
                "Lese Quelldatei:    " + source,
                "Erzeuge Datei:      " + work + "zquninst.exe",
                "Schreibe Datei:     " + work + "zquninst.exe",
                "Lese Quelldatei:    " + source,
                "Erzeuge Datei:      " + work + "UnzLib.dll",
                "Schreibe Datei:     " + work + "UnzLib.dll",
                "Lese Quelldatei:    " + source + " (Archiv Info)",
                "Lese Quelldatei:    " + source + " (Archiv 0)",
                "Schreibe Datei:     " + lower + "archiv0.zip",
                "Lese Quelldatei:    " + source + " (Archiv 1)",
                "Schreibe Datei:     " + lower + "archiv1.zip",
                "Time to write: <n> ms",
                "Lese Quelldatei:    " + lower + "archiv0.zip",
                "Extrahiere: Datei(en) 2   Größe: " + uninstSize + " Bytes",
                "Extrahiere: " + lower + "uninst\\install.ini   Größe: " + Size("uninst\\install.ini") + " Bytes",
                "Extrahiere: " + lower + "uninst\\ver.ini   Größe: " + Size("uninst\\ver.ini") + " Bytes",
                "Extrahiert: Datei(en) 2   Größe: " + uninstSize + " Bytes",
                "Lese Quelldatei:    " + lower + "archiv1.zip",
                "Extrahiere: Datei(en) 2   Größe: " + viewerSize + " Bytes",
                "Extrahiere: " + lower + "viewer\\hilfe\\Übersicht.txt   Größe: 5 Bytes",
                "Extrahiere: " + lower + "viewer\\ver.ini   Größe: " + Size("viewer\\ver.ini") + " Bytes",
                "Extrahiert: Datei(en) 2   Größe: " + viewerSize + " Bytes",
                "Lese Installationsinfo...",
                "dotNet ver: 1.1.4322  installed: 0  location: ",
                "DoInitInstall: 0",
                "Time to init: <n> ms",
                "",
            }));
  EXPECT_FALSE(FileExists(folder + "uninst.ini"));  // nothing recorded, no record written
  EXPECT_FALSE(FileExists(folder + "error_inst.ini"));

  // A second run appends its block, followed by an empty line; it works in a folder of its own.
  ASSERT_EQ(Run("-force", output), 0) << output;
  EXPECT_NE(Field(output, "WorkDir"), work);
  EXPECT_FALSE(FolderExists(Field(output, "WorkDir")));
  const std::vector<std::string> both = Normalised(Log(folder, "zqinstall.log"));
  const auto second = std::find(both.begin() + 1, both.end(), "*********** Installation <zeit> ***********");
  ASSERT_NE(second, both.end());
  EXPECT_EQ(*(second - 1), "Time to init: <n> ms");
  EXPECT_EQ(*(second + 1), "Function: DoInitInstall  Forced (1)  AutoRun (0)  Invisible (0)  IsNT (1)  IsAdmin (1)");
  EXPECT_EQ(std::vector<std::string>(both.end() - 4, both.end()),
            (std::vector<std::string>{"DoInitInstall: 0", "Time to init: <n> ms", "", ""}));
}

// Extracted files keep the times they were packed with, so an update copies
// only what changed and never the payload's empty record over the real one.
TEST_F(EndToEnd, AnUpdateKeepsTheRecordsAndCopiesOnlyWhatChanged) {
  ForceFolders(folder + "Komponenten\\uninst");
  WriteTextFile(folder + "Komponenten\\uninst\\uninst.ini", "");
  WriteTextFile(folder + "Komponenten\\uninst\\zqinstall.log", "");
  const std::string uninstCopies =
      "[copy]\r\n%thisDir%uninst.ini=%installdir%uninst\\uninst.ini\r\n"
      "%thisDir%zqinstall.log=%installdir%uninst\\zqinstall.log\r\n";
  const std::string viewerCopies = "[copy]\r\n%thisDir%hilfe\\Übersicht.txt=%installdir%hilfe\\Übersicht.txt\r\n";
  Build("", uninstCopies, viewerCopies);
  SetEnvironmentVariableA("ZQ_DRIVER_OPERATION", "1");
  std::string output;
  ASSERT_EQ(Run("", output), 0) << output;
  EXPECT_EQ(List(output, "Copied").size(), 3u) << output;
  const IniFile record(target + "uninst\\uninst.ini");
  const std::vector<std::string> installed = record.Keys("InstalledFiles");
  EXPECT_EQ(installed.size(), 3u);
  EXPECT_EQ(ReadTextFile(target + "hilfe\\Übersicht.txt"), "Hilfe");

  ASSERT_EQ(Run("", output), 0) << output;
  EXPECT_TRUE(List(output, "Copied").empty()) << output;
  EXPECT_EQ(record.Keys("InstalledFiles"), installed);
  const std::string log = Log(target + "uninst\\", "zqinstall.log");
  // The log of the installation holds both runs; only the first copied.
  const size_t second = log.rfind("*********** Installation");
  ASSERT_NE(second, log.find("*********** Installation"));
  EXPECT_NE(log.find("Kopiere Datei "), std::string::npos);
  EXPECT_EQ(log.find("Kopiere Datei ", second), std::string::npos);

  // An update package (update=1) leaves the uninstall entry to the first
  // installation but refreshes the version, size, publisher and date it shows, recorded.
  Build("update=1\r\n", uninstCopies, viewerCopies);
  ASSERT_EQ(Run("", output), 0) << output;
  const std::string entry = std::string(kUninstallKeys) + "\\ZqEndeTest";
  const std::string updated = Log(target + "uninst\\", "zqinstall.log");
  const size_t third = updated.rfind("*********** Installation");
  EXPECT_NE(updated.find("Schreibe Registry:  " + entry + "\\DisplayVersion=", third), std::string::npos) << updated;
  for (const char* value : {"EstimatedSize=", "Publisher=ZqDriverTest", "InstallDate=20"})
    EXPECT_NE(updated.find("Schreibe Registry:  " + entry + "\\" + value, third), std::string::npos) << value;
  EXPECT_EQ(updated.find("Schreibe Registry:  " + entry + "\\UninstallString=", third), std::string::npos);
  EXPECT_EQ(IniFile(target + "uninst\\uninst.ini").ReadString("Registry", entry + "\\DisplayVersion", ""), "inserted");

  // A run that finds the mark of one cut short copies the installation's
  // files again, but never the payload's empty record and log over its own.
  RegWriteInteger(kProductKey, "InstallInProgress", 1);
  ASSERT_EQ(Run("", output), 0) << output;
  EXPECT_EQ(IniFile(target + "uninst\\uninst.ini").Keys("InstalledFiles"), installed);
  const std::string again = Log(target + "uninst\\", "zqinstall.log");
  EXPECT_EQ(again.rfind(updated, 0), 0u);  // the earlier runs' lines are all there
  for (const char* own : {"uninst.ini", "zqinstall.log"})
    EXPECT_NE(again.find("Datei " + target + "uninst\\" + own + " gehört der Installation und bleibt, wie sie ist."),
              std::string::npos)
        << own;
}

// A target that holds another product's newer file is neither replaced nor
// recorded: the uninstallation leaves it alone.
TEST_F(EndToEnd, ANewerFileOfAnotherProductIsNeitherReplacedNorRecorded) {
  const std::string shared = folder + "System\\";
  Build("", "",
        "[copy]\r\n%thisDir%hilfe\\Übersicht.txt=" + shared +
            "geteilt.txt\r\n%thisDir%ver.ini=%installdir%viewer.ini\r\n");
  ForceFolders(shared);
  WriteTextFile(shared + "geteilt.txt", "fremd und neuer");
  SetEnvironmentVariableA("ZQ_DRIVER_OPERATION", "1");
  std::string output;
  ASSERT_EQ(Run("", output), 0) << output;
  EXPECT_EQ(List(output, "Copied").size(), 1u) << output;  // its own file only
  // No uninst folder: the record lies beside the installer.
  const std::vector<std::string> installed = IniFile(folder + "uninst.ini").Keys("InstalledFiles");
  EXPECT_EQ(std::count(installed.begin(), installed.end(), LowerAscii(shared) + "geteilt.txt") +
                std::count(installed.begin(), installed.end(), shared + "geteilt.txt"),
            0);
  ASSERT_EQ(Run("-uninstall:\"" + folder + "uninst.ini\"", output), 0) << output;
  EXPECT_EQ(ReadTextFile(shared + "geteilt.txt"), "fremd und neuer");
}

// An uninstallation whose record cannot go keeps the entry that starts it,
// and run again, completes; the mark a failed update left goes with the
// product's keys.
TEST_F(EndToEnd, AnUninstallationThatCannotFinishKeepsItsEntryAndIsCompletedAgain) {
  Build("", "[copy]\r\n%thisDir%install.ini=%installdir%uninst\\install.ini\r\n",
        "[copy]\r\n%thisDir%hilfe\\Übersicht.txt=%installdir%hilfe\\Übersicht.txt\r\n");
  SetEnvironmentVariableA("ZQ_DRIVER_OPERATION", "1");
  std::string output;
  ASSERT_EQ(Run("", output), 0) << output;
  RegWriteInteger(kProductKey, "InstallInProgress", 1);
  const std::string record = target + "uninst\\uninst.ini";
  const std::string entry = std::string(kUninstallKeys) + "\\ZqEndeTest";
  // Held open without leave to delete, as a virus scanner may hold it.
  const HANDLE held =
      CreateFileA(record.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const int first = Run("-uninstall:\"" + record + "\"", output);
  CloseHandle(held);
  ASSERT_EQ(first, 0) << output;
  EXPECT_FALSE(FileExists(target + "hilfe\\Übersicht.txt"));
  EXPECT_FALSE(RegistryKeyExists(kProductKey));  // the running mark too
  EXPECT_TRUE(FileExists(record));
  EXPECT_NE(RegistryText(entry, "QuietUninstallString"), "<none>");
  EXPECT_NE(Log(target + "uninst\\", "zquninstall.log")
                .find("Warnung: Der Deinstallationseintrag bleibt, bis die Deinstallation vervollständigt ist."),
            std::string::npos);
  ASSERT_EQ(Run("-uninstall:\"" + record + "\"", output), 0) << output;
  // What stands there now is the clear-up's record, beside the first run's log.
  EXPECT_TRUE(IniFile(record).Keys("InstalledFiles").empty());
  EXPECT_FALSE(RegistryKeyExists(entry));
}

TEST_F(EndToEnd, APayloadWithoutSettingsIsMinus27) {
  Build();
  // Renaming the member in the archive, both in its local header and in the
  // directory, keeps the archive sound: only the name changes.
  std::string bytes = ReadTextFile(installer);
  size_t renamed = 0;
  for (size_t at = bytes.find("uninst/install.ini"); at != std::string::npos;
       at = bytes.find("uninst/install.ini", at)) {
    bytes.replace(at, 18, "uninst/instal_.ini");
    ++renamed;
  }
  ASSERT_EQ(renamed, 2u);
  // Edited by hand, it would fail its integrity trailer: dropped, as other packers write none.
  ASSERT_EQ(bytes.compare(bytes.size() - 16, 8, "ZQPAYCRC"), 0);
  bytes.resize(bytes.size() - 16);
  ASSERT_TRUE(WriteTextFile(installer, bytes));

  std::string output;
  EXPECT_EQ(Run("", output), -27) << output;
  const std::vector<std::string> log = Lines(Log(folder, "zqinstall.log"), "\r\n");
  const std::string work = WorkFolderInLog(Log(folder, "zqinstall.log"));
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()),
            (std::vector<std::string>{
                "Fehler:  Datei " + work + "uninst\\install.ini konnte nicht gefunden werden.", "DoInitInstall: -27",
                "Initialisierung konnte nicht erfolgreich abgeschlossen werden: Installationsinformationen "
                "konnten nicht gefunden werden.",
                "", ""}));
  EXPECT_FALSE(FolderExists(work));
}

TEST_F(EndToEnd, AnUpdateWithoutBaseInstallationIsMinus22) {
  Build("update=1\r\n");
  std::string output;
  EXPECT_EQ(Run("", output), -22) << output;
  EXPECT_EQ(Field(output, "Update"), "1");
  EXPECT_EQ(Lines(Log(folder, "zqinstall.log"), "\r\n").rbegin()[3], "DoInitInstall: -22");
  EXPECT_FALSE(FolderExists(WorkFolderInLog(Log(folder, "zqinstall.log"))));
}

TEST_F(EndToEnd, CompletionReadsTheErrorRecord) {
  Build();
  const std::string record = folder + "error_inst.ini";
  WriteTextFile(record,
                "[Info]\r\nInstallPath=" + target +
                    "\r\nRegUser=HKEY_CURRENT_USER\\Software\\ZqDriverTest\\ZqEndeTest\r\nRegMachine=" + kProductKey +
                    "\r\nName=ZqEndeTest\r\n[copy]\r\n" + target + "a.exe~=" + target + "a.exe\r\n");
  ASSERT_TRUE(SealHandWrittenRecord(record));
  std::string output;
  ASSERT_EQ(Run("-autoinstall:" + record, output), 0) << output;
  EXPECT_EQ(Field(output, "RegMachine"), kProductKey);
  EXPECT_TRUE(List(output, "WorkFolder").empty());  // nothing unpacked
  // No installation folder: the log goes to the temporary folder, not beside the program.
  EXPECT_EQ(Normalised(Log(temp, "zqinstall.log")),
            (std::vector<std::string>{
                "*********** Auto Installation <zeit> ***********",
                "Function: DoInitAutoInstall  Forced (0)  AutoRun (1)  Invisible (1)  IsNT (1)  IsAdmin (1)",
                "Lese Installationsinfo...",
                "dotNet ver: 1.1.4322  installed: 0  location: ",
                "DoInitAutoInstall: 0",
                "Time to init: <n> ms",
                "",
            }));

  // Without a record, and so without an installation, the log goes to the temporary folder.
  EXPECT_EQ(Run("-autoinstall:" + folder + "fehlt.ini", output), -27) << output;
  EXPECT_EQ(Field(output, "log"), LowerAscii(temp) + "zqinstall.log");
  EXPECT_NE(Log(temp, "zqinstall.log").find("DoInitAutoInstall: -27"), std::string::npos);
  EXPECT_FALSE(FileExists(folder + "zqinstall.log"));
}

class EndToEndRecord : public EndToEnd {
 protected:
  std::string record;

  void SetUp() override {
    EndToEnd::SetUp();
    Build();
    ForceFolders(target + "uninst");
    record = target + "uninst\\uninst.ini";
    WriteTextFile(record, "[Info]\r\nInstallPath=" + target +
                              "\r\nRegUser=HKEY_CURRENT_USER\\Software\\ZqDriverTest\\ZqEndeTest\r\nRegMachine=" +
                              kProductKey + "\r\nVersion=1.0.0.0\r\nName=ZqEndeTest\r\nDeleteShared=1\r\n");
    RegWriteString(std::string(kUninstallKeys) + "\\ZqEndeTest", "DisplayName", "ZqEndeTest");
    EXPECT_TRUE(SealHandWrittenRecord(record));
  }
  bool UninstallEntryExists() const {
    OpenKey key(OpenRegPath(std::string(kUninstallKeys) + "\\ZqEndeTest", false, KEY_READ));
    return static_cast<bool>(key);
  }
};

TEST_F(EndToEndRecord, UninstallReadsTheRecordAndLogsBesideIt) {
  IniFile(record).WriteString("InstalledFiles", LowerAscii(target) + "viewer\\ver.ini", "installed");
  ASSERT_TRUE(SealHandWrittenRecord(record));
  std::string output;
  ASSERT_EQ(Run("-uninstall:" + record, output), 0) << output;
  EXPECT_EQ(Field(output, "ProductName"), "ZqEndeTest");
  EXPECT_EQ(Field(output, "UninstDir"), LowerAscii(target) + "uninst\\");  // the argument comes lower-cased
  EXPECT_EQ(Field(output, "DeleteShared"), "1");
  EXPECT_EQ(Field(output, "log"), LowerAscii(target) + "uninst\\zquninstall.log");
  EXPECT_EQ(Normalised(Log(target + "uninst\\", "zquninstall.log")),
            (std::vector<std::string>{
                "*********** Deinstallation <zeit> ***********",
                "Function: DoInitUninstall  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (1)  IsAdmin (1)",
                "Lese Deinstallationsinfo...",
                "DoInitUninstall: 0",
                "Time to init: <n> ms",
                "",
            }));
  EXPECT_TRUE(UninstallEntryExists());
  EXPECT_FALSE(FileExists(folder + "zqinstall.log"));
}

TEST_F(EndToEndRecord, ARejectedUninstallRecordForgetsTheProduct) {
  std::string output;
  EXPECT_EQ(Run("-uninstall:" + record, output), -31) << output;  // no installed files
  EXPECT_EQ(Lines(Log(target + "uninst\\", "zquninstall.log"), "\r\n").rbegin()[3], "DoInitUninstall: -31");
  EXPECT_FALSE(UninstallEntryExists());
}

TEST_F(EndToEndRecord, ClearupReadsTheFoldersOfTheRecord) {
  std::string output;
  EXPECT_EQ(Run("-clearup:" + record, output), -31) << output;  // no folders
  IniFile(record).WriteString("Directories", LowerAscii(target) + "viewer\\", "delete");
  IniFile(record).WriteString("Directories", LowerAscii(target), "delete");
  ASSERT_TRUE(SealHandWrittenRecord(record));
  ASSERT_EQ(Run("-clearup:" + record, output), 0) << output;
  EXPECT_EQ(List(output, "ClearupFolders"),
            (std::vector<std::string>{LowerAscii(target), LowerAscii(target) + "viewer\\"}));
  const std::vector<std::string> log = Normalised(Log(target + "uninst\\", "zquninstall.log"));
  // The second block, appended after the rejected first one.
  EXPECT_EQ(std::vector<std::string>(log.end() - 7, log.end()),
            (std::vector<std::string>{
                "*********** Clearup <zeit> ***********",
                "Function: DoInitClearup  Forced (0)  AutoRun (0)  Invisible (0)  IsNT (1)  IsAdmin (1)",
                "Lese Deinstallationsinfo...",
                "DoInitClearup: 0",
                "Time to init: <n> ms",
                "",
                "",
            }));
  EXPECT_TRUE(UninstallEntryExists());

  // Without a path the record beside the program is read.
  CopyFileA(record.c_str(), (folder + "uninst.ini").c_str(), FALSE);
  ASSERT_TRUE(SealHandWrittenRecord(folder + "uninst.ini"));
  ASSERT_EQ(Run("-clearup", output), 0) << output;
  EXPECT_EQ(Field(output, "UninstDir"), folder);
}

}  // namespace
