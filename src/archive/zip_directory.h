// Reading the central directory of a ZIP archive. Platform-free: the archive
// comes from a byte source, names are converted by the caller's hook.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Random access to the bytes of an archive.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to length bytes at offset; returns how many were read.
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t length) = 0;
};

// An archive held in memory.
class MemorySource : public ByteSource {
 public:
  MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t length) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// One central directory header: the fields as read, then the converted name
// (with backslashes), the encrypted flag, the extra field and the comment.
struct ZipDirEntry {
  uint16_t MadeBy = 0, NeededVersion = 0, Flags = 0, Method = 0, Time = 0, Date = 0;
  uint32_t CRC32 = 0, CompressedSize = 0, UncompressedSize = 0;
  uint16_t NameLength = 0, ExtraLength = 0, CommentLength = 0, DiskStart = 0, InternalAttributes = 0;
  uint32_t ExternalAttributes = 0, LocalHeaderOffset = 0;
  std::string FileName;
  bool Encrypted = false;
  std::vector<uint8_t> Extra;
  std::string Comment;
};

// Converts a stored name or comment under the entry's general purpose flags
// and "version made by".
using NameConversion = std::function<std::string(const std::string& stored, uint16_t flags, uint16_t madeBy)>;

// Message numbers of the directory reading.
enum ZipDirectoryMessage {
  zmSeekError = 10201,
  zmStructureWarning = 10203,
  zmTrailingDataWarning = 10204,
  zmHeaderReadError = 11013,
  zmHeaderSignatureError = 11015,
  zmNameReadError = 11017,
  zmCommentReadError = 11022,
  zmNotAZipFile = 11036,
};

struct ZipDirectory {
  std::vector<ZipDirEntry> Entries;
  std::string ArchiveComment;
  int DroppedFolderEntries = 0;
  std::vector<int> Warnings;  // message numbers, in the order met
  int Error = 0;              // message number of the error that ended the reading, or 0
  uint32_t DataStart = 0;     // smallest local header offset
  bool SplitSet = false;      // the archive begins like a volume of a split set
};

struct ZipDirectoryOptions {
  bool UseDirOnlyEntries = false;
  NameConversion Convert;  // none: names kept as stored
};

// Finds the end record, reads every central header and fills directory.
// Returns directory.Error.
int ReadZipDirectory(ByteSource& source, const ZipDirectoryOptions& options, ZipDirectory& directory);
