#include "sys/shell_open.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/registry.h"

namespace {

// Two file types of the test's own whose "open" command is the recorder.
class TestFileTypes : public ::testing::Test {
 protected:
  const std::string recorder = "\"" + FixturePath("arg_recorder.exe") + "\"";
  std::string withPlaceholder, withoutPlaceholder;
  void SetUp() override {
    withPlaceholder = recorder + " \"" + ScratchPath("first.rec") + "\" \"%1\" /p \"%1\"";
    withoutPlaceholder = recorder + " \"" + ScratchPath("second.rec") + "\"";
    Register(".zqeins", "ZQ.Eins", withPlaceholder);
    Register(".zqzwei", "ZQ.Zwei", withoutPlaceholder);
    ASSERT_TRUE(RegWriteString("HKEY_CLASSES_ROOT\\.zqleer", "", ""));
  }
  void TearDown() override {
    for (const char* key : {".zqeins", "ZQ.Eins", ".zqzwei", "ZQ.Zwei", ".zqleer"})
      RegDeleteEntry("HKEY_CLASSES_ROOT", key, true);
  }
  static void Register(const std::string& extension, const std::string& type, const std::string& command) {
    ASSERT_TRUE(RegWriteString("HKEY_CLASSES_ROOT\\" + extension, "", type));
    ASSERT_TRUE(RegWriteString("HKEY_CLASSES_ROOT\\" + type + "\\shell\\open\\command", "", command));
  }
  // The recorded command line, once the recorder has written it.
  static std::string Recorded(const std::string& name) {
    const std::string path = ScratchPath(name);
    for (int i = 0; i < 200 && ReadTextFile(path).empty(); ++i) Sleep(50);
    return ReadTextFile(path);
  }
};

TEST_F(TestFileTypes, ShellOpenCommandFindsTheVerbOfTheFileType) {
  EXPECT_EQ(ShellOpenCommand("zqeins", "open"), withPlaceholder);  // the point is added
  EXPECT_EQ(ShellOpenCommand(" .zqeins ", " open "), withPlaceholder);
  EXPECT_EQ(ShellOpenCommand("zqeins", "print"), "");
  EXPECT_EQ(ShellOpenCommand("zqleer", "open"), "");  // no file type name
  EXPECT_EQ(ShellOpenCommand("zqunbekannt", "open"), "");
  EXPECT_EQ(ShellOpenCommand("", "open"), "");
  EXPECT_EQ(ShellOpenCommand("zqeins", ""), "");
}

TEST_F(TestFileTypes, OpenReplacesOnlyTheFirstPlaceholder) {
  const std::string document = ScratchPath("brief.zqeins");
  ASSERT_TRUE(WriteTextFile(document, "x"));
  DeleteFileA(ScratchPath("first.rec").c_str());
  ASSERT_TRUE(OpenWithAssociatedProgram(document, "", false));
  const std::string line = Recorded("first.rec");
  EXPECT_NE(line.find("\"" + document + "\" /p \"%1\""), std::string::npos) << line;
}

TEST_F(TestFileTypes, OpenAppendsTheQuotedFileWithoutPlaceholder) {
  const std::string document = ScratchPath("ohne endung");
  DeleteFileA(ScratchPath("second.rec").c_str());
  EXPECT_FALSE(OpenWithAssociatedProgram(document, "zqzwei", false));  // missing file
  ASSERT_TRUE(OpenWithAssociatedProgram(document, "zqzwei", true));
  const std::string line = Recorded("second.rec");
  EXPECT_NE(line.find(" \"" + document + "\""), std::string::npos) << line;
}

TEST_F(TestFileTypes, OpenFailsWithoutAnAssociatedProgram) {
  const std::string document = ScratchPath("daten.zqunbekannt");
  ASSERT_TRUE(WriteTextFile(document, "x"));
  EXPECT_FALSE(OpenWithAssociatedProgram(document, "", false));
  EXPECT_FALSE(OpenWithAssociatedProgram("  ", "zqeins", true));
}

}  // namespace
