// Inflates every member of an archive in memory with zlib and prints the time
// it took: the yardstick for the unzip library.
//   inflate_bench ARCHIVE
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "archive/zip_directory.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  MemorySource source(bytes.data(), bytes.size());
  ZipDirectory directory;
  if (ReadZipDirectory(source, ZipDirectoryOptions(), directory) != 0) return 1;
  std::vector<unsigned char> output(1 << 16);
  const auto start = std::chrono::steady_clock::now();
  int files = 0;
  for (const ZipDirEntry& entry : directory.Entries) {
    const unsigned char* local = bytes.data() + entry.LocalHeaderOffset;
    const size_t data = entry.LocalHeaderOffset + 30 + (local[26] | local[27] << 8) + (local[28] | local[29] << 8);
    z_stream stream = {};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = const_cast<unsigned char*>(bytes.data() + data);
    stream.avail_in = entry.CompressedSize;
    int status;
    uLong crc = 0;
    do {
      stream.next_out = output.data();
      stream.avail_out = static_cast<uInt>(output.size());
      status = inflate(&stream, Z_NO_FLUSH);
      crc = crc32(crc, output.data(), static_cast<uInt>(output.size() - stream.avail_out));
    } while (status == Z_OK);
    inflateEnd(&stream);
    files += status == Z_STREAM_END && crc == entry.CRC32;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d %.3f\n", files, seconds);
  return 0;
}
