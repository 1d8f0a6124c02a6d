// Writes a file's data and sums its CRC-32 on a thread of its own, so that
// inflating the next piece overlaps with writing the last one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class PieceWriter {
 public:
  // Without a thread (when none can be started) every piece is written at once.
  PieceWriter();
  ~PieceWriter();
  PieceWriter(const PieceWriter&) = delete;
  PieceWriter& operator=(const PieceWriter&) = delete;

  // Starts a new file: the CRC begins at 0 and earlier failures are forgotten.
  void Begin(HANDLE file);
  // Hands over the next piece. The call waits until the piece before it is
  // written, so the caller may refill that one's buffer once it returns; the
  // piece itself must stay untouched until the next Submit or Finish. False
  // when an earlier piece of the file could not be written.
  bool Submit(const unsigned char* data, size_t length);
  // Waits for the last piece; whether every piece was written whole.
  bool Finish(uint32_t& crc);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Write();
  void WaitIdle();

  HANDLE thread_ = nullptr;
  HANDLE work_ = nullptr;  // a piece (or the stop request) is waiting
  HANDLE idle_ = nullptr;  // the thread has finished its piece
  bool stop_ = false;
  bool busy_ = false;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  const unsigned char* data_ = nullptr;
  size_t length_ = 0;
  uint32_t crc_ = 0;
  bool failed_ = false;
};
