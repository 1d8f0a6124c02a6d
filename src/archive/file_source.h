// An archive file as a byte source for the directory reader.
#pragma once

#include <windows.h>

#include "archive/zip_directory.h"

// Closes a file handle when it goes out of scope.
struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  bool valid() const { return handle != INVALID_HANDLE_VALUE; }
};

// Opens path for reading, others allowed to read.
HANDLE OpenForReading(const char* path);

class FileSource : public ByteSource {
 public:
  explicit FileSource(HANDLE file);
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t length) override;

 private:
  HANDLE file_;
  uint64_t size_;
};
