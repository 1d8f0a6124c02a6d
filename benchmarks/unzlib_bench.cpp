// Extracts an archive with UnzLib.dll and prints the time it took.
//   unzlib_bench DLL ARCHIVE FOLDER
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "archive/unzip_records.h"

namespace {
int32_t __stdcall Ignore(UnzipCallbackRecord*) { return kCallbackGoOn; }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  HMODULE library = LoadLibraryA(argv[1]);
  auto exec = reinterpret_cast<int32_t(__stdcall*)(UnzipCallRecord*)>(
      reinterpret_cast<void*>(GetProcAddress(library, "UnzLibExec")));
  if (!exec) return 1;
  char folder[261] = {};
  lstrcpynA(folder, argv[3], sizeof folder);
  UnzipCallRecord record = {};
  record.Version = kUnzipInterfaceVersion;
  record.Callback = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&Ignore));
  record.DirectoryNames = record.Overwrite = record.Reserved40 = kUnzipTrue;
  record.ArchiveName = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(argv[2]));
  record.ExtractionFolder = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(folder));
  record.EndMarker = kUnzipRecordEndMarker;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const int32_t files = exec(&record);
  QueryPerformanceCounter(&end);
  std::printf("%d %.3f\n", files, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
