// The clear-up's progress marks, its answers and what it does without a list.
#include <gtest/gtest.h>

#include "engine/actions/action_test.h"
#include "engine/result_codes.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

const std::string kMachine = "HKEY_LOCAL_MACHINE\\Software\\ZqClearupTest\\Quotaline";
const std::string kUser = "HKEY_CURRENT_USER\\Software\\ZqClearupTest\\Quotaline";

class Answer : public Questions {
 public:
  explicit Answer(bool yes) : yes_(yes) {}
  bool Confirm(const std::string& text) override {
    asked.push_back(text);
    return yes_;
  }
  std::vector<std::string> asked;

 private:
  bool yes_;
};

class ClearupSequence : public ActionTest {
 protected:
  std::vector<int> marks;
  void SetUp() override {
    ActionTest::SetUp();
    object->ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t) {
      if (kind == rkMessage) log.push_back(text);
      if (kind == rkProgress) marks.push_back(std::stoi(text));
    };
    object->Uninstall = std::make_unique<UninstallData>();
    object->Uninstall->RegUser = kUser;
    object->Uninstall->RegMachine = kMachine;
    object->InstallDir = folder + "Ziel\\";
    object->UninstDir = folder;
    object->RecordPath = folder + "uninst.ini";
    object->ProductName = "Quotaline";
    WriteTextFile(folder + "uninst.ini", "[Directories]\r\n");
  }
  void TearDown() override {
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqClearupTest", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqClearupTest", true);
  }
};

TEST_F(ClearupSequence, AsksBeforeDeletingAndReachesItsMarks) {
  ForceFolders(object->InstallDir + "leer");
  WriteTextFile(object->InstallDir + "rest.txt", "x");
  object->ClearupFolders = {LowerAscii(object->InstallDir), LowerAscii(object->InstallDir) + "leer\\",
                            LowerAscii(object->InstallDir) + "fehlt\\"};
  RegWriteString(kMachine, "Wert", "x");
  RegWriteString(kUser + "\\Leer", "Wert", "x");
  Answer no(false);
  object->Asker = &no;
  EXPECT_EQ(object->DoClearup(), rcOk);
  EXPECT_EQ(marks, (std::vector<int>{50, 25, 5, 20}));
  EXPECT_FALSE(FileExists(folder + "uninst.ini"));
  EXPECT_FALSE(FolderExists(object->InstallDir + "leer"));  // empty: no question
  EXPECT_TRUE(FileExists(object->InstallDir + "rest.txt"));
  std::string value;
  EXPECT_TRUE(RegReadString(kMachine, "Wert", value) && value == "x");
  EXPECT_EQ(no.asked.size(), 3u);
  EXPECT_EQ(no.asked[0], "Das Verzeichnis " + LowerAscii(object->InstallDir) +
                             " \r\nund alle (1) enthaltenen Dateien wirklich löschen?");
  EXPECT_EQ(no.asked[1], "Den Schlüssel " + kUser + " \r\nund alle Unterschlüssel wirklich löschen?");
  EXPECT_EQ(log.front().rfind("*********** Clearup ", 0), 0u);

  // Confirmed, everything listed goes.
  Answer yes(true);
  object->Asker = &yes;
  WriteTextFile(folder + "uninst.ini", "");
  EXPECT_EQ(object->DoClearup(), rcOk);
  EXPECT_FALSE(FolderExists(object->InstallDir));
  EXPECT_FALSE(RegReadString(kMachine, "Wert", value));
  EXPECT_FALSE(RegReadString(kUser + "\\Leer", "Wert", value));
}

TEST_F(ClearupSequence, WithoutFoldersOnlyTheRecordGoes) {
  RegWriteString(kMachine, "Wert", "x");
  EXPECT_EQ(object->DoClearup(), rcNeedUninstall);
  EXPECT_EQ(marks, (std::vector<int>{50, 50}));
  EXPECT_FALSE(FileExists(folder + "uninst.ini"));
  std::string value;
  EXPECT_TRUE(RegReadString(kMachine, "Wert", value));
  object->Uninstall.reset();
  marks.clear();
  EXPECT_EQ(object->DoClearup(), rcMemoryError);
  EXPECT_EQ(marks, (std::vector<int>{100}));
}

}  // namespace
