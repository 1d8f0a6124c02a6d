// Initialising the install object for its run: the framing log lines and the
// initialisers of the install and completion runs.
#include <windows.h>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

std::string TimeStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatText("%02u.%02u.%04u %02u:%02u:%02u", now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute,
                    now.wSecond);
}

}  // namespace

void TInstallObject::LogInitStart(const char* title, const char* function) const {
  Log(FormatText("*********** %s ***********", (title + TimeStamp()).c_str()));
  Log(FormatText("Function: %s  Forced (%d)  AutoRun (%d)  Invisible (%d)  IsNT (%d)  IsAdmin (%d)", function,
                 Forced != 0, AutoRun != 0, Invisible != 0, IsNT != 0, IsAdmin != 0));
}

int TInstallObject::DoInitInstall() {
  int result = rcUnknownError;
  Settings = std::make_unique<InstallSettings>();
  LogInitStart("Installation ", "DoInitInstall");
  const std::string work = WorkFolder();
  CreateDirectoryA(WithoutTrailingBackslash(work).c_str(), nullptr);
  if (FolderExists(work)) {
    const DWORD start = GetTickCount();
    result = WriteData(work);
    Log(FormatText("Time to write: %d ms", static_cast<int>(GetTickCount() - start)));
  } else {
    result = rcCreateFolder;
    LogSystemError(GetLastError());
  }
  if (result == rcOk) result = ExtractArchives(work, ArchiveFiles);
  if (result == rcOk) {
    TempFiles.push_back(work + "UnzLib.dll");
    try {
      result = ReadInstallSettings(work + "uninst\\install.ini");
    } catch (...) {
      result = rcException;
    }
  }
  Log("DoInitInstall: " + std::to_string(result));
  return result;
}

int TInstallObject::DoInitAutoInstall(const std::string& errorRecord) {
  int result = rcUnknownError;
  Settings = std::make_unique<InstallSettings>();
  LogInitStart("Auto Installation ", "DoInitAutoInstall");
  try {
    result = ReadInstallSettings(errorRecord);
  } catch (...) {
    result = rcException;
  }
  Log("DoInitAutoInstall: " + std::to_string(result));
  return result;
}
