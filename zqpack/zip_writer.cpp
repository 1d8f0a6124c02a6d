#include "zip_writer.h"

#include <zlib.h>

#include <limits>

#include "little_endian.h"

namespace {

constexpr uint16_t kMadeBy = 20;  // MS-DOS host, version 2.0
constexpr uint16_t kNeededStored = 10;
constexpr uint16_t kNeededDeflated = 20;
constexpr uint16_t kMethodStored = 0, kMethodDeflated = 8;
constexpr uint32_t kAttributeFolder = 0x10, kAttributeArchive = 0x20;

uint32_t Fits32(size_t value, const char* what) {
  if (value > std::numeric_limits<uint32_t>::max())
    throw ZipLimitError(std::string(what) + " exceeds 4 GiB, which a ZIP archive without ZIP64 cannot hold");
  return static_cast<uint32_t>(value);
}

// Raw deflate at the best compression; empty when it does not shrink the data.
std::vector<uint8_t> Deflated(const std::vector<uint8_t>& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("zlib cannot start deflating");
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("zlib failed to deflate a member");
  if (out.size() >= data.size()) out.clear();
  return out;
}

void PutHeaderFields(std::vector<uint8_t>& out, uint16_t needed, uint16_t method, uint16_t time, uint16_t date,
                     uint32_t crc, uint32_t compressed, uint32_t size, size_t nameLength) {
  Put16(out, needed);
  Put16(out, 0);  // flags
  Put16(out, method);
  Put16(out, time);
  Put16(out, date);
  Put32(out, crc);
  Put32(out, compressed);
  Put32(out, size);
  Put16(out, static_cast<uint32_t>(nameLength));
  Put16(out, 0);  // extra length
}

}  // namespace

void ZipWriter::AddFolder(const std::string& name, DosTime time) {
  AddEntry({name, kMethodStored, time.Time, time.Date, 0, 0, 0, kAttributeFolder, 0}, {});
}

void ZipWriter::AddFile(const std::string& name, const std::vector<uint8_t>& data, DosTime time) {
  const uint32_t size = Fits32(data.size(), name.c_str());
  if (data.size() > std::numeric_limits<uInt>::max()) throw ZipLimitError(name + " is too large");
  const uint32_t crc = static_cast<uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
  std::vector<uint8_t> deflated = Deflated(data);
  if (deflated.empty()) {
    AddEntry({name, kMethodStored, time.Time, time.Date, crc, size, size, kAttributeArchive, 0}, data);
    return;
  }
  const uint32_t compressed = static_cast<uint32_t>(deflated.size());
  AddEntry({name, kMethodDeflated, time.Time, time.Date, crc, compressed, size, kAttributeArchive, 0}, deflated);
}

void ZipWriter::AddEntry(Entry entry, const std::vector<uint8_t>& stored) {
  if (entries_.size() >= 0xFFFF) throw ZipLimitError("more than 65,535 members");
  if (entry.Name.size() > 0xFFFF) throw ZipLimitError("a member name longer than 65,535 bytes");
  entry.Offset = Fits32(data_.size(), "the archive");
  Put32(data_, 0x04034B50);
  PutHeaderFields(data_, entry.Method == kMethodDeflated ? kNeededDeflated : kNeededStored, entry.Method, entry.Time,
                  entry.Date, entry.CRC32, entry.CompressedSize, entry.Size, entry.Name.size());
  data_.insert(data_.end(), entry.Name.begin(), entry.Name.end());
  data_.insert(data_.end(), stored.begin(), stored.end());
  Fits32(data_.size(), "the archive");
  entries_.push_back(std::move(entry));
}

std::vector<uint8_t> ZipWriter::Finish() {
  const uint32_t directoryOffset = Fits32(data_.size(), "the archive");
  for (const Entry& entry : entries_) {
    Put32(data_, 0x02014B50);
    Put16(data_, kMadeBy);
    PutHeaderFields(data_, entry.Method == kMethodDeflated ? kNeededDeflated : kNeededStored, entry.Method, entry.Time,
                    entry.Date, entry.CRC32, entry.CompressedSize, entry.Size, entry.Name.size());
    Put16(data_, 0);  // comment length
    Put16(data_, 0);  // disk number
    Put16(data_, 0);  // internal attributes
    Put32(data_, entry.ExternalAttributes);
    Put32(data_, entry.Offset);
    data_.insert(data_.end(), entry.Name.begin(), entry.Name.end());
  }
  const uint32_t directorySize = Fits32(data_.size(), "the archive") - directoryOffset;
  Put32(data_, 0x06054B50);
  Put16(data_, 0);
  Put16(data_, 0);
  Put16(data_, static_cast<uint32_t>(entries_.size()));
  Put16(data_, static_cast<uint32_t>(entries_.size()));
  Put32(data_, directorySize);
  Put32(data_, directoryOffset);
  Put16(data_, 0);
  entries_.clear();
  std::vector<uint8_t> archive;
  archive.swap(data_);
  return archive;
}
