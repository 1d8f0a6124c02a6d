// The records exchanged with the unzip library. Every field is a
// little-endian 32-bit value (booleans -1 and 0); pointers are 32-bit
// addresses, which both sides of the interface are. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kUnzipInterfaceVersion = 160;
constexpr int32_t kUnzipRecordEndMarker = 7;
constexpr int32_t kUnzipTrue = -1;

struct UnzipCallRecord {
  uint32_t OwnerWindow;
  uint32_t Caller;
  int32_t Version;
  uint32_t Callback;
  int32_t Trace;
  int32_t Reserved20;
  uint32_t Password;
  int32_t TestOnly;
  int32_t Reserved32;
  int32_t Reserved36;
  int32_t Reserved40;  // always -1
  int32_t Verbose;
  int32_t Update;
  int32_t Freshen;
  int32_t DirectoryNames;
  int32_t Overwrite;
  int32_t SpecCount;
  uint32_t ArchiveName;
  uint32_t Specs;
  int32_t Reserved76;
  int32_t OutputToMemory;
  uint32_t OutputBuffer;
  int32_t OutputSize;
  int32_t InputFromMemory;
  uint32_t InputBuffer;
  int32_t InputSize;
  int32_t PasswordRequestCount;
  uint32_t ExtractionFolder;  // a 261-byte buffer
  int32_t Reserved112[8];
  int32_t EndMarker;  // 7
};

struct UnzipFileSpec {
  uint32_t Spec;  // a NUL-terminated file pattern
  int32_t Reserved[17];
};

// Action codes of the callback.
enum UnzipAction {
  uaNothing = 0,
  uaFileBegin = 1,
  uaBytesDone = 2,
  uaBatchEnd = 3,
  uaMessage = 4,
  uaFileCount = 5,
  uaTotalSize = 6,
  uaNewName = 7,
  uaPassword = 8,
  uaCRCError = 9,
  uaOverwrite = 10,
  uaSkipped = 11,
  uaComment = 12,
  uaBufferSize = 13,
};

struct UnzipCallbackRecord {
  int32_t Reserved0;
  uint32_t Caller;
  int32_t Reserved8;
  int32_t ZipAction;
  int32_t Action;
  int32_t Argument1;  // error code or first argument
  int32_t Argument2;  // size, count or second argument
  char Text[512];
};

constexpr int32_t kCallbackGoOn = 0;
constexpr int32_t kCallbackAbort = -1;

static_assert(sizeof(UnzipCallRecord) == 148, "call record");
static_assert(offsetof(UnzipCallRecord, Caller) == 4, "caller");
static_assert(offsetof(UnzipCallRecord, Version) == 8, "version");
static_assert(offsetof(UnzipCallRecord, Callback) == 12, "callback");
static_assert(offsetof(UnzipCallRecord, Trace) == 16, "trace");
static_assert(offsetof(UnzipCallRecord, Password) == 24, "password");
static_assert(offsetof(UnzipCallRecord, TestOnly) == 28, "test only");
static_assert(offsetof(UnzipCallRecord, Reserved40) == 40, "flag 40");
static_assert(offsetof(UnzipCallRecord, Verbose) == 44, "verbose");
static_assert(offsetof(UnzipCallRecord, Update) == 48, "update");
static_assert(offsetof(UnzipCallRecord, Freshen) == 52, "freshen");
static_assert(offsetof(UnzipCallRecord, DirectoryNames) == 56, "directory names");
static_assert(offsetof(UnzipCallRecord, Overwrite) == 60, "overwrite");
static_assert(offsetof(UnzipCallRecord, SpecCount) == 64, "spec count");
static_assert(offsetof(UnzipCallRecord, ArchiveName) == 68, "archive name");
static_assert(offsetof(UnzipCallRecord, Specs) == 72, "spec array");
static_assert(offsetof(UnzipCallRecord, OutputToMemory) == 80, "output to memory");
static_assert(offsetof(UnzipCallRecord, OutputBuffer) == 84, "output buffer");
static_assert(offsetof(UnzipCallRecord, OutputSize) == 88, "output size");
static_assert(offsetof(UnzipCallRecord, InputFromMemory) == 92, "input from memory");
static_assert(offsetof(UnzipCallRecord, InputBuffer) == 96, "input buffer");
static_assert(offsetof(UnzipCallRecord, InputSize) == 100, "input size");
static_assert(offsetof(UnzipCallRecord, PasswordRequestCount) == 104, "password requests");
static_assert(offsetof(UnzipCallRecord, ExtractionFolder) == 108, "extraction folder");
static_assert(offsetof(UnzipCallRecord, EndMarker) == 144, "end marker");
static_assert(sizeof(UnzipFileSpec) == 72, "file spec");
static_assert(offsetof(UnzipCallbackRecord, Caller) == 4, "callback caller");
static_assert(offsetof(UnzipCallbackRecord, ZipAction) == 12, "operation flag");
static_assert(offsetof(UnzipCallbackRecord, Action) == 16, "action code");
static_assert(offsetof(UnzipCallbackRecord, Argument1) == 20, "first argument");
static_assert(offsetof(UnzipCallbackRecord, Argument2) == 24, "second argument");
static_assert(offsetof(UnzipCallbackRecord, Text) == 28, "text");
static_assert(sizeof(UnzipCallbackRecord) == 540, "callback record");
