#include "member_data.h"

namespace {
constexpr size_t kChunk = 1 << 16;  // compressed data read at a time
}  // namespace

MemberData::MemberData(FileSource& source, uint64_t offset, const ZipDirEntry& entry)
    : source_(source), offset_(offset), remaining_(entry.CompressedSize), deflated_(entry.Method == Z_DEFLATED) {
  if (!deflated_) return;
  input_.resize(kChunk);
  ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
}

MemberData::~MemberData() {
  if (deflated_ && ready_) inflateEnd(&stream_);
}

size_t MemberData::Read(unsigned char* buffer, size_t size) {
  const size_t want = static_cast<size_t>(remaining_ < size ? remaining_ : size);
  const size_t got = want ? source_.ReadAt(offset_, buffer, want) : 0;
  offset_ += got;
  remaining_ -= got;
  return got;
}

bool MemberData::Fill(unsigned char* piece, size_t size, size_t& length) {
  if (deflated_) return Inflate(piece, size, length);
  length = Read(piece, size);
  return length > 0 || remaining_ == 0;
}

bool MemberData::Inflate(unsigned char* piece, size_t size, size_t& length) {
  stream_.next_out = piece;
  stream_.avail_out = static_cast<uInt>(size);
  while (stream_.avail_out > 0 && status_ != Z_STREAM_END) {
    if (stream_.avail_in == 0 && remaining_ > 0) {
      stream_.next_in = input_.data();
      stream_.avail_in = static_cast<uInt>(Read(input_.data(), input_.size()));
      if (stream_.avail_in == 0) return false;
    }
    // Z_BUF_ERROR here means the compressed data ended before the stream did.
    status_ = inflate(&stream_, Z_NO_FLUSH);
    if (status_ != Z_OK && status_ != Z_STREAM_END) return false;
  }
  length = size - stream_.avail_out;
  return true;
}
