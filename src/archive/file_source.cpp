#include "archive/file_source.h"

HANDLE OpenForReading(const char* path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

FileSource::FileSource(HANDLE file) : file_(file) {
  LARGE_INTEGER size;
  size_ = GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

size_t FileSource::ReadAt(uint64_t offset, void* buffer, size_t length) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  if (!SetFilePointerEx(file_, position, nullptr, FILE_BEGIN) ||
      !ReadFile(file_, buffer, static_cast<DWORD>(length), &read, nullptr))
    return 0;
  return read;
}
