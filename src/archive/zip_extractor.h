// The archive component: reads a ZIP archive's central directory itself and
// has the unzip library extract its members.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/member_names.h"
#include "archive/zip_directory.h"
#include "sys/run_process.h"

class TZipExtractor;
struct UnzipCallRecord;
struct UnzipCallbackRecord;

// How often the library may ask for a password, at most.
constexpr uint32_t kMaxPasswordRequests = 15;

enum ProgressType { ptFileBegin = 0, ptBytesDone = 1, ptBatchEnd = 2, ptFileCount = 3, ptTotalBytes = 4 };

enum ExtrOption : unsigned {
  ExtrDirNames = 1u << 0,
  ExtrOverWrite = 1u << 1,
  ExtrFreshen = 1u << 2,
  ExtrUpdate = 1u << 3,
  ExtrTest = 1u << 4,
};

enum TPasswordButton { pbOk = 0, pbCancel = 1, pbCancelAll = 2, pbAbort = 3 };

// A message of the component with its number and any detail already filled in.
class EZipExtractor : public std::runtime_error {
 public:
  EZipExtractor(int number, const std::string& text) : std::runtime_error(text), Number(number) {}
  int Number;
};

using TProgressEvent =
    std::function<void(TZipExtractor* sender, ProgressType type, const std::string& fileName, int32_t fileSize)>;
using TMessageEvent = std::function<void(TZipExtractor* sender, int32_t errCode, const std::string& message)>;
using TNotifyEvent = std::function<void(TZipExtractor* sender)>;
using TNewNameEvent = std::function<void(TZipExtractor* sender, int32_t seqNo, const ZipDirEntry& entry)>;
using TPasswordErrorEvent =
    std::function<void(TZipExtractor* sender, bool isZipAction, std::string& newPassword, const std::string& forFile,
                       uint32_t& repeatCount, TPasswordButton& action)>;
using TCRC32ErrorEvent = std::function<void(TZipExtractor* sender, const std::string& forFile, uint32_t foundCRC,
                                            uint32_t expectedCRC, bool& doExtract)>;
using TExtractOverwriteEvent = std::function<void(TZipExtractor* sender, const std::string& forFile, bool isOlder,
                                                  bool& doOverwrite, int32_t dirIndex)>;
using TExtractSkippedEvent =
    std::function<void(TZipExtractor* sender, const std::string& forFile, int skipType, int32_t extError)>;
using TSetNewNameEvent = std::function<void(TZipExtractor* sender, std::string& oldFileName, bool& isChanged)>;
using TFileCommentEvent =
    std::function<void(TZipExtractor* sender, const std::string& forFile, std::string& fileComment, bool& isChanged)>;

class TZipExtractor {
 public:
  TZipExtractor();
  TZipExtractor(const TZipExtractor&) = delete;
  TZipExtractor& operator=(const TZipExtractor&) = delete;

  // Setting the archive reads its directory at once.
  void SetZipFileName(const std::string& name);
  const std::string& ZipFileName() const { return zipFileName_; }
  // Stored without a trailing backslash.
  void SetDLLDirectory(const std::string& folder);
  const std::string& DLLDirectory() const { return dllDirectory_; }
  // Values above 15 are taken as 15.
  void SetPasswordReqCount(uint32_t count);
  uint32_t PasswordReqCount() const { return passwordReqCount_; }
  const char* VersionInfo() const { return "1.60 N"; }

  int EntryCount() const;
  const std::vector<ZipDirEntry>& Entries() const { return entries_; }
  const std::string& ArchiveComment() const { return archiveComment_; }
  int DroppedDirEntries() const { return droppedDirEntries_; }

  // Extracts the members named by FSpecArgs into ExtrBaseDir through the
  // unzip library; FSpecArgs is empty afterwards.
  void Extract();
  // Reports a message of the table: LastMessage, LastMessageCode, a box when
  // attended, OnMessage with error code 0.
  void ShowMessage(int number, const std::string& detail = std::string());

  std::string ExtrBaseDir;
  unsigned ExtrOptions = 0;
  std::vector<std::string> FSpecArgs;
  std::vector<std::string> FSpecArgsExcl;
  bool Unattended = false;
  bool Verbose = false;
  bool Trace = false;
  std::string Password;  // at most 255 characters are passed on
  std::string TempDir;
  TCodePage CodePage = cpAuto;
  bool UseDirOnlyEntries = false;

  int32_t LastMessageCode = 0;
  int32_t LibraryErrorCode = 0;  // kept for the component's whole life
  int32_t DirectoryError = 0;    // message number that ended the last directory reading, or 0
  std::string LastMessage;
  int32_t ExtractedCount = 0;
  bool Busy = false;
  bool CancelRequested = false;
  std::vector<uint8_t> MemoryStream;  // buffer the library may ask for (action 13)

  TProgressEvent OnProgress;
  TMessageEvent OnMessage;
  TNotifyEvent OnDirUpdate;
  TNewNameEvent OnNewName;
  TPasswordErrorEvent OnPasswordError;
  TCRC32ErrorEvent OnCRC32Error;
  TExtractOverwriteEvent OnExtractOverwrite;
  TExtractSkippedEvent OnExtractSkipped;
  TSetNewNameEvent OnSetNewName;
  TFileCommentEvent OnFileComment;

  // The unzip library's callback.
  friend int32_t __stdcall ZipCallback(UnzipCallbackRecord* record);

 private:
  void ReadDirectory();
  void ReadDirectoryFrom(HANDLE file, int volumeNumber);
  // Raises for a drive that is unknown or not ready; answers the split-set
  // volume number from the drive's label, or 0.
  int CheckDrive(const std::string& fullName) const;
  void FailDirectory(int number, const std::string& text);
  // Sets LastMessage and LastMessageCode, shows a box when attended and fires OnMessage.
  void Announce(int number, const std::string& text);
  void RecordLibraryError(int32_t code);
  bool LoadUnzLib();
  void FreeUnzLib();
  void CallLibrary();
  void HandleCallback(UnzipCallbackRecord& record);
  void Progress(ProgressType type, const std::string& fileName, int32_t size);
  void AnswerNewName(UnzipCallbackRecord& record, const std::string& text);
  void AnswerPassword(UnzipCallbackRecord& record, const std::string& forFile);
  void AnswerChecksumError(UnzipCallbackRecord& record, const std::string& text);
  void AnswerOverwrite(UnzipCallbackRecord& record, const std::string& text);
  void AnswerComment(UnzipCallbackRecord& record, const std::string& text);
  void AnswerBufferSize(UnzipCallbackRecord& record);

  std::string zipFileName_;
  std::string dllDirectory_;
  uint32_t passwordReqCount_ = 1;
  std::vector<ZipDirEntry> entries_;
  std::string archiveComment_;
  int droppedDirEntries_ = 0;
  int64_t totalSize_ = 0;
  HWND mainWindow_ = nullptr;
  HMODULE library_ = nullptr;
  int32_t(__stdcall* unzLibExec_)(UnzipCallRecord*) = nullptr;
  int32_t(__stdcall* getUnzLibVersion_)() = nullptr;
  bool callbackFailed_ = false;  // a handler raised during the library call
  PumpInterval pumpInterval_;
};

// The callback handed to the unzip library: acts on one record of the
// extractor named in it and answers go on or abort.
int32_t __stdcall ZipCallback(UnzipCallbackRecord* record);
