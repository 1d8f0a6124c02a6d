#include "sys/registry.h"

#include <gtest/gtest.h>

#include "support/process.h"
#include "support/registry_probe.h"

namespace {

const std::string kScratch = "HKEY_CURRENT_USER\\Software\\ZqRegistryTest";

// Each test works below a scratch key of its own and removes it afterwards.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = kScratch + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveScratch();
  }
  void TearDown() override { RemoveScratch(); }

  static void RemoveScratch() { RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqRegistryTest", true); }

  std::string base_;
};

// What Wine's own reg.exe says about a value.
std::string RegQuery(const std::string& key, const std::string& value) {
  std::string output;
  RunProgram("reg.exe query \"" + key + "\" /v " + value, &output);
  return output;
}

TEST_F(Registry, WritesCreateMissingKeysAndReadBack) {
  const std::string path = base_ + "\\Deep\\Er";
  ASSERT_TRUE(RegWriteString(path, "Name", "Quotaline \xC4nderung"));
  ASSERT_TRUE(RegWriteInteger(path, "Count", -7));
  std::string text;
  int32_t number = 0;
  EXPECT_TRUE(RegReadString(path, "Name", text));
  EXPECT_EQ(text, "Quotaline \xC4nderung");
  EXPECT_TRUE(RegReadInteger(path, "Count", number));
  EXPECT_EQ(number, -7);

  // Checked independently with the platform's own tool.
  const std::string query = RegQuery(path, "Name");
  EXPECT_NE(query.find("REG_SZ"), std::string::npos) << query;
  EXPECT_NE(query.find("Quotaline"), std::string::npos) << query;
  const std::string count = RegQuery(path, "Count");
  EXPECT_NE(count.find("REG_DWORD"), std::string::npos) << count;
  EXPECT_NE(count.find("0xfffffff9"), std::string::npos) << count;
}

TEST_F(Registry, PathsAreTrimmedAndRootNamesExact) {
  ASSERT_TRUE(RegWriteString(base_, "v", "1"));
  std::string text;
  EXPECT_TRUE(RegReadString("  " + base_ + "  ", "v", text));
  EXPECT_EQ(text, "1");
  HKEY key = OpenRegPath(" HKEY_LOCAL_MACHINE\\Software ", false, KEY_READ);
  EXPECT_NE(key, nullptr);
  if (key) RegCloseKey(key);

  int32_t number = 5;
  for (const std::string& bad :
       {std::string("HKEY_LOCAL_MACHINE"), std::string("HKLM\\Software"), std::string("hkey_current_user\\Software"),
        std::string(""), std::string("HKEY_NOWHERE\\x")}) {
    EXPECT_EQ(OpenRegPath(bad, false, KEY_READ), nullptr) << bad;
    EXPECT_FALSE(RegWriteString(bad, "v", "x")) << bad;
    EXPECT_FALSE(RegWriteInteger(bad, "v", 1)) << bad;
    EXPECT_FALSE(RegReadString(bad, "v", text)) << bad;
    EXPECT_FALSE(RegReadInteger(bad, "v", number)) << bad;
    EXPECT_EQ(number, 0);
    EXPECT_FALSE(RegDeleteEntry(bad, "v", true)) << bad;
  }
}

TEST_F(Registry, RootAloneWithBackslashOpensTheRootKey) {
  ASSERT_TRUE(RegWriteString("HKEY_CURRENT_USER\\", "ZqRootValueTest", "root"));
  std::string text;
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, nullptr, 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
  char data[32] = {};
  DWORD size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(raw, "ZqRootValueTest", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(data, "root");
  RegDeleteValueA(raw, "ZqRootValueTest");
  RegCloseKey(raw);
  // A leading backslash of the sub key counts from the root all the same.
  ASSERT_TRUE(RegWriteString(base_, "v", "lead"));
  const std::string doubled = "HKEY_CURRENT_USER\\" + base_.substr(base_.find('\\'));
  EXPECT_TRUE(RegReadString(doubled, "v", text));
  EXPECT_EQ(text, "lead");
}

TEST_F(Registry, ReadsOfMissingOrMistypedValues) {
  ASSERT_TRUE(RegWriteString(base_, "text", ""));
  ASSERT_TRUE(RegWriteInteger(base_, "number", 3));
  std::string text = "old";
  EXPECT_TRUE(RegReadString(base_, "missing", text));  // existing key: empty, true
  EXPECT_EQ(text, "");
  EXPECT_TRUE(RegReadString(base_, "text", text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(RegReadString(base_ + "\\NoKey", "missing", text));
  EXPECT_FALSE(RegReadString(base_, "number", text));  // a DWORD is no string
  int32_t number = 9;
  EXPECT_FALSE(RegReadInteger(base_, "missing", number));
  EXPECT_EQ(number, 0);
  number = 9;
  EXPECT_FALSE(RegReadInteger(base_, "text", number));
  EXPECT_EQ(number, 0);
}

TEST_F(Registry, ExpandableStringsReadUnexpandedUpToTheFirstNul) {
  ASSERT_TRUE(RegWriteString(base_, "dummy", "x"));
  HKEY key = OpenRegPath(base_, false, KEY_ALL_ACCESS);
  ASSERT_NE(key, nullptr);
  const char expand[] = "%windir%\\a\0tail";
  RegSetValueExA(key, "exp", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand), sizeof expand);
  RegCloseKey(key);
  std::string text;
  EXPECT_TRUE(RegReadString(base_, "exp", text));
  EXPECT_EQ(text, "%windir%\\a");
}

TEST_F(Registry, DeletingTheLastValuePrunesOneLevel) {
  const std::string parent = base_ + "\\Parent";
  const std::string child = parent + "\\Child";
  ASSERT_TRUE(RegWriteString(child, "only", "x"));
  EXPECT_TRUE(RegDeleteEntry(child + "\\", " only ", false));
  EXPECT_FALSE(RegistryKeyExists(child));
  EXPECT_TRUE(RegistryKeyExists(parent));               // empty now, but only one level goes
  EXPECT_FALSE(RegDeleteEntry(parent, "only", false));  // no such value

  ASSERT_TRUE(RegWriteString(child, "a", "1"));
  ASSERT_TRUE(RegWriteString(child, "b", "2"));
  EXPECT_TRUE(RegDeleteEntry(child, "a", false));
  EXPECT_TRUE(RegistryKeyExists(child));  // still holds b
  const std::string query = RegQuery(child, "b");
  EXPECT_NE(query.find("REG_SZ"), std::string::npos) << query;
}

TEST_F(Registry, DeletingAKeyRemovesItsWholeTree) {
  ASSERT_TRUE(RegWriteString(base_ + "\\Tree\\A\\B", "v", "1"));
  ASSERT_TRUE(RegWriteString(base_ + "\\Tree\\C", "v", "1"));
  ASSERT_TRUE(RegWriteString(base_ + "\\Tree", "Tree", "value named like the key"));
  EXPECT_TRUE(RegDeleteEntry(base_, "Tree", true));
  EXPECT_FALSE(RegistryKeyExists(base_ + "\\Tree"));
  EXPECT_TRUE(RegistryKeyExists(base_));
  std::string output;
  EXPECT_NE(RunProgram("reg.exe query \"" + base_ + "\\Tree\"", &output), 0) << output;

  // With deleteKey and no sub key of that name, a value of that name goes instead.
  ASSERT_TRUE(RegWriteString(base_ + "\\Values", "x", "1"));
  ASSERT_TRUE(RegWriteString(base_ + "\\Values", "y", "1"));
  EXPECT_TRUE(RegDeleteEntry(base_ + "\\Values", "x", true));
  std::string text;
  int32_t dummy;
  EXPECT_TRUE(RegReadString(base_ + "\\Values", "y", text));
  EXPECT_EQ(text, "1");
  EXPECT_FALSE(RegReadInteger(base_ + "\\Values", "x", dummy));
  EXPECT_FALSE(RegDeleteEntry(base_ + "\\Values", "nothing", true));
  // An empty name deletes nothing.
  EXPECT_FALSE(RegDeleteEntry(base_ + "\\Values", "  ", true));
  EXPECT_TRUE(RegistryKeyExists(base_ + "\\Values"));
}

TEST_F(Registry, KeyHasEntriesListsSubKeysOrValues) {
  std::vector<std::string> names{"stale"};
  bool has = true;
  EXPECT_FALSE(RegKeyHasEntries(base_ + "\\Missing", names, has, true));
  EXPECT_FALSE(has);
  EXPECT_FALSE(RegKeyHasEntries("HKEY_CURRENT_USER", names, has, true));

  ASSERT_TRUE(RegWriteString(base_ + "\\K\\Sub1", "v", "1"));
  ASSERT_TRUE(RegWriteString(base_ + "\\K\\Sub2", "v", "1"));
  names = {"stale"};
  EXPECT_TRUE(RegKeyHasEntries(base_ + "\\K", names, has, true));
  EXPECT_TRUE(has);
  EXPECT_EQ(names, (std::vector<std::string>{"Sub1", "Sub2"}));
  // Listing values of a key that only has sub keys: no names, but entries all the same.
  EXPECT_TRUE(RegKeyHasEntries(base_ + "\\K", names, has, false));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(has);

  ASSERT_TRUE(RegWriteString(base_ + "\\Empty\\x", "v", "1"));
  EXPECT_TRUE(RegDeleteEntry(base_ + "\\Empty", "x", true));
  EXPECT_TRUE(RegKeyHasEntries(base_ + "\\Empty", names, has, false));
  EXPECT_FALSE(has);
  ASSERT_TRUE(RegWriteInteger(base_ + "\\Empty", "n", 1));
  EXPECT_TRUE(RegKeyHasEntries(base_ + "\\Empty\\", names, has, false));
  EXPECT_TRUE(has);
  EXPECT_EQ(names, std::vector<std::string>{"n"});
}

}  // namespace
