// Closing running programs, INI entries, starting programs from folders with
// blanks, and the restart entry: with fixture windows and programs, in the
// prefix's registry and file system.
#include "engine/actions/programs.h"

#include <gtest/gtest.h>

#include "engine/actions/action_test.h"
#include "engine/actions/ini_edits.h"
#include "engine/actions/reboot_info.h"
#include "engine/actions/uninstaller_copy.h"
#include "engine/config/component_reader.h"
#include "engine/system_keys.h"
#include "support/running_window.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

const std::string kMachine = "HKEY_LOCAL_MACHINE\\Software\\ZqProgramTest\\Quotaline";

class Programs : public ActionTest {
 protected:
  void TearDown() override {
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqProgramTest", true);
    RegDeleteEntry(kRunOnceKey, "ZqNeustart", false);
  }
};

TEST_F(Programs, WindowsAreAskedToCloseAtMostFourTimes) {
  RunningWindow second("ZqZweiter", "Zweites Fenster", 2, folder + "zweiter.txt");
  // Of another class, under the same title: never touched.
  RunningWindow namesake("ZqNamensvetter", "Zweites Fenster", 1, folder + "namensvetter.txt");
  // A line with a class and no title closes the class's window whatever its title.
  RunningWindow titled("ZqMitTitel", "Irgendein Titel", 1, folder + "titel.txt");
  ASSERT_TRUE(second.Open() && namesake.Open() && titled.Open());
  EXPECT_TRUE(ClosePrograms(*object, {"ZqZweiter=Zweites Fenster", "ZqGibtsNicht=Nie da", "ZqMitTitel="}, true));
  EXPECT_FALSE(second.Open());
  EXPECT_EQ(second.Requests(), "2");
  EXPECT_TRUE(namesake.Open());
  EXPECT_EQ(namesake.Requests(), "");
  EXPECT_FALSE(titled.Open());
  EXPECT_EQ(log, (std::vector<std::string>{"Beende Programm:    Zweites Fenster", "Beende Programm:    "}));

  // One that never closes ends the run; the lines after it are not looked at.
  RunningWindow never("ZqNie", "Bleibt", 0, folder + "nie.txt");
  RunningWindow later("ZqSpaeter", "Danach", 1, folder + "danach.txt");
  ASSERT_TRUE(never.Open() && later.Open());
  log.clear();
  EXPECT_FALSE(ClosePrograms(*object, {"ZqNie=Bleibt", "ZqSpaeter="}, true));
  EXPECT_EQ(never.Requests(), "4");
  EXPECT_TRUE(later.Open());
  EXPECT_EQ(log, (std::vector<std::string>{"Beende Programm:    Bleibt",
                                           "Fehler:  Programm Bleibt konnte nicht beendet werden."}));
}

TEST_F(Programs, IniEntriesOfTheDescriptorsAreWritten) {
  Install();
  const std::string ini = folder + "app.ini";
  WriteTextFile(ini, "[options]\r\nDataPath=alt\r\nBleibt=ja\r\n");
  WriteTextFile(folder + "ver.ini",
                "[component]\r\nname=viewer\r\n[ini]\r\n01=%thisDir%app.ini=options\r\nx=%thisDir%app.ini=fremd\r\n"
                "[AddIni01]\r\nDataPath=%thisDir%daten\r\nLeer=\r\n[AddInix]\r\nNie=1\r\n[AddIni1]\r\nFalsch=1\r\n");
  ASSERT_EQ(ReadComponent(*object, folder + "ver.ini"), 0);
  EXPECT_EQ(SetInstIniData(*object), 0);
  const IniFile edited(ini);
  EXPECT_EQ(edited.ReadString("options", "DataPath", ""), folder + "daten");
  EXPECT_EQ(edited.ReadString("options", "Bleibt", ""), "ja");
  EXPECT_EQ(edited.Keys("options"), (std::vector<std::string>{"DataPath", "Bleibt"}));
  EXPECT_FALSE(edited.HasSection("fremd"));
  EXPECT_EQ(log, (std::vector<std::string>{"Setze INI Daten...",
                                           "Schreibe INI:  " + ini + ": [options] DataPath=" + folder + "daten"}));
  EXPECT_EQ(progress, 1);
}

TEST_F(Programs, ProgramsInFoldersWithBlanksStartWhole) {
  const std::string programs = folder + "Mit Blank\\";
  ForceFolders(programs);
  const std::string program = programs + "Viewer App.exe";
  CopyFileA(FixturePath("call_recorder.exe").c_str(), program.c_str(), FALSE);
  InstallSettings& settings = Install();
  object->PlaceholderTable.insert(object->PlaceholderTable.begin(), "%zqtest%=" + folder);
  settings.RunProg = "%zqtest%fehlt.exe /x";
  settings.RunProgWait = "%zqtest%Mit Blank\\Viewer App.exe /a \"b c\"";
  RunProg(*object);
  EXPECT_EQ(ReadTextFile(programs + "calls.log"), "\"" + program + "\" /a \"b c\"\r\n");
  EXPECT_EQ(log, (std::vector<std::string>{"Starte Programm: fehlt.exe /x",
                                           "Starte Programm: \"Viewer App.exe\" /a \"b c\""}));
  // A quoted program is taken as it stands.
  settings.RunProg.clear();
  settings.RunProgWait = "\"" + program + "\" zwei";
  RunProg(*object);
  EXPECT_EQ(ReadTextFile(programs + "calls.log"), "\"" + program + "\" /a \"b c\"\r\n\"" + program + "\" zwei\r\n");
}

TEST_F(Programs, TheRestartEntryCompletesWhatWaits) {
  object->WinDir = folder + "Windows\\";
  object->UninstDir = folder + "Ziel\\uninst\\";
  object->ProductName = "ZqNeustart";
  // The product's own uninstaller, started under the product's own value.
  const std::string uninstaller = UninstallerPath(*object);
  ForceFolders(FolderPart(uninstaller));
  EXPECT_EQ(uninstaller, object->WinDir + "zquninst\\ZqNeustart\\zquninst.exe");
  WriteTextFile(uninstaller, "MZ");
  char shortPath[512] = {};
  GetShortPathNameA(uninstaller.c_str(), shortPath, sizeof shortPath);
  ComponentEntry idle, waiting;
  waiting.Pending = {{pkCom, "c:\\x\\a.dll"}, {pkCopy, "c:\\x\\b.dll"}};
  InstallSettings& settings = Install({idle, waiting});
  settings.RegMachine = kMachine;

  EXPECT_TRUE(SetRebootInfo(*object));
  int32_t needed = 0;
  EXPECT_TRUE(RegReadInteger(kMachine, "NeedReboot", needed));
  EXPECT_EQ(needed, 1);
  std::string entry;
  EXPECT_TRUE(RegReadString(kRunOnceKey, "ZqNeustart", entry));
  EXPECT_EQ(entry, std::string(shortPath) + " -autoinstall:\"" + object->UninstDir + "error_inst.ini\"");
  EXPECT_EQ(log.front(), "Setze Reboot Info...");
  EXPECT_EQ(records, (std::vector<std::string>{"2|" + kMachine + "\\NeedReboot"}));

  // Nothing waits any more: the mark goes, and its absence is a warning.
  object->Settings->Components[1].Pending = {{pkCom, "c:\\x\\a.dll"}};
  log.clear();
  EXPECT_FALSE(SetRebootInfo(*object));
  EXPECT_FALSE(RegReadInteger(kMachine, "NeedReboot", needed));
  EXPECT_FALSE(SetRebootInfo(*object));
  EXPECT_EQ(log, (std::vector<std::string>{"Lösche Registry:    " + kMachine + "\\NeedReboot",
                                           "Lösche Registry:    " + kMachine + "\\NeedReboot",
                                           "Warnung: Registry Eintrag konnte nicht gelöscht werden."}));

  // Without the uninstaller copy there is nothing to start after the restart.
  DeleteFileA(uninstaller.c_str());
  RegDeleteEntry(kRunOnceKey, "ZqNeustart", false);
  object->Settings->Components[1].Pending = {{pkCopy, "c:\\x\\b.dll"}};
  EXPECT_TRUE(SetRebootInfo(*object));
  EXPECT_EQ(log.back(), "Fehler:  Reboot Info konnte nicht gesetzt werden");
  EXPECT_FALSE(RegReadString(kRunOnceKey, "ZqNeustart", entry) && !entry.empty());
}

}  // namespace
