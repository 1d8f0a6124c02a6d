// Loading the unzip library and handing it one archive to extract.
#include <cstring>
#include <memory>

#include "archive/unzip_records.h"
#include "archive/zip_extractor.h"
#include "sys/file_system.h"
#include "sys/library_proc.h"

namespace {

constexpr int32_t kFirstCallRecordVersion = 152;
constexpr size_t kMaxPasswordLength = 255;
constexpr size_t kFolderBufferSize = 261;

uint32_t Address(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

int32_t Flag(bool value) { return value ? kUnzipTrue : 0; }

// The extraction folder: the base folder when it exists, else the current directory.
std::string ExtractionFolder(const std::string& baseDir) {
  if (FolderExists(baseDir)) return baseDir;
  char current[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof current, current);
  return current;
}

}  // namespace

int32_t __stdcall ZipCallback(UnzipCallbackRecord* record);

bool TZipExtractor::LoadUnzLib() {
  const std::string ownCopy = dllDirectory_ + "\\UNZLIB.DLL";
  const std::string name = !dllDirectory_.empty() && FileExists(ownCopy) ? ownCopy : "UNZLIB.DLL";
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  library_ = LoadLibraryA(name.c_str());
  SetErrorMode(0);
  if (reinterpret_cast<uintptr_t>(library_) < 33) {
    library_ = nullptr;
    ShowMessage(10704);
    return false;
  }
  if (Trace) ShowMessage(10701);
  unzLibExec_ = LibraryProc<decltype(unzLibExec_)>(library_, "UnzLibExec");
  if (!unzLibExec_) ShowMessage(10702);
  getUnzLibVersion_ = LibraryProc<decltype(getUnzLibVersion_)>(library_, "GetUnzLibVersion");
  if (!getUnzLibVersion_) ShowMessage(10703);
  return true;
}

void TZipExtractor::FreeUnzLib() {
  if (library_) ::FreeLibrary(library_);
  library_ = nullptr;
  unzLibExec_ = nullptr;
  getUnzLibVersion_ = nullptr;
}

void TZipExtractor::Extract() {
  ExtractedCount = 0;
  if (!FileExists(zipFileName_)) {
    ShowMessage(10102);
    return;
  }
  if (Busy) return;
  const uint32_t savedRequests = passwordReqCount_;
  if (Unattended && Password.empty() && !OnPasswordError) {
    passwordReqCount_ = 0;
    ShowMessage(10502);
  }
  Busy = true;
  CancelRequested = false;
  const bool loadedHere = !library_ && LoadUnzLib();
  if (library_) CallLibrary();
  FSpecArgs.clear();
  passwordReqCount_ = savedRequests;
  if (loadedHere) FreeUnzLib();
  CancelRequested = false;
  Busy = false;
}

void TZipExtractor::CallLibrary() {
  const auto version = getUnzLibVersion_ ? getUnzLibVersion_() : 0;
  if (!unzLibExec_ || version < kFirstCallRecordVersion) {
    // Libraries that predate the call record are not supported.
    ShowMessage(10501);
    return;
  }
  const std::string archive = zipFileName_;
  const std::string password = Password.substr(0, kMaxPasswordLength);
  char folder[kFolderBufferSize] = {};
  std::strncpy(folder, ExtractionFolder(ExtrBaseDir).c_str(), kFolderBufferSize - 1);
  std::vector<UnzipFileSpec> specs(FSpecArgs.size(), UnzipFileSpec{});
  for (size_t i = 0; i < specs.size(); ++i) specs[i].Spec = Address(FSpecArgs[i].c_str());

  UnzipCallRecord record = {};
  record.OwnerWindow = Unattended ? 0 : Address(mainWindow_);
  record.Caller = Address(this);
  record.Version = kUnzipInterfaceVersion;
  record.Callback = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&ZipCallback));
  record.Trace = Flag(Trace);
  record.Password = Address(password.c_str());
  record.TestOnly = Flag(ExtrOptions & ExtrTest);
  record.Reserved40 = kUnzipTrue;
  record.Verbose = Flag(Verbose || Trace);
  record.Update = Flag(ExtrOptions & ExtrUpdate);
  record.Freshen = Flag((ExtrOptions & ExtrFreshen) && !(ExtrOptions & ExtrUpdate));
  record.DirectoryNames = Flag(ExtrOptions & ExtrDirNames);
  record.Overwrite = Flag(ExtrOptions & ExtrOverWrite);
  record.SpecCount = static_cast<int32_t>(specs.size());
  record.ArchiveName = Address(archive.c_str());
  record.Specs = specs.empty() ? 0 : Address(specs.data());
  if (version >= kUnzipInterfaceVersion) record.PasswordRequestCount = static_cast<int32_t>(passwordReqCount_);
  record.ExtractionFolder = Address(folder);
  record.EndMarker = kUnzipRecordEndMarker;

  callbackFailed_ = false;
  ExtractedCount = unzLibExec_(&record);
  // A handler that raised inside the callback has cancelled the extraction.
  if (callbackFailed_) ShowMessage(10501);
}
