#include "piece_writer.h"

#include <zlib.h>

PieceWriter::PieceWriter() {
  work_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  idle_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (work_ && idle_) thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

PieceWriter::~PieceWriter() {
  if (thread_) {
    WaitIdle();
    stop_ = true;
    SetEvent(work_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (work_) CloseHandle(work_);
  if (idle_) CloseHandle(idle_);
}

DWORD WINAPI PieceWriter::ThreadMain(void* self) {
  PieceWriter& writer = *static_cast<PieceWriter*>(self);
  for (;;) {
    WaitForSingleObject(writer.work_, INFINITE);
    if (writer.stop_) return 0;
    writer.Write();
    SetEvent(writer.idle_);
  }
}

void PieceWriter::Write() {
  DWORD put = 0;
  if (failed_ || !WriteFile(file_, data_, static_cast<DWORD>(length_), &put, nullptr) || put != length_)
    failed_ = true;
  crc_ = static_cast<uint32_t>(crc32(crc_, data_, static_cast<uInt>(length_)));
}

void PieceWriter::WaitIdle() {
  if (!busy_) return;
  WaitForSingleObject(idle_, INFINITE);
  busy_ = false;
}

void PieceWriter::Begin(HANDLE file) {
  WaitIdle();
  file_ = file;
  crc_ = 0;
  failed_ = false;
}

bool PieceWriter::Submit(const unsigned char* data, size_t length) {
  WaitIdle();
  if (failed_) return false;
  data_ = data;
  length_ = length;
  if (!thread_) {
    Write();
    return !failed_;
  }
  busy_ = true;
  SetEvent(work_);
  return true;
}

bool PieceWriter::Finish(uint32_t& crc) {
  WaitIdle();
  crc = crc_;
  return !failed_;
}
