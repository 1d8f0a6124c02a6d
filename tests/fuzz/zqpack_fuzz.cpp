// Fuzz target: zqpack reading arbitrary bytes as a component's archive, as an
// installer to list (a readable archive's descriptor read back too) and as a
// program whose version resource it reads; each ends with a result or a
// message, never a crash.
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "component.h"
#include "component_files.h"
#include "container.h"
#include "pe_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Component component;
  component.Source = "fuzz.zip";
  component.Archive.assign(data, data + size);
  VersionRecord version;
  ReadImageVersion(component.Archive, version);
  try {
    CheckComponentArchive(component);
    ReadComponentFiles(component);
  } catch (const std::runtime_error&) {
  }
  static const std::string path = "/tmp/zqpack_fuzz_" + std::to_string(getpid()) + ".exe";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    std::ostringstream listing;
    try {
      ListContainer(path, listing);
    } catch (const std::runtime_error&) {
    }
  }
  return 0;
}
