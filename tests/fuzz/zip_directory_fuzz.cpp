// Fuzz target: any bytes given to the central-directory reader must end in a
// result, never in a crash, a hang or a read outside the input.
#include <cstddef>
#include <cstdint>

#include "archive/zip_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool keepFolders : {false, true}) {
    MemorySource source(data, size);
    ZipDirectoryOptions options;
    options.UseDirOnlyEntries = keepFolders;
    ZipDirectory directory;
    ReadZipDirectory(source, options, directory);
  }
  return 0;
}
