// A member's data as it is stored, taken forward from the archive and
// inflated where it is deflated.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/file_source.h"

class MemberData {
 public:
  MemberData(FileSource& source, uint64_t offset, const ZipDirEntry& entry);
  ~MemberData();
  MemberData(const MemberData&) = delete;
  MemberData& operator=(const MemberData&) = delete;

  bool Ready() const { return ready_; }
  // Whether all of the member's data has been taken.
  bool Done() const { return deflated_ ? status_ == Z_STREAM_END : remaining_ == 0; }
  // Fills piece with the next data, up to its size; false for broken or
  // truncated data.
  bool Fill(unsigned char* piece, size_t size, size_t& length);

 private:
  size_t Read(unsigned char* buffer, size_t size);
  bool Inflate(unsigned char* piece, size_t size, size_t& length);

  FileSource& source_;
  uint64_t offset_;
  uint64_t remaining_;
  const bool deflated_;
  bool ready_ = true;
  z_stream stream_ = {};
  int status_ = Z_OK;
  std::vector<unsigned char> input_;
};
