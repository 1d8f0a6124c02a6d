#include "archive/zip_extractor.h"

#include <cstring>
#include <new>

#include "archive/file_source.h"
#include "archive/system_names.h"
#include "archive/zip_messages.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/text.h"
#include "sys/wait_cursor.h"

namespace {

const char kVolumeLabelPrefix[] = "PKBACK# ";

// The message's text with its one placeholder filled in.
template <typename Argument>
std::string FormattedMessage(int number, Argument argument) {
  return FormatText(ZipMessageText(number).c_str(), argument);
}

// The number of a split-set volume from its label "PKBACK# nnn", else 0.
int VolumeNumber(const char* label) {
  const size_t prefix = sizeof kVolumeLabelPrefix - 1;
  if (std::strncmp(label, kVolumeLabelPrefix, prefix) != 0) return 0;
  int number = 0;
  for (const char* p = label + prefix; *p >= '0' && *p <= '9' && number < 1000; ++p) number = number * 10 + *p - '0';
  return number;
}

// The message asking for the last volume when a volume without the end record is read.
EZipExtractor LastVolumeWanted(int volumeNumber) {
  if (volumeNumber == 1) return EZipExtractor(11037, ZipMessageText(11037));
  if (volumeNumber > 1) return EZipExtractor(11038, FormattedMessage(11038, volumeNumber));
  return EZipExtractor(11045, ZipMessageText(11045));
}

}  // namespace

TZipExtractor::TZipExtractor() : mainWindow_(GetActiveWindow()) {}

void TZipExtractor::SetZipFileName(const std::string& name) {
  zipFileName_ = name;
  ReadDirectory();
}

void TZipExtractor::SetDLLDirectory(const std::string& folder) {
  if (folder == dllDirectory_) return;
  dllDirectory_ = WithoutTrailingBackslash(folder);
}

void TZipExtractor::SetPasswordReqCount(uint32_t count) {
  passwordReqCount_ = count > kMaxPasswordRequests ? kMaxPasswordRequests : count;
}

int TZipExtractor::EntryCount() const { return zipFileName_.empty() ? 0 : static_cast<int>(entries_.size()); }

void TZipExtractor::ShowMessage(int number, const std::string& detail) {
  Announce(number, ZipMessageText(number) + detail);
}

void TZipExtractor::Announce(int number, const std::string& text) {
  LastMessage = text;
  LastMessageCode = number;
  if (!Unattended) MessageBoxA(mainWindow_, LastMessage.c_str(), "", MB_OK | MB_ICONINFORMATION);
  if (OnMessage) OnMessage(this, 0, LastMessage);
}

void TZipExtractor::ReadDirectory() {
  entries_.clear();
  archiveComment_.clear();
  droppedDirEntries_ = 0;
  DirectoryError = 0;
  if (!FileExists(zipFileName_)) {
    if (OnDirUpdate) OnDirUpdate(this);
    return;
  }
  WaitCursor wait;
  try {
    char fullName[MAX_PATH + 1] = {};
    GetFullPathNameA(zipFileName_.c_str(), sizeof fullName, fullName, nullptr);
    const int volumeNumber = CheckDrive(fullName);
    FileHandle file(OpenForReading(zipFileName_.c_str()));
    if (!file.valid()) throw EZipExtractor(11001, ZipMessageText(11001));
    ReadDirectoryFrom(file.handle, volumeNumber);
  } catch (const EZipExtractor& error) {
    FailDirectory(error.Number, error.what());
  } catch (const std::bad_alloc&) {
    FailDirectory(10103, ZipMessageText(10103));
  } catch (const std::exception& error) {
    FailDirectory(10202, ZipMessageText(10202) + error.what());
  }
  if (OnDirUpdate) OnDirUpdate(this);
}

void TZipExtractor::FailDirectory(int number, const std::string& text) {
  DirectoryError = number;
  Announce(number, text);
}

int TZipExtractor::CheckDrive(const std::string& fullName) const {
  if (!fullName.empty() && fullName[0] == '\\') return 0;  // a network path
  const std::string drive = fullName.substr(0, 2);
  const char letter = static_cast<char>(drive.empty() ? 0 : drive[0] & ~0x20);
  if (drive.size() < 2 || drive[1] != ':' || letter < 'A' || letter > 'Z')
    throw EZipExtractor(11003, FormattedMessage(11003, drive.c_str()));
  if (!(GetLogicalDrives() & (1u << (letter - 'A'))))
    throw EZipExtractor(11004, FormattedMessage(11004, drive.c_str()));
  const std::string root = drive + "\\";
  char label[MAX_PATH + 1] = {};
  DWORD serial = 0, nameLength = 0, flags = 0;
  if (!GetVolumeInformationA(root.c_str(), label, sizeof label, &serial, &nameLength, &flags, nullptr, 0))
    throw EZipExtractor(11004, FormattedMessage(11004, drive.c_str()));
  return VolumeNumber(label);
}

void TZipExtractor::ReadDirectoryFrom(HANDLE file, int volumeNumber) {
  FileSource source(file);
  ZipDirectoryOptions options;
  options.UseDirOnlyEntries = UseDirOnlyEntries;
  options.Convert = SystemNameConversion(CodePage);
  ZipDirectory directory;
  const int error = ReadZipDirectory(source, options, directory);
  archiveComment_ = directory.ArchiveComment;
  droppedDirEntries_ = directory.DroppedFolderEntries;
  for (const int warning : directory.Warnings) ShowMessage(warning);
  // Entries read before an error stay in the list, which is taken over whole:
  // a large archive's directory is not held twice.
  entries_ = std::move(directory.Entries);
  if (OnNewName)
    for (size_t i = 0; i < entries_.size(); ++i) OnNewName(this, static_cast<int32_t>(i + 1), entries_[i]);
  if (error == zmNotAZipFile && (volumeNumber > 0 || directory.SplitSet)) throw LastVolumeWanted(volumeNumber);
  if (error) throw EZipExtractor(error, ZipMessageText(error));
}

void TZipExtractor::RecordLibraryError(int32_t code) {
  if (code == 0) return;
  LastMessageCode = code & 0xFF;
  LibraryErrorCode = code;
}
