#include "sys/shortcuts.h"

#include <gtest/gtest.h>

#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/text.h"

namespace {

std::string ShortPathOf(const std::string& path) {
  char buffer[MAX_PATH] = {};
  GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return buffer;
}

const std::string target = FixturePath("arg_recorder.exe");

// Leaves "Quotaline Viewer.lnk" behind for shortcut_lnkinfo_test, which reads
// it with an independent parser.
TEST(Shortcuts, CreateKeepsTheLinkNameWhole) {
  const std::string name = ScratchPath("Quotaline Viewer");
  DeleteFileA((name + ".lnk").c_str());
  ASSERT_TRUE(CreateShortcut(name, target, target));
  EXPECT_TRUE(FileExists(name + ".lnk"));
  // A point in the name is no extension: the link is found under its name again.
  const std::string dotted = ScratchPath("Quotaline 2.0");
  ASSERT_TRUE(CreateShortcut(dotted, target, target));
  EXPECT_TRUE(FileExists(dotted + ".lnk"));
  EXPECT_FALSE(FileExists(ScratchPath("Quotaline 2.lnk")));
  EXPECT_TRUE(RemoveShortcut(nullptr, dotted));
  EXPECT_FALSE(CreateShortcut(ScratchPath("fehlt\\Ordner"), target, target));
}

TEST(Shortcuts, ReadGivesTheShortTargetAndTheDescription) {
  const std::string link = ScratchPath("Lesen.lnk");
  ASSERT_TRUE(CreateShortcut(ScratchPath("Lesen"), target, target));  // no extension: ".lnk" appended
  const std::string read = ReadShortcut(nullptr, link);
  EXPECT_TRUE(SameText(read, ShortPathOf(target) + "|Beschreibung")) << read;
  EXPECT_EQ(ReadShortcut(nullptr, ScratchPath("fehlt.lnk")), "");
  ASSERT_TRUE(WriteTextFile(ScratchPath("kaputt.lnk"), "kein Link"));
  EXPECT_EQ(ReadShortcut(nullptr, ScratchPath("kaputt.lnk")), "");
}

TEST(Shortcuts, RemoveDeletesOnlyLinksToTheGivenTarget) {
  const std::string name = ScratchPath("Entfernen"), link = name + ".lnk";
  ASSERT_TRUE(CreateShortcut(name, target, target));
  EXPECT_FALSE(RemoveShortcut(nullptr, name, FixturePath("wait_tool.exe")));
  EXPECT_TRUE(FileExists(link));
  std::string otherCase = target;
  for (char& c : otherCase) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(RemoveShortcut(nullptr, name, otherCase));
  EXPECT_FALSE(FileExists(link));
  EXPECT_FALSE(RemoveShortcut(nullptr, name));  // gone already

  ASSERT_TRUE(CreateShortcut(name, target, target));
  EXPECT_TRUE(RemoveShortcut(nullptr, name));  // without a target: always
  EXPECT_FALSE(FileExists(link));

  ASSERT_TRUE(WriteTextFile(ScratchPath("Unlesbar.lnk"), "kein Link"));
  EXPECT_FALSE(RemoveShortcut(nullptr, ScratchPath("Unlesbar"), target));
  EXPECT_TRUE(FileExists(ScratchPath("Unlesbar.lnk")));
}

}  // namespace
