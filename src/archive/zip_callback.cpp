// The callback through which the unzip library reports progress and asks
// questions while it extracts.
#include <algorithm>
#include <cstring>
#include <new>

#include "archive/unzip_records.h"
#include "archive/zip_extractor.h"
#include "sys/run_process.h"

namespace {

constexpr size_t kMaxPasswordAnswer = 80;
constexpr size_t kMaxComment = 511;

// The record's text up to its first NUL, without trailing blanks and control
// characters, with backslashes.
std::string CallbackText(const UnzipCallbackRecord& record) {
  std::string text(record.Text, strnlen(record.Text, sizeof record.Text));
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

void SetText(UnzipCallbackRecord& record, const std::string& text, size_t maxLength) {
  const size_t length = std::min(text.size(), maxLength);
  std::memcpy(record.Text, text.data(), length);
  record.Text[length] = '\0';
}

}  // namespace

int32_t __stdcall ZipCallback(UnzipCallbackRecord* record) {
  auto* zip = reinterpret_cast<TZipExtractor*>(static_cast<uintptr_t>(record->Caller));
  if (!zip) return kCallbackAbort;
  // Nothing may unwind through the library's frames.
  try {
    zip->HandleCallback(*record);
  } catch (...) {
    zip->callbackFailed_ = true;
    zip->CancelRequested = true;
  }
  if (zip->pumpInterval_.Due()) PumpWaitingMessages();
  return zip->CancelRequested ? kCallbackAbort : kCallbackGoOn;
}

void TZipExtractor::Progress(ProgressType type, const std::string& fileName, int32_t size) {
  if (OnProgress) OnProgress(this, type, fileName, size);
}

void TZipExtractor::HandleCallback(UnzipCallbackRecord& record) {
  const std::string text = CallbackText(record);
  switch (record.Action) {
    case uaFileBegin:
      Progress(ptFileBegin, text, record.Argument2);
      break;
    case uaBytesDone:
      Progress(ptBytesDone, std::string(), record.Argument2);
      break;
    case uaBatchEnd:
      Progress(ptBatchEnd, std::string(), 0);
      break;
    case uaMessage:
      LastMessage = text;
      RecordLibraryError(record.Argument1);
      if (OnMessage) OnMessage(this, record.Argument1, text);
      break;
    case uaFileCount:
      Progress(ptFileCount, std::string(), record.Argument2);
      break;
    case uaTotalSize:
      totalSize_ = record.Argument2;
      Progress(ptTotalBytes, std::string(), record.Argument2);
      break;
    case uaNewName:
      AnswerNewName(record, text);
      break;
    case uaPassword:
      AnswerPassword(record, text);
      break;
    case uaCRCError:
      AnswerChecksumError(record, text);
      break;
    case uaOverwrite:
      AnswerOverwrite(record, text);
      break;
    case uaSkipped:
      RecordLibraryError(record.Argument1);
      if (OnExtractSkipped) OnExtractSkipped(this, text, (record.Argument2 & 0xFF) - 1, record.Argument1);
      break;
    case uaComment:
      AnswerComment(record, text);
      break;
    case uaBufferSize:
      AnswerBufferSize(record);
      break;
    default:
      break;
  }
}

void TZipExtractor::AnswerNewName(UnzipCallbackRecord& record, const std::string& text) {
  if (!OnSetNewName) return;
  std::string name = text;
  bool changed = false;
  OnSetNewName(this, name, changed);
  if (changed) SetText(record, name, sizeof record.Text - 1);
  record.Argument1 = changed ? 1 : 0;
}

void TZipExtractor::AnswerChecksumError(UnzipCallbackRecord& record, const std::string& text) {
  if (!OnCRC32Error) {
    record.Argument1 = 2;
    return;
  }
  bool extract = true;
  OnCRC32Error(this, text, static_cast<uint32_t>(record.Argument1), static_cast<uint32_t>(record.Argument2), extract);
  record.Argument1 = extract ? 1 : 0;
}

void TZipExtractor::AnswerOverwrite(UnzipCallbackRecord& record, const std::string& text) {
  if (!OnExtractOverwrite) return;
  bool overwrite = (record.Argument2 & 0xFF) != 0;
  OnExtractOverwrite(this, text, (record.Argument1 & 0x10000) != 0, overwrite, record.Argument1 & 0xFFFF);
  record.Argument2 = overwrite ? 1 : 0;
}

void TZipExtractor::AnswerComment(UnzipCallbackRecord& record, const std::string& text) {
  if (!OnFileComment) return;
  std::string comment = text;
  bool changed = false;
  OnFileComment(this, text, comment, changed);
  SetText(record, changed ? comment : std::string(), kMaxComment);
  record.Argument1 = changed ? 1 : 0;
  record.Argument2 = static_cast<int32_t>(std::min(comment.size(), kMaxComment));
}

void TZipExtractor::AnswerBufferSize(UnzipCallbackRecord& record) {
  try {
    if (record.Argument2 < 0) throw std::bad_alloc();
    MemoryStream.resize(static_cast<size_t>(record.Argument2));
    record.Argument2 = static_cast<int32_t>(reinterpret_cast<uintptr_t>(MemoryStream.data()));
  } catch (const std::bad_alloc&) {
    record.Argument1 = 1;
    record.Argument2 = 0;
  }
}

void TZipExtractor::AnswerPassword(UnzipCallbackRecord& record, const std::string& forFile) {
  uint32_t repeat = static_cast<uint32_t>(record.Argument2);
  std::string password;
  TPasswordButton action = pbOk;
  if (OnPasswordError) {
    OnPasswordError(this, record.ZipAction != 0, password, forFile, repeat, action);
    if (action != pbOk) password.clear();
  } else {
    // No handler: the component has no password to offer and says so.
    ShowMessage((record.Argument1 & 1) ? 10150 : 10151);
  }
  if (!password.empty()) {
    SetText(record, password, kMaxPasswordAnswer);
    record.Argument1 = 1;
  } else {
    record.Argument1 = 0;
    repeat = 0;
  }
  record.Argument2 = static_cast<int32_t>(std::min(repeat, kMaxPasswordRequests));
  if (action == pbCancelAll) record.Action = 0;
  if (action == pbAbort) CancelRequested = true;
}
