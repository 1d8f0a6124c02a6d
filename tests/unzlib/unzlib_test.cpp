// UnzLib.dll loaded as the installer loads it, called with the call record
// and checked through its callbacks and the files it writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/file_source.h"
#include "archive/unzip_records.h"
#include "support/name_cases.h"
#include "support/paths.h"
#include "sys/library_proc.h"
#include "sys/file_system.h"

namespace {

struct Event {
  int32_t action, first, second;
  std::string text;
};

std::vector<Event> events;

int32_t __stdcall Record(UnzipCallbackRecord* record) {
  events.push_back({record->Action, record->Argument1, record->Argument2, record->Text});
  return kCallbackGoOn;
}

using ExecProc = int32_t(__stdcall*)(UnzipCallRecord*);
using VersionProc = int32_t(__stdcall*)();

class UnzLib : public ::testing::Test {
 protected:
  HMODULE library = nullptr;
  ExecProc exec = nullptr;
  void SetUp() override {
    library = LoadLibraryA(WindowsPath(ZQ_UNZLIB).c_str());
    ASSERT_TRUE(library);
    exec = LibraryProc<ExecProc>(library, "UnzLibExec");
    ASSERT_TRUE(exec);
    events.clear();
  }
  void TearDown() override { FreeLibrary(library); }

  // Extracts the test archive into a fresh folder; returns the library's count.
  int32_t Extract(const std::string& archive, const std::string& folder, std::vector<std::string> specs = {}) {
    const std::string path = WindowsPath(std::string(ZQ_TEST_ARCHIVES) + "/" + archive);
    std::vector<UnzipFileSpec> specRecords(specs.size());
    for (size_t i = 0; i < specs.size(); ++i)
      specRecords[i].Spec = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(specs[i].c_str()));
    char folderBuffer[261] = {};
    lstrcpynA(folderBuffer, folder.c_str(), sizeof folderBuffer);
    UnzipCallRecord record = {};
    record.Version = kUnzipInterfaceVersion;
    record.Callback = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&Record));
    record.Reserved40 = kUnzipTrue;
    record.DirectoryNames = kUnzipTrue;
    record.Overwrite = kUnzipTrue;
    record.SpecCount = static_cast<int32_t>(specs.size());
    record.ArchiveName = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(path.c_str()));
    record.Specs = specs.empty() ? 0 : static_cast<uint32_t>(reinterpret_cast<uintptr_t>(specRecords.data()));
    record.ExtractionFolder = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(folderBuffer));
    record.EndMarker = kUnzipRecordEndMarker;
    return exec(&record);
  }

  static std::string FreshFolder(const std::string& name) {
    const std::string folder = ScratchPath(name) + "\\";
    ForceFolders(folder);
    return folder;
  }

  static std::vector<const Event*> Messages() {
    std::vector<const Event*> messages;
    for (const Event& event : events)
      if (event.action == uaMessage) messages.push_back(&event);
    return messages;
  }
};

TEST_F(UnzLib, ReportsTheVersion) {
  auto version = LibraryProc<VersionProc>(library, "GetUnzLibVersion");
  ASSERT_TRUE(version);
  EXPECT_EQ(version(), 160);
  EXPECT_TRUE(GetProcAddress(library, "GetUnzLibPrivVersion"));
}

TEST_F(UnzLib, ExtractsEveryMemberAndReportsInOrder) {
  const std::string folder = FreshFolder("basic");
  ASSERT_TRUE(ForceFolders(folder + "viewer"));
  ASSERT_TRUE(WriteTextFile(folder + "viewer\\ver.ini", "alt"));  // overwritten
  EXPECT_EQ(Extract("basic.zip", folder), 3);
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].action, uaFileCount);
  EXPECT_EQ(events[0].second, 3);
  EXPECT_EQ(events[1].action, uaTotalSize);
  const int32_t ini = 26, exe = 5002, txt = 700;
  EXPECT_EQ(events[1].second, ini + exe + txt);
  EXPECT_EQ(events[2].action, uaFileBegin);
  EXPECT_EQ(events[2].text, folder + "viewer\\ver.ini");
  EXPECT_EQ(events[2].second, ini);
  EXPECT_EQ(events[3].text, folder + "viewer\\bin\\ql.exe");
  EXPECT_EQ(events[4].text, folder + "viewer\\daten\\liesmich.txt");
  EXPECT_EQ(events[5].action, uaBatchEnd);
  EXPECT_EQ(ReadTextFile(folder + "viewer\\ver.ini"), "[component]\r\nname=viewer\r\n");
  EXPECT_EQ(ReadTextFile(folder + "viewer\\bin\\ql.exe"), "MZ" + std::string(5000, '\0'));
  std::string text;
  for (int i = 0; i < 100; ++i) text += "Hallo\r\n";
  EXPECT_EQ(ReadTextFile(folder + "viewer\\daten\\liesmich.txt"), text);
}

TEST_F(UnzLib, LargeMembersArriveWhole) {
  const std::string folder = FreshFolder("large");
  EXPECT_EQ(Extract("large.zip", folder), 2);
  EXPECT_TRUE(Messages().empty());
  std::string pattern(3 << 20, '\0');
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>((i * 31 + i / 977) & 0xFF);
  EXPECT_TRUE(ReadTextFile(folder + "gross\\gepackt.dat") == pattern);
  EXPECT_TRUE(ReadTextFile(folder + "gross\\gespeichert.dat") == pattern.substr(0, 700000));
}

// The file's write time, universal or local, as year, month, day, hour, minute, second.
std::vector<int> WriteTime(const std::string& path, bool local) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  SYSTEMTIME universal, shown;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToSystemTime(&data.ftLastWriteTime, &universal))
    return {};
  if (local) SystemTimeToTzSpecificLocalTime(nullptr, &universal, &shown);
  const SYSTEMTIME& t = local ? shown : universal;
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

TEST_F(UnzLib, FilesTakeTheStoredWriteTime) {
  const std::string folder = FreshFolder("times");
  EXPECT_EQ(Extract("times.zip", folder), 2);
  // MS-DOS times are the packer's local time; an extended timestamp is universal.
  EXPECT_EQ(WriteTime(folder + "zeit\\dos.txt", true), (std::vector<int>{2024, 5, 17, 10, 0, 6}));
  EXPECT_EQ(WriteTime(folder + "zeit\\utc.txt", false), (std::vector<int>{2020, 1, 2, 3, 4, 5}));
}

TEST_F(UnzLib, AFileThatCannotBeWrittenFailsAloneAndInItsPlace) {
  const std::string folder = FreshFolder("blocked");
  ASSERT_TRUE(ForceFolders(folder + "viewer\\bin"));
  ASSERT_TRUE(WriteTextFile(folder + "viewer\\bin\\ql.exe", "in use"));
  ASSERT_TRUE(WriteTextFile(folder + "viewer\\daten", "a file where a folder belongs"));
  const std::string inUse = folder + "viewer\\bin\\ql.exe";
  FileHandle lock(CreateFileA(inUse.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock.valid());
  EXPECT_EQ(Extract("basic.zip", folder), 1);
  ASSERT_EQ(events.size(), 8u);
  EXPECT_EQ(events[3].text, inUse);
  EXPECT_EQ(events[4].action, uaMessage);
  EXPECT_EQ(events[4].text, "Datei kann nicht geschrieben werden: " + inUse);
  EXPECT_EQ(events[5].text, folder + "viewer\\daten\\liesmich.txt");
  EXPECT_EQ(events[6].action, uaMessage);
  EXPECT_EQ(events[6].text, "Ordner kann nicht angelegt werden: " + folder + "viewer\\daten\\liesmich.txt");
  EXPECT_NE(events[4].first, 0);
  EXPECT_NE(events[6].first, 0);
  EXPECT_EQ(ReadTextFile(folder + "viewer\\ver.ini"), "[component]\r\nname=viewer\r\n");
}

TEST_F(UnzLib, PatternsSelectMembers) {
  EXPECT_EQ(Extract("basic.zip", FreshFolder("all"), {"*.*"}), 3);
  events.clear();
  const std::string folder = FreshFolder("some");
  EXPECT_EQ(Extract("basic.zip", folder, {"*.exe"}), 1);
  EXPECT_TRUE(FileExists(folder + "viewer\\bin\\ql.exe"));
  EXPECT_FALSE(FileExists(folder + "viewer\\ver.ini"));
}

TEST_F(UnzLib, ReadsArchivesOfOtherPackers) {
  const std::string folder = FreshFolder("others");
  EXPECT_EQ(Extract("descriptors.zip", folder), 2);  // sizes in data descriptors
  std::string eins;
  for (int i = 0; i < 300; ++i) eins += "eins ";
  EXPECT_EQ(ReadTextFile(folder + "d\\eins.txt"), eins);
  EXPECT_EQ(ReadTextFile(folder + "d\\zwei.txt"), "zwei");

  events.clear();
  EXPECT_EQ(Extract("seven.zip", folder), 2);  // made by 7z, with folder entries
  std::string deep;
  for (int i = 0; i < 40; ++i)
    for (int b = 0; b < 256; ++b) deep += static_cast<char>(b);
  EXPECT_EQ(ReadTextFile(folder + "comp\\a\\b\\tief.dat"), deep);
  EXPECT_EQ(ReadTextFile(folder + "comp\\ver.ini"), "[component]\r\n");
  EXPECT_TRUE(Messages().empty());
}

// The names as publishers' tools store them: each file on disk under the name
// the table of the test archives expects, converted by the system.
TEST_F(UnzLib, MembersTakeTheNamesTheirArchivesMarksGive) {
  const std::string folder = FreshFolder("names");
  int32_t writable = 1;  // ver.ini
  for (const NameCase& named : ReadNameCases(ZQ_TEST_ARCHIVES)) writable += !named.DiskName.empty();
  EXPECT_EQ(Extract("names.zip", folder), writable);
  for (const NameCase& named : ReadNameCases(ZQ_TEST_ARCHIVES)) {
    if (named.DiskName.empty()) continue;
    EXPECT_EQ(ReadTextFile(folder + "namen\\" + named.DiskName), "Inhalt") << named.DiskName;
  }
  EXPECT_TRUE(Messages().empty());

  // A character without an ANSI form becomes "?", never a look-alike: no file.
  events.clear();
  const std::string other = FreshFolder("unwritable");
  EXPECT_EQ(Extract("unwritable_names.zip", other), 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0]->text, "Datei kann nicht geschrieben werden: " + other + "namen\\??.txt");
  std::vector<std::string> files;
  EXPECT_EQ(FindFiles(files, other, "*", true, true), 1);
}

TEST_F(UnzLib, HostileNamesAreNeverWritten) {
  const std::string folder = FreshFolder("hostile\\inner");
  EXPECT_EQ(Extract("hostile.zip", folder), 1);
  EXPECT_TRUE(FileExists(folder + "sub\\ok.txt"));
  const std::vector<const Event*> messages = Messages();
  ASSERT_EQ(messages.size(), 4u);
  for (const Event* message : messages) EXPECT_NE(message->first, 0) << message->text;
  for (const char* outside : {"hostile\\evil.txt", "evil.txt", "evil2.txt", "hostile\\evil2.txt"})
    EXPECT_FALSE(FileExists(ScratchPath(outside))) << outside;
  EXPECT_FALSE(FileExists("C:\\drive_evil.txt"));
  EXPECT_FALSE(FileExists("Z:\\abs_evil.txt"));
  EXPECT_FALSE(FileExists("C:\\abs_evil.txt"));
}

// A member that fails leaves no file: whatever lies in the folder is whole and checked.
TEST_F(UnzLib, AChecksumMismatchIsAFailureAndLeavesNoFile) {
  const std::string folder = FreshFolder("crc");
  EXPECT_EQ(Extract("bad_crc.zip", folder), 0);
  bool sawCrc = false;
  for (const Event& event : events) sawCrc |= event.action == uaCRCError;
  EXPECT_TRUE(sawCrc);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0]->first, 0);
  EXPECT_FALSE(FileExists(folder + "daten.txt"));
}

TEST_F(UnzLib, AMemberLongerThanAnnouncedStopsAtItsLengthAndLeavesNoFile) {
  const std::string folder = FreshFolder("understated");
  EXPECT_EQ(Extract("understated.zip", folder), 0);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0]->first, 0);
  EXPECT_FALSE(FileExists(folder + "bombe.dat"));
}

// Encrypted by 7z (-mem=ZipCrypto), or only flagged so over plain bytes:
// refused with a message of its own, as an unsupported method is, and nothing is written.
TEST_F(UnzLib, EncryptedMembersAreRefusedBeforeAnythingIsWritten) {
  for (const auto& [archive, member] :
       {std::make_pair("encrypted.zip", "geheim.txt"), std::make_pair("flagged.zip", "offen.txt")}) {
    events.clear();
    const std::string folder = FreshFolder(std::string("verschluesselt_") + member);
    EXPECT_EQ(Extract(archive, folder), 0) << archive;
    ASSERT_EQ(Messages().size(), 1u) << archive;
    EXPECT_EQ(Messages()[0]->first, 2) << archive;
    EXPECT_EQ(Messages()[0]->text, std::string("Verschl\xFCsselte Datei nicht unterst\xFCtzt: ") + member);
    EXPECT_FALSE(FileExists(folder + member)) << archive;
  }
}

TEST_F(UnzLib, UnreadableArchivesAreClearErrors) {
  for (const char* archive : {"truncated.zip", "not_a_zip.bin", "fehlt.zip"}) {
    events.clear();
    EXPECT_EQ(Extract(archive, FreshFolder("broken")), 0) << archive;
    ASSERT_EQ(Messages().size(), 1u) << archive;
    EXPECT_NE(Messages()[0]->first, 0) << archive;
  }
  events.clear();
  EXPECT_EQ(Extract("empty.zip", FreshFolder("empty")), 0);
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
