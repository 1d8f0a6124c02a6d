#include "archive/zip_directory.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kSpanSignature = 0x08074B50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndScanSize = 65557;  // the largest comment plus the record

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | static_cast<uint32_t>(Get16(p + 2)) << 16; }

struct EndRecord {
  uint16_t Disk = 0, DirectoryDisk = 0, TotalEntries = 0, CommentLength = 0;
  uint32_t DirectorySize = 0, DirectoryOffset = 0;
  uint64_t Position = 0;  // where the record starts
};

EndRecord ParseEndRecord(const uint8_t* p, uint64_t position) {
  EndRecord record;
  record.Disk = Get16(p + 4);
  record.DirectoryDisk = Get16(p + 6);
  record.TotalEntries = Get16(p + 10);
  record.DirectorySize = Get32(p + 12);
  record.DirectoryOffset = Get32(p + 16);
  record.CommentLength = Get16(p + 20);
  record.Position = position;
  return record;
}

bool ReadExactly(ByteSource& source, uint64_t offset, void* buffer, size_t length) {
  return source.ReadAt(offset, buffer, length) == length;
}

// Trailing bytes that only pad the file to a 512-byte block are no warning.
bool IsBlockPadding(const std::vector<uint8_t>& tail, size_t from, uint64_t fileSize) {
  const size_t count = tail.size() - from;
  return count < 512 && fileSize % 512 == 0 &&
         std::all_of(tail.begin() + static_cast<std::ptrdiff_t>(from), tail.end(), [](uint8_t b) { return b == 0; });
}

// Locates the end record and the archive comment that follows it.
bool FindEndRecord(ByteSource& source, ZipDirectory& directory, EndRecord& record) {
  const uint64_t size = source.Size();
  if (size < kEndRecordSize) return false;
  uint8_t last[kEndRecordSize];
  if (ReadExactly(source, size - kEndRecordSize, last, sizeof last) && Get32(last) == kEndSignature) {
    record = ParseEndRecord(last, size - kEndRecordSize);  // no room for a comment
    return true;
  }
  const size_t scanSize = static_cast<size_t>(std::min<uint64_t>(size, kEndScanSize));
  std::vector<uint8_t> tail(scanSize);
  const uint64_t tailStart = size - scanSize;
  if (!ReadExactly(source, tailStart, tail.data(), scanSize)) return false;
  for (size_t i = scanSize - kEndRecordSize; i-- > 0;) {
    if (Get32(&tail[i]) != kEndSignature) continue;
    record = ParseEndRecord(&tail[i], tailStart + i);
    const size_t commentStart = i + kEndRecordSize;
    const size_t commentEnd = std::min(commentStart + record.CommentLength, scanSize);
    directory.ArchiveComment.assign(tail.begin() + static_cast<std::ptrdiff_t>(commentStart),
                                    tail.begin() + static_cast<std::ptrdiff_t>(commentEnd));
    if (commentEnd != scanSize && !IsBlockPadding(tail, commentEnd, size))
      directory.Warnings.push_back(zmTrailingDataWarning);
    return true;
  }
  return false;
}

std::string Converted(const ZipDirectoryOptions& options, const std::string& stored, const ZipDirEntry& entry) {
  std::string text = options.Convert ? options.Convert(stored, entry.Flags, entry.MadeBy) : stored;
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

void ParseCentralFields(const uint8_t* h, ZipDirEntry& entry) {
  entry.MadeBy = Get16(h + 4);
  entry.NeededVersion = Get16(h + 6);
  entry.Flags = Get16(h + 8);
  entry.Method = Get16(h + 10);
  entry.Time = Get16(h + 12);
  entry.Date = Get16(h + 14);
  entry.CRC32 = Get32(h + 16);
  entry.CompressedSize = Get32(h + 20);
  entry.UncompressedSize = Get32(h + 24);
  entry.NameLength = Get16(h + 28);
  entry.ExtraLength = Get16(h + 30);
  entry.CommentLength = Get16(h + 32);
  entry.DiskStart = Get16(h + 34);
  entry.InternalAttributes = Get16(h + 36);
  entry.ExternalAttributes = Get32(h + 38);
  entry.LocalHeaderOffset = Get32(h + 42);
  entry.Encrypted = (entry.Flags & 1) != 0;
}

// Reads one variable-length part of a header; false on a short read.
bool ReadPart(ByteSource& source, uint64_t& position, size_t length, std::string& text) {
  text.assign(length, '\0');
  if (length && !ReadExactly(source, position, &text[0], length)) return false;
  position += length;
  return true;
}

// Reads the header at position; returns 0 or the message number of the failure.
int ReadCentralHeader(ByteSource& source, uint64_t& position, const ZipDirectoryOptions& options, ZipDirEntry& entry) {
  uint8_t header[kCentralHeaderSize];
  if (!ReadExactly(source, position, header, sizeof header)) return zmHeaderReadError;
  if (Get32(header) != kCentralSignature) return zmHeaderSignatureError;
  position += sizeof header;
  ParseCentralFields(header, entry);
  std::string name, extra, comment;
  if (!ReadPart(source, position, entry.NameLength, name)) return zmNameReadError;
  if (!ReadPart(source, position, entry.ExtraLength, extra)) return zmSeekError;
  if (!ReadPart(source, position, entry.CommentLength, comment)) return zmCommentReadError;
  entry.FileName = Converted(options, name, entry);
  entry.Extra.assign(extra.begin(), extra.end());
  entry.Comment = Converted(options, comment, entry);
  return 0;
}

bool BeginsLikeASplitSet(ByteSource& source) {
  uint8_t start[8];
  return ReadExactly(source, 0, start, sizeof start) && Get32(start) == kSpanSignature &&
         Get32(start + 4) == kLocalSignature;
}

}  // namespace

size_t MemorySource::ReadAt(uint64_t offset, void* buffer, size_t length) {
  if (offset >= size_) return 0;
  const size_t count = static_cast<size_t>(std::min<uint64_t>(length, size_ - offset));
  std::memcpy(buffer, data_ + offset, count);
  return count;
}

int ReadZipDirectory(ByteSource& source, const ZipDirectoryOptions& options, ZipDirectory& directory) {
  directory = ZipDirectory();
  directory.SplitSet = BeginsLikeASplitSet(source);
  EndRecord record;
  if (!FindEndRecord(source, directory, record)) return directory.Error = zmNotAZipFile;

  // The directory ends where the end record starts; a stored offset that
  // disagrees is only a warning.
  uint64_t position = record.DirectoryOffset;
  if (record.DirectoryDisk == record.Disk) {
    if (record.DirectorySize > record.Position) return directory.Error = zmSeekError;
    position = record.Position - record.DirectorySize;
    if (position != record.DirectoryOffset) directory.Warnings.push_back(zmStructureWarning);
  }

  directory.DataStart = std::numeric_limits<uint32_t>::max();
  // Sized once; every header takes at least kCentralHeaderSize bytes, so a count
  // the directory cannot hold reserves no more than its bytes allow.
  directory.Entries.reserve(std::min<uint64_t>(record.TotalEntries, record.DirectorySize / kCentralHeaderSize));
  for (unsigned index = 0; index < record.TotalEntries; ++index) {
    ZipDirEntry entry;
    if (const int error = ReadCentralHeader(source, position, options, entry)) return directory.Error = error;
    directory.DataStart = std::min(directory.DataStart, entry.LocalHeaderOffset);
    const bool folderOnly = entry.FileName.empty() || entry.FileName.back() == '\\';
    if (folderOnly && !options.UseDirOnlyEntries)
      ++directory.DroppedFolderEntries;
    else
      directory.Entries.push_back(std::move(entry));
  }
  if (directory.Entries.empty() && directory.DroppedFolderEntries == 0) directory.DataStart = 0;
  return 0;
}
