#include "engine/config/placeholders.h"

#include <gtest/gtest.h>

#include "sys/text.h"

namespace {

FolderVariables SampleFolders() {
  FolderVariables f;
  f.WinDir = "C:\\WINDOWS\\";
  f.SystemDir = "C:\\WINDOWS\\system32\\";
  f.TmpDir = "C:\\TEMP\\";
  f.MenuDir = "";
  f.DesktopDir = "C:\\users\\q\\Desktop\\";
  f.ProgramsDir = "C:\\Programme\\";
  f.CommonFilesDir = "C:\\Programme\\Gemeinsame Dateien\\";
  f.AllUsersAppDir = "C:\\ProgramData\\";
  f.AllUsersDir = "C:\\";
  return f;
}

PlaceholderLines SampleTable() {
  PlaceholderLines table;
  AppendFolderPlaceholders(table, SampleFolders());
  table.push_back("%installdir%=C:\\Programme\\Quotaline\\");
  return table;
}

bool AsciiOrder(const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); }

TEST(Placeholders, TableHoldsTheNineFoldersInOrder) {
  PlaceholderLines table;
  AppendFolderPlaceholders(table, SampleFolders());
  const PlaceholderLines expected = {"%windir%=C:\\WINDOWS\\",
                                     "%systemdir%=C:\\WINDOWS\\system32\\",
                                     "%tempdir%=C:\\TEMP\\",
                                     "%menudir%=",
                                     "%desktopdir%=C:\\users\\q\\Desktop\\",
                                     "%programsdir%=C:\\Programme\\",
                                     "%commonfilesdir%=C:\\Programme\\Gemeinsame Dateien\\",
                                     "%allusersappdir%=C:\\ProgramData\\",
                                     "%allusersdir%=C:\\"};
  EXPECT_EQ(table, expected);
}

TEST(Placeholders, ExpandsNamesWithoutRegardToCase) {
  const PlaceholderLines table = SampleTable();
  const std::string expected = "C:\\Programme\\Quotaline\\tools\\x.dll";
  EXPECT_EQ(ExpandPlaceholders(table, "%INSTALLDIR%tools\\x.dll"), expected);
  EXPECT_EQ(ExpandPlaceholders(table, "%installDir%tools\\x.dll"), expected);
  EXPECT_EQ(ExpandPlaceholders(table, "%installdir%\\tools\\x.dll"), expected);
  EXPECT_EQ(ExpandPlaceholders(table, " \t%tempDir%file.dll  "), "C:\\TEMP\\file.dll");
  EXPECT_EQ(ExpandPlaceholders(table, "%systemDir%a.dll=%commonFilesDir%b\\"),
            "C:\\WINDOWS\\system32\\a.dll=C:\\Programme\\Gemeinsame Dateien\\b\\");
}

TEST(Placeholders, EdgeCasesOfTheExpansion) {
  const PlaceholderLines table = SampleTable();
  EXPECT_EQ(ExpandPlaceholders(table, "\\\\server\\share\\x"), "\\server\\share\\x");
  EXPECT_EQ(ExpandPlaceholders(table, ""), "");
  EXPECT_EQ(ExpandPlaceholders(table, "   "), "");
  EXPECT_EQ(ExpandPlaceholders(table, "%menudir%Quotaline"), "Quotaline");
  EXPECT_EQ(ExpandPlaceholders(table, "%thisDir%ver.ini"), "%thisDir%ver.ini");
  EXPECT_EQ(ExpandPlaceholders(table, "%unbekannt%x"), "%unbekannt%x");
  EXPECT_EQ(ExpandPlaceholders(PlaceholderLines(), "  a\\\\b "), "a\\b");
}

TEST(Placeholders, TableOrderDecidesNestedAndRepeatedNames) {
  // A value holding a later name is expanded by the later line; a repeated
  // name keeps the value of its first line.
  const PlaceholderLines table = {"%a%=%b%x\\", "%b%=C:\\b\\", "%a%=D:\\later\\", "%c%=C:\\a=b\\"};
  EXPECT_EQ(ExpandPlaceholders(table, "%a%y"), "C:\\b\\x\\y");
  // A value with its own "=" still expands under its name.
  EXPECT_EQ(ExpandPlaceholders(table, "%c%z"), "C:\\a=b\\z");
  // Inserted text is not scanned by the same line again.
  EXPECT_EQ(ExpandPlaceholders({"%d%=%d%%d%"}, "%d%"), "%d%%d%");
}

TEST(Placeholders, ValuesThatDoubleTheTextStopAtALimit) {
  // Each line doubles the text; 40 lines would make a terabyte. The
  // expansion stops before the line that would pass 32 KiB and leaves the
  // rest of the names as they stand.
  PlaceholderLines table;
  for (int n = 0; n < 40; ++n)
    table.push_back("%p" + std::to_string(n) + "%=%p" + std::to_string(n + 1) + "%%p" + std::to_string(n + 1) + "%");
  const std::string expanded = ExpandPlaceholders(table, "%p0%");
  EXPECT_LE(expanded.size(), 32768u);
  EXPECT_GT(expanded.size(), 16384u);
  EXPECT_EQ(expanded.substr(0, 5), "%p12%");  // 4,096 times, 20,480 characters
}

TEST(DescriptorSection, ExpandsThisDirAndTheTableThenSorts) {
  const PlaceholderLines table = SampleTable();
  const DescriptorKeys keys{"C:\\TEMP\\~qlinst\\viewer\\", "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline",
                            "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline"};
  std::vector<std::string> copy = {"  %thisDir%b.dll=%installDir%b.dll", "%THISDIR%A.dll=%systemDir%\\A.dll",
                                   "%userReg%\\x=1"};
  ExpandDescriptorSection(copy, LineExpansion::Folders, keys, table, AsciiOrder);
  const std::vector<std::string> expected = {"%userReg%\\x=1",  // registry placeholders only in the registry section
                                             "C:\\TEMP\\~qlinst\\viewer\\A.dll=C:\\WINDOWS\\system32\\A.dll",
                                             "C:\\TEMP\\~qlinst\\viewer\\b.dll=C:\\Programme\\Quotaline\\b.dll"};
  EXPECT_EQ(copy, expected);

  std::vector<std::string> registry = {"%machineReg%\\Pfad=%installDir%", "%USERREG%\\Name=%thisDir%"};
  ExpandDescriptorSection(registry, LineExpansion::FoldersAndProductKeys, keys, table, AsciiOrder);
  const std::vector<std::string> expectedRegistry = {
      "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline\\Name=C:\\TEMP\\~qlinst\\viewer\\",
      "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline\\Pfad=C:\\Programme\\Quotaline\\"};
  EXPECT_EQ(registry, expectedRegistry);
}

}  // namespace
