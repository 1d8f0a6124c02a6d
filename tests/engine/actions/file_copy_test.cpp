// Copying under the overwrite rule and deleting again, on real files: versioned
// fixture DLLs, explicit write times, read-only and locked targets.
#include "engine/actions/file_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/actions/action_test.h"
#include "engine/config/component_reader.h"
#include "engine/result_codes.h"
#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/text.h"

namespace {

class FileCopy : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    ForceFolders(folder + "quelle");
  }
  std::string Source(const std::string& name, const std::string& text) {
    WriteTextFile(folder + "quelle\\" + name, text);
    return folder + "quelle\\" + name;
  }
  std::string Fixture(const std::string& name) {
    CopyFileA(FixturePath(name).c_str(), (folder + "quelle\\" + name).c_str(), FALSE);
    return folder + "quelle\\" + name;
  }
};

TEST_F(FileCopy, CopiesIntoNewFoldersAndMarksTheEntryWritten) {
  const std::string target = folder + "Ziel\\Unter\\A.txt";
  // A trailing "=" and blanks around the target are no part of it.
  std::vector<CopyEntry> copy{CopyEntryOf(Source("a.txt", "neu") + "=" + target + " =")};
  PendingActions pending;
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcOk);
  EXPECT_EQ(copy, (std::vector<CopyEntry>{{folder + "quelle\\a.txt", target, true}}));
  EXPECT_EQ(ReadTextFile(target), "neu");
  EXPECT_TRUE(Logged("Erstelle Verzeichnis: " + folder + "Ziel\\Unter\\"));
  EXPECT_TRUE(Logged("Kopiere Datei " + folder + "quelle\\a.txt nach " + target));
  EXPECT_EQ(records, (std::vector<std::string>{"1|" + target}));
  EXPECT_TRUE(pending.empty());
}

TEST_F(FileCopy, TheOverwriteRuleComparesVersionsThenDates) {
  const std::string target = folder + "ziel.dll";
  // Equal versions: not copied, so not written.
  CopyFileA(FixturePath("v1_2_0_0.dll").c_str(), target.c_str(), FALSE);
  std::vector<CopyEntry> copy{{Fixture("v1_2_0_0.dll"), target}};
  PendingActions pending;
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcOk);
  EXPECT_FALSE(copy[0].Written);
  // A newer target stays, unless forced.
  CopyFileA(FixturePath("v1_3_0_0.dll").c_str(), target.c_str(), FALSE);
  copy = {{Fixture("v1_2_0_0.dll"), target}};
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcOk);
  EXPECT_FALSE(copy[0].Written);
  copy = {{Fixture("v1_2_0_0.dll"), target}};
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, true), rcOk);
  EXPECT_TRUE(copy[0].Written);
  // One side without a version: the later write time wins.
  const std::string plain = Fixture("plain.dll");
  SetWriteTime(plain, 1);
  SetWriteTime(target, 2);
  copy = {{plain, target}};
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcOk);
  EXPECT_FALSE(copy[0].Written);
  SetWriteTime(plain, 3);
  copy = {{plain, target}};
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcOk);
  EXPECT_TRUE(copy[0].Written);
}

TEST_F(FileCopy, AReadOnlyTargetIsOverwrittenAndLeftWritable) {
  const std::string target = folder + "schreibgeschuetzt.txt";
  WriteTextFile(target, "alt");
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  std::vector<CopyEntry> copy{{Source("neu.txt", "neu"), target}};
  PendingActions pending;
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, true), rcOk);
  EXPECT_EQ(ReadTextFile(target), "neu");
  EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(FileCopy, ATargetInUseWaitsBesideIt) {
  const std::string target = folder + "InBenutzung.exe";
  WriteTextFile(target, "laeuft");
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::vector<CopyEntry> copy{{Source("neu.exe", "neu"), target}};
  PendingActions pending;
  const int result = CopyComponentFiles(*object, copy, pending, true);
  CloseHandle(held);
  EXPECT_EQ(result, rcOk);
  EXPECT_FALSE(copy[0].Written);
  EXPECT_EQ(pending, (PendingActions{{pkCopy, LowerAscii(target)}}));
  EXPECT_EQ(ReadTextFile(target + "~"), "neu");
  EXPECT_EQ(ReadTextFile(target), "laeuft");
  EXPECT_TRUE(Logged("Fehler:  Datei " + target + " konnte nicht geschrieben werden."));
  EXPECT_EQ(records, (std::vector<std::string>{"8|copy|" + target + "~|" + target}));
  EXPECT_EQ(object->ClearupFolders.count(LowerAscii(target + "~")), 1u);
}

TEST_F(FileCopy, AMissingSourceStopsWithMinus20) {
  std::vector<CopyEntry> copy{{folder + "fehlt.txt", folder + "ziel.txt"}, {Source("b.txt", "b"), folder + "b.txt"}};
  PendingActions pending;
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcFileNotFound);
  EXPECT_TRUE(Logged("Fehler:  Quelldatei (" + folder + "fehlt.txt) konnte nicht gefunden werden."));
  EXPECT_FALSE(FileExists(folder + "b.txt"));
}

TEST_F(FileCopy, FoldersAndWaitingCopiesThatCannotBeMadeEndTheCopy) {
  PendingActions pending;
  // A drive that does not exist: its root is no folder to copy into.
  std::vector<CopyEntry> copy{{Source("a.txt", "a"), "Q:\\a.txt"}};
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcFolderMissing);
  EXPECT_EQ(log.back(), "Fehler:  Verzeichnis (Q:\\) konnte nicht erstellt werden.");
  // A file where a folder belongs.
  WriteTextFile(folder + "Block", "x");
  copy = {{Source("a.txt", "a"), folder + "Block\\unter\\a.txt"}};
  EXPECT_EQ(CopyComponentFiles(*object, copy, pending, false), rcFolderMissing);
  // A target in use whose waiting copy cannot be written either.
  const std::string target = folder + "InBenutzung.exe";
  WriteTextFile(target, "laeuft");
  ForceFolders(target + "~");
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  copy = {{Source("neu.exe", "neu"), target}};
  const int result = CopyComponentFiles(*object, copy, pending, false);
  CloseHandle(held);
  EXPECT_EQ(result, rcTempFile);
  EXPECT_EQ(log.back(), "Fehler:  Datei " + target + "~ konnte nicht geschrieben werden.");
  EXPECT_EQ(ReadTextFile(target), "laeuft");
}

TEST_F(FileCopy, AFailedInstallationIsCleanedFromItsFolder) {
  object->InstallDir = folder + "Neu\\";
  ForceFolders(object->InstallDir + "app");
  ForceFolders(folder + "Fremd");
  for (const char* file : {"Neu\\app\\a.exe", "Neu\\app\\b.exe~", "Neu\\c.txt", "Fremd\\d.txt"})
    WriteTextFile(folder + file, "x");
  ComponentEntry component;
  for (const char* file : {"Neu\\app\\a.exe", "Neu\\c.txt", "Fremd\\d.txt"})
    component.Copy.push_back({"", folder + file, true});
  // Not reached by the copy: never written, so never deleted.
  WriteTextFile(folder + "Neu\\alt.txt", "x");
  component.Copy.push_back({folder + "quelle\\alt.txt", folder + "Neu\\alt.txt"});
  Install({component});
  object->ClearupFolders.insert(LowerAscii(folder + "Neu\\app\\b.exe~"));
  CleanInstallation(*object);
  EXPECT_FALSE(FolderExists(object->InstallDir + "app"));
  EXPECT_TRUE(FileExists(object->InstallDir + "alt.txt"));
  EXPECT_TRUE(FileExists(folder + "Fremd\\d.txt"));  // outside the installation folder
  EXPECT_EQ(log.front(), "Bereinige Installation...");
}

TEST_F(FileCopy, CopyFilesWorksThroughEveryComponent) {
  // Ending early or with nothing to copy, the step still advances by its weight.
  EXPECT_EQ(CopyFiles(*object), rcMemoryError);
  EXPECT_EQ(progress, 50);
  Install();
  progress = 0;
  EXPECT_EQ(CopyFiles(*object), rcOk);
  EXPECT_EQ(progress, 50);
  progress = 0;
  ComponentEntry first, second;
  first.Copy = {{Source("1.txt", "1"), folder + "ziel\\1.txt"}};
  second.Copy = {{Source("2.txt", "2"), folder + "ziel\\2.txt"}, {Source("3.txt", "3"), folder + "ziel\\3.txt"}};
  object->Settings->Components = {first, ComponentEntry(), second};
  EXPECT_EQ(CopyFiles(*object), rcOk);
  EXPECT_TRUE(object->Settings->Components[2].WroteAny());
  EXPECT_TRUE(object->Settings->Components[2].Wrote(folder + "ZIEL\\3.txt"));
  EXPECT_EQ(progress, 50);  // the step's whole weight
  EXPECT_EQ(log.front(), "Kopiere Dateien...");
}

TEST_F(FileCopy, KillFilesRemovesOnlyTheFoldersThatHeldTheFiles) {
  const std::string a = folder + "a\\";
  ForceFolders(a + "b\\c");
  WriteTextFile(a + "b\\c\\x", "x");
  WriteTextFile(a + "y", "y");
  KillFiles(*object, {a + "b\\c\\x", a + "y", folder + "fehlt.txt"}, true);
  EXPECT_FALSE(FolderExists(a + "b\\c"));
  EXPECT_TRUE(FolderExists(a + "b"));
  EXPECT_TRUE(Logged("Lösche Datei:       " + a + "y"));
  EXPECT_TRUE(Logged("Warnung: " + folder + "fehlt.txt konnte nicht gefunden werden."));
  EXPECT_TRUE(Logged("Lösche Verzeichnis:   " + a + "b\\c\\"));
  EXPECT_FALSE(Logged("Lösche Verzeichnis:   " + a + "b\\"));
  const auto warning = std::find_if(log.begin(), log.end(), [](const std::string& line) {
    return line.rfind("Warnung: Verzeichnis konnte nicht gelöscht werden. [", 0) == 0;
  });
  EXPECT_NE(warning, log.end());
}

TEST_F(FileCopy, TheTemporaryFilesGoWithTheObject) {
  const std::string work = folder + "~qlinst\\";
  ForceFolders(work + "tools");
  WriteTextFile(work + "tools\\ver.ini", "v");
  WriteTextFile(work + "archiv0.zip", "z");
  object->TempFiles = {work + "tools\\ver.ini"};
  object->ArchiveFiles = {work + "archiv0.zip"};
  object.reset();
  EXPECT_FALSE(FolderExists(work));
  EXPECT_TRUE(std::find(log.begin(), log.end(), "Lösche temporäre Dateien...") != log.end());
}

}  // namespace
