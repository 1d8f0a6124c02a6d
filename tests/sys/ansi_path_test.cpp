#include "sys/ansi_path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/text.h"
#include "sys/wide_text.h"

namespace {

const std::wstring kAyse = L"Ay\u015Fe";  // "ş" is not in Windows-1252

TEST(AnsiPath, ALackingLetterGoesByItsShortNameAndNeverByALookAlike) {
  const std::string scratch = FreshScratchFolder("reach");
  const std::wstring base = AnsiToWide(scratch);
  // What the code page holds stays as it is, existing or not.
  EXPECT_EQ(ReachablePath(base + L"Über\\neu"), scratch + "Über\\neu");

  const std::wstring folder = base + kAyse + L"\\Desktop";
  EXPECT_EQ(ReachablePath(folder), scratch + "Ay?e\\Desktop");  // not yet there: unreachable
  EXPECT_TRUE(IsUnreachable(ReachablePath(folder)));
  ASSERT_TRUE(CreateDirectoryW((base + kAyse).c_str(), nullptr));
  const std::string reached = ReachablePath(folder + L"\\");
  ASSERT_FALSE(IsUnreachable(reached)) << reached;
  // Only the part with the lacking letter is shortened; a missing part after it is appended.
  EXPECT_EQ(reached.rfind(scratch, 0), 0u) << reached;
  EXPECT_NE(reached.find('~'), std::string::npos) << reached;
  EXPECT_EQ(reached.substr(reached.size() - 9), "\\Desktop\\");
  EXPECT_EQ(LowerAscii(reached).find("ayse"), std::string::npos) << reached;
  const std::string shortFolder = reached.substr(0, reached.size() - 8);
  EXPECT_TRUE(FolderExists(shortFolder)) << shortFolder;
  EXPECT_EQ(LackingFullForm(shortFolder), scratch + "Ay?e\\");
  EXPECT_EQ(LackingFullForm(scratch), "");

  // A volume that makes no short names answers with the long form.
  const ShortPathLookup noShortNames = [](const std::wstring& path) { return path; };
  EXPECT_EQ(ReachablePath(folder, noShortNames), scratch + "Ay?e\\Desktop");
  EXPECT_EQ(ReachablePath(base, noShortNames), scratch);
  EXPECT_EQ(PathShape(folder), scratch + "Ay_e\\Desktop");
}

TEST(AnsiPath, AFolderTheUserNamesIsCreatedUnderItsFullNameFirst) {
  const std::string scratch = FreshScratchFolder("create");
  const std::wstring base = AnsiToWide(scratch);
  std::vector<std::string> created;
  const std::string reached = ReachFolder(base + L"Neu\\" + kAyse + L"\\Quotaline\\", created);
  ASSERT_FALSE(IsUnreachable(reached)) << reached;
  // The two parts up to the one with the lacking letter; the rest is the installation's to make.
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0], scratch + "Neu\\");
  EXPECT_EQ(created[1], reached.substr(0, reached.size() - 10));
  EXPECT_NE(GetFileAttributesW((base + L"Neu\\" + kAyse).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(FolderExists(scratch + "Neu\\Ayse"));
  EXPECT_FALSE(FolderExists(reached));

  // Where the folder cannot be made, nothing made for it is left.
  created.clear();
  EXPECT_EQ(ReachFolder(base + L"Neu2\\" + kAyse + L"|", created), "");
  EXPECT_TRUE(created.empty());
  EXPECT_FALSE(FolderExists(scratch + "Neu2"));
}

}  // namespace
