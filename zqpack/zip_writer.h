// Writes a ZIP archive in memory: deflated members (stored when deflating
// does not help), names in the OEM code page as an MS-DOS host stores them.
// Platform-free.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct DosTime {
  uint16_t Time = 0;
  uint16_t Date = 0x21;  // 1980-01-01
};

class ZipWriter {
 public:
  // name uses "/" and is stored as given; folders end in "/".
  void AddFolder(const std::string& name, DosTime time);
  void AddFile(const std::string& name, const std::vector<uint8_t>& data, DosTime time);
  // The archive with its central directory; the writer is empty afterwards.
  std::vector<uint8_t> Finish();

 private:
  struct Entry {
    std::string Name;
    uint16_t Method, Time, Date;
    uint32_t CRC32, CompressedSize, Size, ExternalAttributes, Offset;
  };
  void AddEntry(Entry entry, const std::vector<uint8_t>& stored);

  std::vector<uint8_t> data_;
  std::vector<Entry> entries_;
};

// Raised when the archive would exceed what a ZIP archive without the 64-bit
// extensions can hold.
class ZipLimitError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
