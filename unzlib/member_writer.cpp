#include "member_writer.h"

#include <zlib.h>

namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folders of path below its drive; existing ones are fine, but a
// file in a folder's place is not. Most members go into a folder that is
// there already, which one look settles.
bool CreateParents(const std::string& path) {
  const size_t last = path.rfind('\\');
  if (last != std::string::npos && last > 2 && IsFolder(path.substr(0, last))) return true;
  for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (!CreateDirectoryA(folder.c_str(), nullptr) && !IsFolder(folder)) return false;
  }
  return true;
}

// Gives the new file its final length before it is written, which makes the
// writes cheaper and finds a full disk before the data is written.
bool Preallocate(HANDLE file, uint32_t size) {
  LARGE_INTEGER end, start = {};
  end.QuadPart = size;
  return SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
         SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
}

}  // namespace

MemberWriter::MemberWriter() {
  InitializeCriticalSection(&lock_);
  InitializeConditionVariable(&changed_);
  for (Slot& slot : slots_) slot.data.resize(kPieceSize);
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

MemberWriter::~MemberWriter() {
  if (thread_) {
    EnterCriticalSection(&lock_);
    stop_ = true;
    WakeAllConditionVariable(&changed_);
    LeaveCriticalSection(&lock_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  Close();
  DeleteCriticalSection(&lock_);
}

DWORD WINAPI MemberWriter::ThreadMain(void* self) {
  MemberWriter& writer = *static_cast<MemberWriter*>(self);
  EnterCriticalSection(&writer.lock_);
  for (;;) {
    if (writer.DoNextStep()) continue;
    if (writer.stop_) break;
    SleepConditionVariableCS(&writer.changed_, &writer.lock_, INFINITE);
  }
  LeaveCriticalSection(&writer.lock_);
  return 0;
}

// After a change of the queue: the thread is woken, or without one the work
// is done here and now.
void MemberWriter::Work() {
  if (thread_)
    WakeAllConditionVariable(&changed_);
  else
    while (DoNextStep()) {
    }
}

bool MemberWriter::DoNextStep() {
  if (openWanted_) {
    openWanted_ = false;
    LeaveCriticalSection(&lock_);
    const WriteOutcome outcome = Open();
    EnterCriticalSection(&lock_);
    Settle(outcome);
  } else if (queued_ > 0) {
    const Slot& slot = slots_[(next_ - queued_ + kSlots) % kSlots];
    LeaveCriticalSection(&lock_);
    const WriteOutcome outcome = Write(slot);
    EnterCriticalSection(&lock_);
    Settle(outcome);
    --queued_;
  } else if (closeWanted_) {
    closeWanted_ = false;
    LeaveCriticalSection(&lock_);
    Close();
    EnterCriticalSection(&lock_);
    closed_ = true;
  } else {
    return false;
  }
  if (thread_) WakeAllConditionVariable(&changed_);
  return true;
}

void MemberWriter::Settle(WriteOutcome outcome) {
  if (outcome_ == woWritten) outcome_ = outcome;
}

WriteOutcome MemberWriter::Open() {
  // Members of one folder come one after another: their folder is looked at once.
  const std::string folder = path_.substr(0, path_.rfind('\\') + 1);
  if (folder != readyFolder_) {
    if (!CreateParents(path_)) return woNoFolder;
    readyFolder_ = folder;
  }
  file_ = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return woNoFile;
  return Preallocate(file_, size_) ? woWritten : woNoSpace;
}

WriteOutcome MemberWriter::Write(const Slot& slot) {
  if (outcome_ != woWritten) return outcome_;  // the file has failed: the piece is dropped
  crc_ = static_cast<uint32_t>(crc32(crc_, slot.data.data(), static_cast<uInt>(slot.length)));
  DWORD put = 0;
  if (!WriteFile(file_, slot.data.data(), static_cast<DWORD>(slot.length), &put, nullptr) || put != slot.length)
    return woWriteError;
  return woWritten;
}

void MemberWriter::Close() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  if (written_.dwLowDateTime || written_.dwHighDateTime) SetFileTime(file_, nullptr, nullptr, &written_);
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

void MemberWriter::Begin(const std::string& path, uint32_t size, const FILETIME& written) {
  EnterCriticalSection(&lock_);
  path_ = path;
  size_ = size;
  written_ = written;
  crc_ = 0;
  outcome_ = woWritten;
  closed_ = false;
  openWanted_ = true;
  Work();
  LeaveCriticalSection(&lock_);
}

unsigned char* MemberWriter::NextPiece() {
  EnterCriticalSection(&lock_);
  while (queued_ == kSlots) SleepConditionVariableCS(&changed_, &lock_, INFINITE);
  unsigned char* piece = slots_[next_].data.data();
  LeaveCriticalSection(&lock_);
  return piece;
}

void MemberWriter::Submit(size_t length) {
  EnterCriticalSection(&lock_);
  slots_[next_].length = length;
  next_ = (next_ + 1) % kSlots;
  ++queued_;
  Work();
  LeaveCriticalSection(&lock_);
}

bool MemberWriter::Failed() {
  EnterCriticalSection(&lock_);
  const bool failed = outcome_ != woWritten;
  LeaveCriticalSection(&lock_);
  return failed;
}

WriteOutcome MemberWriter::Finish(uint32_t& crc) {
  EnterCriticalSection(&lock_);
  closeWanted_ = true;
  Work();
  while (!closed_) SleepConditionVariableCS(&changed_, &lock_, INFINITE);
  crc = crc_;
  const WriteOutcome outcome = outcome_;
  LeaveCriticalSection(&lock_);
  return outcome;
}
