// The archive component on archives made by independent tools, extracting
// through our UnzLib.dll and through stand-in libraries.
#include "archive/zip_extractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/unzip_records.h"
#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/path_text.h"

namespace {

std::string Archive(const std::string& name) { return WindowsPath(std::string(ZQ_TEST_ARCHIVES) + "/" + name); }

struct Progressed {
  ProgressType type;
  std::string name;
  int32_t size;
};

struct Messaged {
  int32_t code;
  std::string text;
  int32_t libraryError;  // LibraryErrorCode when the message arrived
};

class ZipExtractor : public ::testing::Test {
 protected:
  TZipExtractor zip;
  std::vector<Progressed> progress;
  std::vector<Messaged> messages;
  int dirUpdates = 0;

  void SetUp() override {
    zip.Unattended = true;
    zip.OnProgress = [this](TZipExtractor*, ProgressType type, const std::string& name, int32_t size) {
      progress.push_back({type, name, size});
    };
    zip.OnMessage = [this](TZipExtractor* sender, int32_t code, const std::string& text) {
      messages.push_back({code, text, sender->LibraryErrorCode});
    };
    zip.OnDirUpdate = [this](TZipExtractor*) { ++dirUpdates; };
  }

  // Sets up extraction as the installer does, into a fresh scratch folder.
  std::string PrepareExtraction(const std::string& folderName, const std::string& library) {
    const std::string folder = ScratchPath(folderName) + "\\";
    ForceFolders(folder);
    zip.SetDLLDirectory(library);
    zip.FSpecArgs = {"*.*"};
    zip.ExtrBaseDir = folder;
    zip.ExtrOptions = ExtrDirNames | ExtrOverWrite;
    return folder;
  }

  std::vector<std::string> BeganFiles() const {
    std::vector<std::string> names;
    for (const Progressed& p : progress)
      if (p.type == ptFileBegin) names.push_back(p.name);
    return names;
  }
};

// Without its trailing backslash.
std::string UnzLibFolder() { return WithoutTrailingBackslash(FolderPart(WindowsPath(ZQ_UNZLIB))); }

TEST_F(ZipExtractor, PropertiesKeepTheirRules) {
  EXPECT_EQ(zip.PasswordReqCount(), 1u);
  zip.SetPasswordReqCount(20);
  EXPECT_EQ(zip.PasswordReqCount(), 15u);
  zip.SetPasswordReqCount(7);
  EXPECT_EQ(zip.PasswordReqCount(), 7u);
  zip.SetDLLDirectory("C:\\temp\\~qlinst\\");
  EXPECT_EQ(zip.DLLDirectory(), "C:\\temp\\~qlinst");
  EXPECT_STREQ(zip.VersionInfo(), "1.60 N");
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(zip.CodePage, cpAuto);
}

TEST_F(ZipExtractor, ReadsTheDirectoryWhenTheNameIsSet) {
  std::vector<int32_t> sequence;
  zip.OnNewName = [&](TZipExtractor*, int32_t seqNo, const ZipDirEntry&) { sequence.push_back(seqNo); };
  zip.SetZipFileName(Archive("basic.zip"));
  ASSERT_EQ(zip.EntryCount(), 3);  // the folder entry is dropped
  EXPECT_EQ(zip.DroppedDirEntries(), 1);
  EXPECT_EQ(zip.Entries()[1].FileName, "viewer\\bin\\ql.exe");
  EXPECT_EQ(sequence, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(dirUpdates, 1);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(zip.DirectoryError, 0);

  zip.UseDirOnlyEntries = true;
  zip.SetZipFileName(Archive("only_folders.zip"));
  EXPECT_EQ(zip.EntryCount(), 2);
  zip.UseDirOnlyEntries = false;
  zip.SetZipFileName(Archive("only_folders.zip"));
  EXPECT_EQ(zip.EntryCount(), 0);

  zip.SetZipFileName(Archive("long_comment.zip"));
  EXPECT_EQ(zip.EntryCount(), 1);
  EXPECT_EQ(zip.ArchiveComment(), std::string(65535, 'K'));

  // Stored by an MS-DOS host: the OEM name comes out in the ANSI code page.
  zip.SetZipFileName(Archive("dos_host.zip"));
  ASSERT_EQ(zip.EntryCount(), 1);
  EXPECT_EQ(zip.Entries()[0].FileName, "gr\xFCn.txt");
  zip.CodePage = cpNone;
  zip.SetZipFileName(Archive("dos_host.zip"));
  EXPECT_EQ(zip.Entries()[0].FileName, "gr\x81n.txt");
}

TEST_F(ZipExtractor, TrailingBytesWarnUnlessTheyPadABlock) {
  zip.SetZipFileName(Archive("padded.zip"));
  EXPECT_EQ(zip.EntryCount(), 3);
  EXPECT_TRUE(messages.empty());

  zip.SetZipFileName(Archive("junk.zip"));
  EXPECT_EQ(zip.EntryCount(), 3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].code, 0);
  EXPECT_EQ(messages[0].text, "Warnung - unbekannte Daten am Archivende!");
  EXPECT_EQ(zip.LastMessageCode, 10204);
  EXPECT_EQ(zip.DirectoryError, 0);

  messages.clear();
  zip.SetZipFileName(Archive("bad_offset.zip"));
  EXPECT_EQ(zip.EntryCount(), 3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Warnung - Fehler in Archiv-Struktur!");
}

TEST_F(ZipExtractor, UnreadableArchivesLeaveAnEmptyListAndNoLibraryError) {
  zip.SetZipFileName(ScratchPath("fehlt.zip"));
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_TRUE(messages.empty());  // a missing file is no message
  EXPECT_EQ(dirUpdates, 1);

  zip.SetZipFileName(Archive("not_a_zip.bin"));
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(zip.DirectoryError, 11036);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Dieses (SFX-) Archiv ist keine gültige ZIP-Datei");
  EXPECT_EQ(zip.LastMessage, messages[0].text);

  zip.SetZipFileName(Archive("truncated.zip"));
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_NE(zip.DirectoryError, 0);
  EXPECT_EQ(zip.LibraryErrorCode, 0);

  // A good archive afterwards reads as if nothing had happened.
  zip.SetZipFileName(Archive("basic.zip"));
  EXPECT_EQ(zip.EntryCount(), 3);
  EXPECT_EQ(zip.DirectoryError, 0);
}

TEST_F(ZipExtractor, ExtractsEveryArchiveAsTheInstallerCallsIt) {
  const std::string folder = PrepareExtraction("installer_run", UnzLibFolder() + "\\");
  zip.SetZipFileName(Archive("basic.zip"));
  zip.Extract();
  EXPECT_EQ(zip.ExtractedCount, 3);
  EXPECT_TRUE(zip.FSpecArgs.empty());
  // The unattended warning comes first, with error code 0 and no library error.
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0].text, "Warnung - Automatisches Entpacken : Möglicherweise wurden nicht alle Dateien entpackt!");
  EXPECT_EQ(messages[0].code, 0);
  EXPECT_EQ(messages[0].libraryError, 0);

  ASSERT_EQ(progress.size(), 6u);
  EXPECT_EQ(progress[0].type, ptFileCount);
  EXPECT_EQ(progress[0].size, 3);
  EXPECT_EQ(progress[1].type, ptTotalBytes);
  EXPECT_EQ(progress[1].size, 26 + 5002 + 700);
  EXPECT_EQ(progress[2].type, ptFileBegin);
  EXPECT_EQ(progress[2].name, folder + "viewer\\ver.ini");
  EXPECT_EQ(progress[2].size, 26);
  EXPECT_EQ(progress[5].type, ptBatchEnd);
  EXPECT_TRUE(FileExists(folder + "viewer\\daten\\liesmich.txt"));

  // The second archive comes with an empty pattern list and still yields everything.
  progress.clear();
  zip.SetZipFileName(Archive("seven.zip"));
  zip.Extract();
  EXPECT_EQ(zip.ExtractedCount, 2);
  EXPECT_EQ(BeganFiles(), (std::vector<std::string>{folder + "comp\\a\\b\\tief.dat", folder + "comp\\ver.ini"}));
  EXPECT_EQ(zip.LibraryErrorCode, 0);
}

TEST_F(ZipExtractor, AMissingBaseFolderMeansTheCurrentDirectory) {
  PrepareExtraction("unused", UnzLibFolder());
  zip.ExtrBaseDir = ScratchPath("gibt_es_nicht") + "\\";
  zip.SetZipFileName(Archive("comment.zip"));
  zip.Extract();
  EXPECT_EQ(zip.ExtractedCount, 1);
  EXPECT_TRUE(FileExists(ScratchPath("a.txt")));
  EXPECT_FALSE(FolderExists(ScratchPath("gibt_es_nicht")));
}

TEST_F(ZipExtractor, LibraryErrorsStayForTheComponentsLife) {
  const std::string folder = PrepareExtraction("crc", UnzLibFolder());
  zip.SetZipFileName(Archive("bad_crc.zip"));
  ASSERT_EQ(zip.EntryCount(), 1);
  zip.Extract();
  EXPECT_NE(zip.LibraryErrorCode, 0);
  EXPECT_EQ(zip.LastMessageCode, zip.LibraryErrorCode & 0xFF);
  // The error message reached OnMessage with its code while the error was set.
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back().code, 0);
  EXPECT_EQ(messages.back().libraryError, messages.back().code);

  const int32_t error = zip.LibraryErrorCode;
  zip.SetZipFileName(Archive("basic.zip"));
  EXPECT_EQ(zip.LibraryErrorCode, error);
  zip.Extract();
  EXPECT_EQ(zip.LibraryErrorCode, error);
}

TEST_F(ZipExtractor, HostileNamesFailAndWriteNothingOutside) {
  const std::string folder = PrepareExtraction("hostile\\inner", UnzLibFolder());
  zip.SetZipFileName(Archive("hostile.zip"));
  zip.Extract();
  EXPECT_NE(zip.LibraryErrorCode, 0);
  EXPECT_TRUE(FileExists(folder + "sub\\ok.txt"));
  EXPECT_FALSE(FileExists(ScratchPath("hostile\\evil.txt")));
  EXPECT_FALSE(FileExists(ScratchPath("evil2.txt")));
  EXPECT_FALSE(FileExists("C:\\drive_evil.txt"));
  EXPECT_FALSE(FileExists("Z:\\abs_evil.txt"));
}

TEST_F(ZipExtractor, AMissingLibraryIsReportedAndExtractsNothing) {
  const std::string folder = PrepareExtraction("no_library", ScratchPath("leer"));
  zip.SetZipFileName(Archive("basic.zip"));
  zip.Extract();
  EXPECT_EQ(zip.ExtractedCount, 0);
  EXPECT_EQ(zip.LibraryErrorCode, 0);
  EXPECT_EQ(messages.back().text, "UNZLIB.DLL nicht gefunden!");
  EXPECT_FALSE(zip.Busy);
  EXPECT_FALSE(FileExists(folder + "viewer\\ver.ini"));

  messages.clear();
  PrepareExtraction("no_exec", FixturePath("noexec"));
  zip.Extract();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1].text, "UnzLibExec-Funktion in UNZLIB.DLL nicht gefunden!");
  EXPECT_EQ(messages[2].text, "Fataler Fehler in UNZLIB.DLL: Aktion abgebrochen!");
  EXPECT_EQ(zip.ExtractedCount, 0);

  messages.clear();
  zip.SetZipFileName(ScratchPath("fehlt.zip"));
  zip.Extract();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Fehler - keine Archivdatei angegeben!");
}

// Hands one record to the callback as the library would.
int32_t Call(TZipExtractor& zip, UnzipCallbackRecord& record, int32_t action, int32_t first = 0, int32_t second = 0,
             const char* text = "") {
  record = UnzipCallbackRecord{};
  record.Caller = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&zip));
  record.Action = action;
  record.Argument1 = first;
  record.Argument2 = second;
  lstrcpynA(record.Text, text, sizeof record.Text);
  return ZipCallback(&record);
}

TEST_F(ZipExtractor, CallbackActsOnEachActionCode) {
  UnzipCallbackRecord record;
  EXPECT_EQ(Call(zip, record, uaFileBegin, 0, 42, "C:/dir/name.txt \r\n"), kCallbackGoOn);
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0].name, "C:\\dir\\name.txt");
  EXPECT_EQ(progress[0].size, 42);

  Call(zip, record, uaMessage, 0, 0, "nur eine Auskunft");
  EXPECT_EQ(zip.LibraryErrorCode, 0);
  EXPECT_EQ(zip.LastMessage, "nur eine Auskunft");
  Call(zip, record, uaMessage, 0x1234, 0, "Fehler");
  EXPECT_EQ(zip.LibraryErrorCode, 0x1234);
  EXPECT_EQ(zip.LastMessageCode, 0x34);
  EXPECT_EQ(messages.back().code, 0x1234);

  // Without a handler a checksum mismatch is answered with 2.
  Call(zip, record, uaCRCError, 1, 2, "x");
  EXPECT_EQ(record.Argument1, 2);
  zip.OnCRC32Error = [](TZipExtractor*, const std::string&, uint32_t found, uint32_t expected, bool& extract) {
    extract = found == expected;
  };
  Call(zip, record, uaCRCError, 1, 2, "x");
  EXPECT_EQ(record.Argument1, 0);

  // Unattended without a handler: no password, the matching message.
  Call(zip, record, uaPassword, 0, 3, "geheim.txt");
  EXPECT_EQ(record.Argument1, 0);
  EXPECT_EQ(record.Argument2, 0);
  EXPECT_EQ(zip.LastMessage, "Fehler - kein Passwort zum Entpacken angegeben!");
  Call(zip, record, uaPassword, 1, 3, "geheim.txt");
  EXPECT_EQ(zip.LastMessage, "Fehler - kein Passwort zum Hinzufügen angegeben!");
  zip.OnPasswordError = [](TZipExtractor*, bool, std::string& password, const std::string&, uint32_t& repeat,
                           TPasswordButton&) {
    password = "Sesam";
    repeat = 40;
  };
  Call(zip, record, uaPassword, 0, 3, "geheim.txt");
  EXPECT_STREQ(record.Text, "Sesam");
  EXPECT_EQ(record.Argument1, 1);
  EXPECT_EQ(record.Argument2, 15);

  Call(zip, record, uaBufferSize, 0, 100);
  EXPECT_EQ(zip.MemoryStream.size(), 100u);
  EXPECT_EQ(static_cast<uintptr_t>(record.Argument2), reinterpret_cast<uintptr_t>(zip.MemoryStream.data()));

  Call(zip, record, uaSkipped, 0x0305, 2, "skip");
  EXPECT_EQ(zip.LibraryErrorCode, 0x0305);

  // Unknown codes are ignored; a cancel request aborts; a raising handler aborts too.
  EXPECT_EQ(Call(zip, record, 99), kCallbackGoOn);
  zip.CancelRequested = true;
  EXPECT_EQ(Call(zip, record, uaNothing), kCallbackAbort);
  zip.CancelRequested = false;
  zip.OnProgress = [](TZipExtractor*, ProgressType, const std::string&, int32_t) { throw std::runtime_error("x"); };
  EXPECT_EQ(Call(zip, record, uaBatchEnd), kCallbackAbort);
}

}  // namespace
