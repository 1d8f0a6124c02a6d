// Records that would make the uninstallation, the clear-up or the completion
// reach beyond the product, run through the real installer. Each is refused
// as it stands, unsealed; sealed by the test as if the installer had written
// it, the path and key rules alone must hold. A snapshot of every foreign
// file, folder and key the records name is the same before and after.
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/driver_test.h"
#include "engine/records/record_seal.h"
#include "support/folder_link.h"
#include "support/registry_probe.h"
#include "support/sealed_record.h"
#include "sys/folder_rights.h"
#include "sys/ini_file.h"

namespace {

const char kShared[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kForeignMachine = "HKEY_LOCAL_MACHINE\\Software\\ZqFremd";
const std::string kForeignUser = "HKEY_CURRENT_USER\\Software\\Microsoft\\ZqEndeTest";  // below a shared key
const std::string kForeignEntry = std::string(kUninstallKeys) + "\\ZqFremdProdukt";
// The product's own keys with an empty RegRoot: one name below Software.
const std::string kOwnMachine = "HKEY_LOCAL_MACHINE\\Software\\ZqEndeTest";

std::string WindowsFolder() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return WithTrailingBackslash(path);
}

std::string ShortPath(const std::string& path) {
  char text[MAX_PATH] = {};
  return GetShortPathNameA(path.c_str(), text, MAX_PATH) ? std::string(text) : path;
}

class TrustBoundary : public EndToEnd {
 protected:
  std::string outside;  // another product's folder
  std::string windows = WindowsFolder();

  void SetUp() override {
    EndToEnd::SetUp();
    outside = folder + "Fremd\\";
    ForceFolders(outside + "leer");
    WriteTextFile(outside + "wichtig.txt", "bleibt");
    WriteTextFile(windows + "zq_fremd.ini", "bleibt");
    RegWriteString(kForeignMachine, "Wert", "bleibt");
    RegWriteString(kForeignMachine + "\\viewer", "NeedReboot", "bleibt");
    RegWriteString(kForeignUser, "Wert", "bleibt");
    RegWriteString(kForeignEntry, "DisplayName", "Fremd");
    RegWriteInteger(kShared, outside + "wichtig.txt", 5);
    ForceFolders(target + "uninst");
    Build();
  }
  void TearDown() override {
    EndToEnd::TearDown();
    RemoveFolderLink(target + "verknuepft");
    DeleteFileA((windows + "zq_fremd.ini").c_str());
    for (const char* name : {"uninst.ini", "zquninstall.log"}) DeleteFileA((windows + name).c_str());
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqFremd", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software\\Microsoft", "ZqEndeTest", true);
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqEndeTest", true);
    RegDeleteEntry(kUninstallKeys, "ZqFremdProdukt", true);
    RegDeleteEntry(kShared, outside + "wichtig.txt", false);
  }
  // Every foreign file, folder and value the records name, one line each.
  std::vector<std::string> Foreign() const {
    std::vector<std::string> lines;
    std::vector<std::string> entries;
    FindFiles(entries, outside, "*.*", true, true);
    ListSubfolders(entries, outside, true, true);
    for (const std::string& entry : entries) lines.push_back(entry + " " + ReadTextFile(entry));
    lines.push_back("win " + ReadTextFile(windows + "zq_fremd.ini"));
    lines.push_back("machine " + RegistryText(kForeignMachine, "Wert"));
    lines.push_back("reboot " + RegistryText(kForeignMachine + "\\viewer", "NeedReboot"));
    lines.push_back("user " + RegistryText(kForeignUser, "Wert"));
    lines.push_back("entry " + RegistryText(kForeignEntry, "DisplayName"));
    int32_t count = -1;
    RegReadInteger(kShared, outside + "wichtig.txt", count);
    lines.push_back("shared " + std::to_string(count));
    return lines;
  }
  std::string Record(const std::string& path, const std::string& installPath, const std::string& sections) const {
    WriteTextFile(path, "[Info]\r\nInstallPath=" + installPath + "\r\nRegUser=" + kForeignUser +
                            "\r\nRegMachine=" + kForeignMachine + "\r\nName=ZqEndeTest\r\n" + sections);
    return path;
  }
  int Silently(const std::string& arguments) const {
    std::string output;
    return Run(arguments + " -hide", output);
  }
  std::string UninstallLog() const { return ReadTextFile(target + "uninst\\zquninstall.log"); }
};

TEST_F(TrustBoundary, UninstallRecordsActOnlySealedAndNeverBeyondTheirRules) {
  const std::vector<std::string> before = Foreign();
  // What a hostile record would have undone: foreign files, values, counts,
  // an entry and a system folder's file, through "..", a device path and
  // a foreign folder.
  const std::string record =
      Record(target + "uninst\\uninst.ini", target,
             "[InstalledFiles]\r\n" + windows + "zq_fremd.ini=installed\r\n" + target +
                 "..\\Fremd\\wichtig.txt=installed\r\n\\\\.\\" + outside + "wichtig.txt=installed\r\n" + outside +
                 "leer\\nichts.txt=installed\r\n"
                 "[Registry]\r\n" +
                 kForeignMachine + "\\Wert=inserted\r\n" + kForeignEntry +
                 "\\DisplayName=inserted\r\n[CommonFiles]\r\n" + outside + "wichtig.txt=installed\r\n");
  EXPECT_EQ(Silently("-uninstall:" + record), 32);
  EXPECT_EQ(Foreign(), before);
  EXPECT_TRUE(FileExists(record));  // refused as a whole: not even the record goes
  EXPECT_NE(
      UninstallLog().find("Fehler:  Die Datei " + LowerAscii(record) + " wurde nicht von diesem Installationsprogramm"),
      std::string::npos)
      << UninstallLog();

  // Sealed, a record whose installation folder is a drive root or a system
  // folder in any spelling is refused as a whole.
  for (const std::string& installPath :
       {std::string("C:\\.\\"), std::string("C:\\\\"), std::string("\\\\?\\C:\\"), ShortPath(windows),
        windows + "system32\\..\\", std::string("c:/windows/."), folder}) {
    Record(record, installPath,
           "[InstalledFiles]\r\n" + windows + "zq_fremd.ini=installed\r\n" + outside + "wichtig.txt=installed\r\n");
    ASSERT_TRUE(SealHandWrittenRecord(record));
    EXPECT_EQ(Silently("-uninstall:" + record), 31) << installPath;
    EXPECT_EQ(Foreign(), before) << installPath;
    EXPECT_NE(UninstallLog().find("Fehler:  Das Installationsverzeichnis " + WithTrailingBackslash(installPath) +
                                  " ist ein Laufwerk"),
              std::string::npos)
        << installPath;
  }

  // Sealed, with the real installation folder: files behind a link inside it,
  // device paths and folders elsewhere that this run took nothing from stay.
  ASSERT_TRUE(MakeFolderLink(target + "verknuepft", outside));
  WriteTextFile(target + "eigen.txt", "weg");
  Record(record, target,
         "[InstalledFiles]\r\n" + target + "verknuepft\\wichtig.txt=installed\r\n\\\\.\\" + outside +
             "wichtig.txt=installed\r\n" + outside + "leer\\nichts.txt=installed\r\n" + target +
             "eigen.txt=installed\r\n");
  ASSERT_TRUE(SealHandWrittenRecord(record));
  EXPECT_EQ(Silently("-uninstall:" + record), 0);
  EXPECT_EQ(Foreign(), before);
  EXPECT_FALSE(FileExists(target + "eigen.txt"));
  // The uninst folder holds the logs of the refused runs: the record there is
  // now the clear-up record, sealed anew.
  EXPECT_TRUE(IniFile(record).Keys("InstalledFiles").empty());
  EXPECT_EQ(IniFile(record).Keys("Directories"),
            (std::vector<std::string>{LowerAscii(target), LowerAscii(target) + "verknuepft\\"}));
  EXPECT_TRUE(RecordSealed(record));
  const std::string log = UninstallLog();
  EXPECT_NE(log.find("Warnung: Datei " + target + "verknuepft\\wichtig.txt gehört nicht zur Installation"),
            std::string::npos)
      << log;
}

TEST_F(TrustBoundary, ClearupRecordsActOnlySealedInsideTheInstallationAndOnTheProductsKeys) {
  const std::vector<std::string> before = Foreign();
  ForceFolders(target + "a\\b\\c");  // empty folders below empty folders
  ForceFolders(target + "rest");
  WriteTextFile(target + "rest\\alt.txt", "weg");
  ASSERT_TRUE(MakeFolderLink(target + "verknuepft", outside));
  RegWriteString(kOwnMachine, "Wert", "weg");
  const std::string directories = "[Directories]\r\n" + LowerAscii(target) + "..\\fremd\\=delete\r\n" +
                                  LowerAscii(target) + "rest\\..\\..\\fremd\\=delete\r\n" + LowerAscii(outside) +
                                  "=delete\r\n" + LowerAscii(windows) + "=delete\r\nc:\\=delete\r\n" +
                                  LowerAscii(target) + "..\\=delete\r\n" + LowerAscii(target) +
                                  "verknuepft\\=delete\r\n" + LowerAscii(target) + "=delete\r\n";
  // Named after its own file: the record beside it is not touched.
  const std::string record = Record(folder + "cleanup.ini", target, directories);
  WriteTextFile(folder + "uninst.ini", "bleibt");
  IniFile(record).WriteString("Info", "RegMachine", kOwnMachine);
  EXPECT_EQ(Silently("-clearup:" + record), 32);
  EXPECT_EQ(Foreign(), before);
  EXPECT_TRUE(FileExists(target + "rest\\alt.txt"));
  EXPECT_EQ(RegistryText(kOwnMachine, "Wert"), "weg");

  for (const std::string& installPath : {std::string("C:\\.\\"), std::string("\\\\?\\C:\\"), ShortPath(windows),
                                         windows + "system32\\..", folder + "."}) {
    Record(record, installPath, directories);
    ASSERT_TRUE(SealHandWrittenRecord(record));
    EXPECT_EQ(Silently("-clearup:" + record), 31) << installPath;
    EXPECT_EQ(Foreign(), before) << installPath;
    EXPECT_NE(
        ReadTextFile(folder + "zquninstall.log")
            .find("Fehler:  Das Installationsverzeichnis " + WithTrailingBackslash(installPath) + " ist ein Laufwerk"),
        std::string::npos)
        << installPath;
  }

  Record(record, target, directories);
  IniFile(record).WriteString("Info", "RegMachine", kOwnMachine);
  ASSERT_TRUE(SealHandWrittenRecord(record));
  ASSERT_EQ(Silently("-clearup:" + record), 0);
  EXPECT_EQ(Foreign(), before);
  EXPECT_FALSE(FolderExists(target + "rest"));
  EXPECT_FALSE(FolderExists(target + "a"));
  EXPECT_FALSE(RegistryKeyExists(kOwnMachine));  // the product's own key, with an empty RegRoot
  EXPECT_FALSE(FileExists(record));
  EXPECT_EQ(ReadTextFile(folder + "uninst.ini"), "bleibt");
  // Wine cannot remove a link to a folder; Windows removes a junction as a link.
  std::vector<std::string> left;
  FindFiles(left, target, "*.*", true, true);
  EXPECT_EQ(left, std::vector<std::string>{});
  const std::string log = ReadTextFile(folder + "zquninstall.log");
  for (const std::string& kept : {LowerAscii(outside), LowerAscii(windows), std::string("c:\\")})
    EXPECT_NE(log.find("Warnung: Verzeichnis " + kept + " gehört nicht zur Installation und bleibt erhalten."),
              std::string::npos)
        << kept << "\n"
        << log;
  EXPECT_NE(log.find("Warnung: Schlüssel " + kForeignUser + " gehört nicht zur Installation"), std::string::npos)
      << log;
}

// A hard link in place of an installed file and a link in place of the
// uninst folder, planted between runs as an ordinary user could: neither an
// update nor the uninstallation writes or deletes through them.
TEST_F(TrustBoundary, NothingIsWrittenOrDeletedThroughPlantedLinks) {
  Build("", "", "[copy]\r\n%thisDir%hilfe\\Übersicht.txt=%installdir%daten.txt\r\n");
  ASSERT_EQ(Silently(""), 0);
  ASSERT_EQ(ReadTextFile(target + "daten.txt"), "Hilfe");

  SetWriteTime(outside + "wichtig.txt", 1);  // older than the payload's file: the update copies
  ASSERT_TRUE(MakeHardLink(target + "daten.txt", outside + "wichtig.txt"));
  ASSERT_TRUE(MoveFileA((target + "uninst").c_str(), (folder + "uninst.alt").c_str()));
  ASSERT_TRUE(MakeFolderLink(target + "uninst", outside + "leer"));
  // Sealed under the name it is reached by, as if the installer had written it there.
  Record(outside + "leer\\uninst.ini", target, "[InstalledFiles]\r\n" + target + "daten.txt=installed\r\n");
  IniFile(outside + "leer\\uninst.ini").WriteString("Info", "RegMachine", kProductKey);
  ASSERT_TRUE(SealHandWrittenRecord(target + "uninst\\uninst.ini"));
  const std::vector<std::string> before = Foreign();

  // The update writes a file of its own in place of the hard link, and no
  // record or log into the folder behind the link.
  Silently("");
  EXPECT_EQ(Foreign(), before);
  EXPECT_EQ(ReadTextFile(target + "daten.txt"), "Hilfe");
  EXPECT_NE(ReadTextFile(outside + "wichtig.txt"), "Hilfe");

  // The uninstallation deletes its own file, but not the record behind the link.
  Silently("-uninstall:" + target + "uninst\\uninst.ini");
  EXPECT_EQ(Foreign(), before);
  EXPECT_FALSE(FileExists(target + "daten.txt"));
  EXPECT_TRUE(RemoveFolderLink(target + "uninst"));
}

// A new elevated installation never takes a folder whose files ordinary
// users may change; an empty one is given rights that let them change nothing.
TEST_F(TrustBoundary, ANewInstallationTakesNoFolderOthersMayChange) {
  RemoveDirectoryA((target + "uninst").c_str());  // the log goes beside the installer
  WriteTextFile(target + "steuer.txt", "eigen");
  ASSERT_TRUE(OpenToEveryone(target));
  EXPECT_EQ(Silently(""), 5);
  EXPECT_EQ(ReadTextFile(target + "steuer.txt"), "eigen");
  EXPECT_FALSE(RegistryKeyExists(kProductKey));
  const std::string log = ReadTextFile(folder + "zqinstall.log");
  EXPECT_NE(log.find("Fehler:  Das Verzeichnis " + target +
                     " enthält Dateien, die andere Benutzer ändern können, und wird für eine neue Installation "
                     "nicht verwendet."),
            std::string::npos)
      << log;

  DeleteFileA((target + "steuer.txt").c_str());
  ASSERT_TRUE(OthersMayChange(target));
  EXPECT_EQ(Silently(""), 0);
  EXPECT_FALSE(OthersMayChange(target));
}

// Installed into a folder that holds the user's files: the uninstallation
// and the clear-up remove what the installation created, and the user's
// files and folders stay, the folder itself too.
TEST_F(TrustBoundary, TheClearUpKeepsTheFoldersThatWereThereBefore) {
  RemoveDirectoryA((target + "uninst").c_str());
  WriteTextFile(target + "steuer.txt", "eigen");
  ForceFolders(target + "Briefe");
  WriteTextFile(target + "Briefe\\brief.txt", "eigen");
  Build("", "[copy]\r\n%thisDir%install.ini=%installdir%uninst\\install.ini\r\n",
        "[copy]\r\n%thisDir%hilfe\\Übersicht.txt=%installdir%hilfe\\Übersicht.txt\r\n");
  ASSERT_EQ(Silently(""), 0);
  const std::string record = target + "uninst\\uninst.ini";
  EXPECT_EQ(IniFile(record).Keys("Folders"),
            (std::vector<std::string>{LowerAscii(target) + "hilfe\\", LowerAscii(target) + "uninst\\"}));
  ASSERT_EQ(Silently("-uninstall:" + record), 0);
  // Of the folders the installation created, the one still there (with the
  // installation's log), and never the one that was there before.
  EXPECT_FALSE(FolderExists(target + "hilfe"));
  EXPECT_EQ(IniFile(record).Keys("Directories"), (std::vector<std::string>{LowerAscii(target) + "uninst\\"}));
  ASSERT_EQ(Silently("-clearup:" + record), 0);
  EXPECT_EQ(ReadTextFile(target + "steuer.txt"), "eigen");
  EXPECT_EQ(ReadTextFile(target + "Briefe\\brief.txt"), "eigen");
  EXPECT_FALSE(FolderExists(target + "hilfe"));
  EXPECT_FALSE(FolderExists(target + "uninst"));
}

TEST_F(TrustBoundary, TheCompletionCopiesOnlyWaitingFilesBesideTheirTargets) {
  const std::vector<std::string> before = Foreign();
  WriteTextFile(target + "eigen.txt", "alt");
  SetWriteTime(target + "eigen.txt", 1);
  WriteTextFile(target + "eigen.txt~", "neu");
  // A shared file elsewhere that another product replaced with a newer one
  // while this one waited: the overwrite rule keeps it.
  const std::string shared = folder + "System\\";
  ForceFolders(shared);
  WriteTextFile(shared + "geteilt.dll~", "wartet");
  SetWriteTime(shared + "geteilt.dll~", 1);
  WriteTextFile(shared + "geteilt.dll", "neuer");
  const std::string record = Record(
      target + "uninst\\error_inst.ini", target,
      "[install]\r\ndefaultDir=" + target + "\r\n[copy]\r\n" + outside + "wichtig.txt=" + windows + "zq_fremd.ini\r\n" +
          target + "eigen.txt~=" + target + "eigen.txt\r\n" + shared + "geteilt.dll~=" + shared +
          "geteilt.dll\r\n[Registry]\r\n" + kForeignMachine + "\\Wert=@\r\n" + kForeignEntry + "\\DisplayName=@\r\n" +
          kForeignMachine + "\\viewer\\NeedReboot=@\r\n" + kProductKey + "\\viewer\\NeedReboot=@\r\n");
  IniFile(record).WriteString("Info", "RegMachine", kProductKey);
  RegWriteInteger(std::string(kProductKey) + "\\viewer", "NeedReboot", 1);
  EXPECT_EQ(Silently("-autoinstall:" + record), 32);
  EXPECT_EQ(Foreign(), before);
  EXPECT_EQ(ReadTextFile(target + "eigen.txt"), "alt");

  ASSERT_TRUE(SealHandWrittenRecord(record));
  EXPECT_EQ(Silently("-autoinstall:" + record), 0);
  EXPECT_EQ(Foreign(), before);
  EXPECT_EQ(ReadTextFile(target + "eigen.txt"), "neu");  // its own waiting copy
  EXPECT_EQ(ReadTextFile(shared + "geteilt.dll"), "neuer");
  EXPECT_FALSE(FileExists(shared + "geteilt.dll~"));
  int32_t waiting = 0;
  EXPECT_FALSE(RegReadInteger(std::string(kProductKey) + "\\viewer", "NeedReboot", waiting));  // its own value
  EXPECT_FALSE(FileExists(record));
  const std::string log = ReadTextFile(target + "uninst\\zqinstall.log");
  EXPECT_NE(log.find("ist keine wartende Datei neben ihrem Ziel und wird nicht kopiert."), std::string::npos) << log;
}

}  // namespace
