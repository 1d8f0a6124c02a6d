// Creates, writes, checksums and closes the extracted files on a thread of
// its own, so that inflating a member's next piece overlaps with writing the
// pieces before it. One file is in the works at a time; the calling thread
// inflates, and it alone calls back to the library's caller.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How writing a file ended.
enum WriteOutcome {
  woWritten,
  woNoFolder,   // a folder of its path could not be created
  woNoFile,     // the file could not be created
  woNoSpace,    // it could not be given its length
  woWriteError  // a piece could not be written whole
};

class MemberWriter {
 public:
  static constexpr size_t kPieceSize = 1 << 16;

  // Without a thread (when none can be started) all work is done at once on
  // the calling thread.
  MemberWriter();
  ~MemberWriter();
  MemberWriter(const MemberWriter&) = delete;
  MemberWriter& operator=(const MemberWriter&) = delete;

  // Starts a file of the given length: its folders, then the file itself.
  // The file is given the write time when it is closed.
  void Begin(const std::string& path, uint32_t size, const FILETIME& written);
  // A buffer of kPieceSize bytes for the next piece; waits for a free one.
  unsigned char* NextPiece();
  // Hands over the first length bytes of the buffer NextPiece returned.
  void Submit(size_t length);
  // Whether the file has failed already: further pieces are only dropped.
  bool Failed();
  // Waits until every piece is written and the file is closed; the CRC-32 of
  // the pieces handed over.
  WriteOutcome Finish(uint32_t& crc);

 private:
  static constexpr int kSlots = 4;
  struct Slot {
    std::vector<unsigned char> data;
    size_t length = 0;
  };

  static DWORD WINAPI ThreadMain(void* self);
  void Work();
  // Does the next queued step; false when there is none. Called with the lock
  // held, it lets go of it while the step runs.
  bool DoNextStep();
  // Keeps the first failure of the file; with the lock held.
  void Settle(WriteOutcome outcome);
  // The steps, run without the lock.
  WriteOutcome Open();
  WriteOutcome Write(const Slot& slot);
  void Close();

  CRITICAL_SECTION lock_;
  CONDITION_VARIABLE changed_;
  HANDLE thread_ = nullptr;
  Slot slots_[kSlots];
  int next_ = 0;    // the slot NextPiece hands out
  int queued_ = 0;  // slots handed over and not yet written
  bool openWanted_ = false;
  bool closeWanted_ = false;
  bool closed_ = true;
  bool stop_ = false;

  // The folder of the last file opened, which is there; only Open touches it.
  std::string readyFolder_;
  // The file in the works. Begin sets them while no step runs; then only the
  // steps touch them, apart from outcome_, which changes under the lock.
  std::string path_;
  uint32_t size_ = 0;
  FILETIME written_ = {};
  HANDLE file_ = INVALID_HANDLE_VALUE;
  uint32_t crc_ = 0;
  WriteOutcome outcome_ = woWritten;
};
