// The rule that names an archive member on disk, with the conversions of the
// installer's German Windows: the archives publishers' tools make, and the
// byte sequences that must never turn into a path character.
#include "archive/member_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "archive/zip_directory.h"
#include "support/name_cases.h"
#include "sys/code_pages.h"

namespace {

struct Named {
  std::string Name;
  bool Exact;
};

std::vector<Named> MemberNames(const std::string& archive) {
  std::ifstream file(std::string(ZQ_TEST_ARCHIVES) + "/" + archive, std::ios::binary);
  const std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  MemorySource source(data.data(), data.size());
  ZipDirectory directory;
  EXPECT_EQ(ReadZipDirectory(source, ZipDirectoryOptions(), directory), 0) << archive;
  std::vector<Named> names;
  for (const ZipDirEntry& entry : directory.Entries) {
    Named named;
    named.Exact =
        ConvertStoredName(cpAuto, entry.FileName, entry.Flags, entry.MadeBy, GermanWindowsConversions(), named.Name);
    if (named.Name != "namen\\ver.ini") names.push_back(named);
  }
  return names;
}

TEST(MemberNames, EachArchiveOfThePublishersToolsGetsTheNameExpectedOfIt) {
  const std::vector<NameCase> cases = ReadNameCases(ZQ_TEST_ARCHIVES);
  std::vector<Named> names = MemberNames("names.zip");
  for (const Named& named : MemberNames("unwritable_names.zip")) names.push_back(named);
  ASSERT_EQ(names.size(), cases.size());
  ASSERT_GE(cases.size(), 7u);
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(names[i].Name);
    EXPECT_EQ(names[i].Exact, cases[i].Finding != "error" && !cases[i].LookAlike);
    if (cases[i].Finding != "error") {
      EXPECT_EQ(names[i].Name, "namen\\" + cases[i].DiskName);
    }
  }
  EXPECT_EQ(names.back().Name, "namen\\??.txt");
}

TEST(MemberNames, SettingsAndMalformedBytesNeverMakeASeparator) {
  std::string name;
  const AnsiConversions& german = GermanWindowsConversions();
  // cpNone keeps an MS-DOS name's bytes, cpOEM converts a Unix host's.
  EXPECT_TRUE(ConvertStoredName(cpNone, "gr\x81n", 0, 20, german, name));
  EXPECT_EQ(name, "gr\x81n");
  EXPECT_TRUE(ConvertStoredName(cpOEM, "gr\x81n", 0x0800, 3 << 8 | 20, german, name));
  EXPECT_EQ(name, "gr\xFCn");
  // An overlong "/" and a lone continuation byte are malformed, not characters.
  EXPECT_FALSE(ConvertStoredName(cpAuto,
                                 "a\xC0\xAF"
                                 "b\x80",
                                 0x0800, 0, german, name));
  EXPECT_EQ(name, "a??b?");
  EXPECT_FALSE(Utf8ToAnsi("\xED\xA0\x80", name));  // a surrogate
  EXPECT_EQ(name.find_first_of("/\\."), std::string::npos);
  // Box drawing of code page 850 has no Windows-1252 form; the euro sign is in 1252 only.
  EXPECT_FALSE(Oem850ToAnsi("\xB3", name));
  EXPECT_EQ(AnsiToUtf8("\x80\x9F\xFC"), "\xE2\x82\xAC\xC5\xB8\xC3\xBC");
  EXPECT_EQ(ValidUtf8("ok\xFF\xC3\xBC"), "ok?\xC3\xBC");
}

}  // namespace
