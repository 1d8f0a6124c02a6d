// Fuzz target: any bytes given to the central-directory reader, and the extra
// fields of whatever entries it finds given to the write-time reader, must end
// in a result, never in a crash, a hang or a read outside the input.
#include <cstddef>
#include <cstdint>

#include "archive/zip_directory.h"
#include "member_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool keepFolders : {false, true}) {
    MemorySource source(data, size);
    ZipDirectoryOptions options;
    options.UseDirOnlyEntries = keepFolders;
    ZipDirectory directory;
    ReadZipDirectory(source, options, directory);
    for (const ZipDirEntry& entry : directory.Entries) {
      uint64_t time = 0;
      ExtraFieldWriteTime(entry.Extra, time);
    }
  }
  return 0;
}
