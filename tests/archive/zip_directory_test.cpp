#include "archive/zip_directory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// An archive written by Python's zipfile at build time.
class ArchiveFile {
 public:
  explicit ArchiveFile(const std::string& name) {
    std::ifstream file(std::string(ZQ_TEST_ARCHIVES) + "/" + name, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes_.empty()) << name;
  }
  ZipDirectory Read(const ZipDirectoryOptions& options = ZipDirectoryOptions()) {
    MemorySource source(bytes_.data(), bytes_.size());
    ZipDirectory directory;
    ReadZipDirectory(source, options, directory);
    return directory;
  }
  std::vector<char>& bytes() { return bytes_; }

 private:
  std::vector<char> bytes_;
};

std::vector<std::string> Names(const ZipDirectory& directory) {
  std::vector<std::string> names;
  for (const ZipDirEntry& entry : directory.Entries) names.push_back(entry.FileName);
  return names;
}

TEST(ZipDirectory, ReadsEntriesWithBackslashesAndDropsFolders) {
  ZipDirectory directory = ArchiveFile("basic.zip").Read();
  EXPECT_EQ(directory.Error, 0);
  EXPECT_TRUE(directory.Warnings.empty());
  EXPECT_EQ(Names(directory),
            (std::vector<std::string>{"viewer\\ver.ini", "viewer\\bin\\ql.exe", "viewer\\daten\\liesmich.txt"}));
  EXPECT_EQ(directory.DroppedFolderEntries, 1);
  EXPECT_EQ(directory.DataStart, 0u);
  const ZipDirEntry& exe = directory.Entries[1];
  EXPECT_EQ(exe.Method, 8);
  EXPECT_EQ(exe.UncompressedSize, 5002u);
  EXPECT_LT(exe.CompressedSize, exe.UncompressedSize);
  EXPECT_EQ(exe.NameLength, 17);
  EXPECT_FALSE(exe.Encrypted);
  EXPECT_GT(exe.LocalHeaderOffset, 0u);

  ZipDirectoryOptions keepFolders;
  keepFolders.UseDirOnlyEntries = true;
  directory = ArchiveFile("basic.zip").Read(keepFolders);
  EXPECT_EQ(directory.Entries.size(), 4u);
  EXPECT_EQ(directory.Entries[1].FileName, "viewer\\");
}

TEST(ZipDirectory, FindsTheEndRecordBehindComments) {
  ZipDirectory directory = ArchiveFile("comment.zip").Read();
  EXPECT_EQ(directory.Error, 0);
  EXPECT_EQ(directory.ArchiveComment, "Quotaline-Komponente");
  EXPECT_EQ(Names(directory), std::vector<std::string>{"a.txt"});

  directory = ArchiveFile("long_comment.zip").Read();
  EXPECT_EQ(directory.Error, 0);
  EXPECT_EQ(directory.ArchiveComment, std::string(65535, 'K'));
  EXPECT_EQ(directory.Entries.size(), 1u);
  EXPECT_TRUE(directory.Warnings.empty());
}

TEST(ZipDirectory, TrailingBytesWarnUnlessTheyPadToABlock) {
  ZipDirectory padded = ArchiveFile("padded.zip").Read();
  EXPECT_EQ(padded.Error, 0);
  EXPECT_TRUE(padded.Warnings.empty());
  EXPECT_EQ(padded.Entries.size(), 3u);

  for (const char* name : {"junk.zip", "zero_not_block.zip"}) {
    ZipDirectory directory = ArchiveFile(name).Read();
    EXPECT_EQ(directory.Error, 0) << name;
    EXPECT_EQ(directory.Warnings, std::vector<int>{zmTrailingDataWarning}) << name;
    EXPECT_EQ(directory.Entries.size(), 3u) << name;
  }
}

TEST(ZipDirectory, AWrongStoredOffsetIsAWarningOnly) {
  ZipDirectory directory = ArchiveFile("bad_offset.zip").Read();
  EXPECT_EQ(directory.Error, 0);
  EXPECT_EQ(directory.Warnings, std::vector<int>{zmStructureWarning});
  EXPECT_EQ(directory.Entries.size(), 3u);
}

TEST(ZipDirectory, EmptyArchivesAndArchivesOfFoldersHoldNoEntries) {
  ZipDirectory empty = ArchiveFile("empty.zip").Read();
  EXPECT_EQ(empty.Error, 0);
  EXPECT_TRUE(empty.Entries.empty());
  ZipDirectory folders = ArchiveFile("only_folders.zip").Read();
  EXPECT_EQ(folders.Error, 0);
  EXPECT_TRUE(folders.Entries.empty());
  EXPECT_EQ(folders.DroppedFolderEntries, 2);
}

TEST(ZipDirectory, NamesGoThroughTheConversionWithTheHostBytes) {
  ZipDirectoryOptions options;
  int calls = 0;
  options.Convert = [&](const std::string& stored, uint16_t flags, uint16_t madeBy) {
    ++calls;
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(madeBy, 20);
    std::string converted = stored;
    for (char& c : converted)
      if (c == '\x81') c = '\xFC';
    return converted;
  };
  ZipDirectory directory = ArchiveFile("dos_host.zip").Read(options);
  ASSERT_EQ(directory.Entries.size(), 1u);
  EXPECT_EQ(directory.Entries[0].FileName, "gr\xFCn.txt");
  EXPECT_EQ(calls, 2);  // the name and the (empty) comment
  EXPECT_EQ(ArchiveFile("dos_host.zip").Read().Entries[0].FileName, "gr\x81n.txt");
}

TEST(ZipDirectory, DamagedInputEndsWithAnError) {
  EXPECT_EQ(ArchiveFile("not_a_zip.bin").Read().Error, zmNotAZipFile);
  EXPECT_NE(ArchiveFile("truncated.zip").Read().Error, 0);

  MemorySource nothing(nullptr, 0);
  ZipDirectory directory;
  EXPECT_EQ(ReadZipDirectory(nothing, ZipDirectoryOptions(), directory), zmNotAZipFile);

  // Each central header damaged in turn: signature, then a name cut short.
  ArchiveFile broken("basic.zip");
  std::vector<char>& bytes = broken.bytes();
  const size_t central = std::string(bytes.begin(), bytes.end()).find("PK\x01\x02");
  ASSERT_NE(central, std::string::npos);
  bytes[central + 2] = 9;
  EXPECT_EQ(broken.Read().Error, zmHeaderSignatureError);

  ArchiveFile oversized("basic.zip");
  std::vector<char>& big = oversized.bytes();
  const size_t end = std::string(big.begin(), big.end()).rfind("PK\x05\x06");
  big[end + 15] = '\x7F';  // a directory larger than the file
  EXPECT_EQ(oversized.Read().Error, zmSeekError);
}

}  // namespace
