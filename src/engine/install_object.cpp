#include "engine/install_object.h"

#include "engine/config/folder_variables.h"
#include "engine/progress.h"
#include "engine/result_codes.h"
#include "sys/locale_order.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

std::string Failure(const std::string& subject, const char* participle) {
  return subject + FormatText("konnte nicht %s werden.", participle);
}

void DetermineFolders(TInstallObject& object) {
  object.OwnDir = FolderPart(object.OwnPath);
  const FolderVariables folders = DetermineFolderVariables();
  object.TmpDir = folders.TmpDir;
  object.WinDir = folders.WinDir;
  object.SystemDir = folders.SystemDir;
  object.MenuDir = folders.MenuDir;
  object.DesktopDir = folders.DesktopDir;
  object.ProgramsDir = folders.ProgramsDir;
  object.CommonFilesDir = folders.CommonFilesDir;
  object.AllUsersAppDir = folders.AllUsersAppDir;
  object.AllUsersDir = folders.AllUsersDir;
  AppendFolderPlaceholders(object.PlaceholderTable, folders);
}

}  // namespace

std::string TInstallObject::LogTimeStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatText("%02u.%02u.%04u %02u:%02u:%02u", now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute,
                    now.wSecond);
}

void TInstallObject::LogBanner(const char* title) const {
  Log(FormatText("*********** %s ***********", (title + LogTimeStamp()).c_str()));
}

void TInstallObject::LogError(const std::string& subject, const char* participle, const std::string& detail) const {
  Log("Fehler:  " + Failure(subject, participle) + detail);
}

void TInstallObject::LogWarning(const std::string& subject, const char* participle,
                                const std::string& detail) const {
  Log("Warnung: " + Failure(subject, participle) + detail);
}

bool LessText::operator()(const std::string& a, const std::string& b) const {
  return LowerAscii(a) < LowerAscii(b);
}

TInstallObject::TInstallObject() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  OwnPath.assign(path, length);
  if (GetShortPathNameA(OwnPath.c_str(), OwnShortPath, sizeof OwnShortPath) >= sizeof OwnShortPath)
    OwnShortPath[0] = '\0';
  DetermineFolders(*this);
}

TInstallObject::~TInstallObject() {
  try {
    KillTempFiles();
  } catch (...) {
    // Nothing may leave a destructor; what is left stays in the temporary folder.
  }
}

std::string TInstallObject::ExpandPlaceholders(const std::string& text) const {
  return ::ExpandPlaceholders(PlaceholderTable, text);
}

void TInstallObject::ExpandDescriptorSection(std::vector<std::string>& lines, const std::string& descriptorFolder,
                                             bool registrySection) const {
  const DescriptorKeys keys{WithTrailingBackslash(descriptorFolder), RegUser(), RegMachine()};
  ::ExpandDescriptorSection(lines, registrySection, keys, PlaceholderTable, LocaleLessText);
}

void TInstallObject::Report(uint8_t kind, const std::string& text, uint8_t flags) const {
  if (ReportProcedure) ReportProcedure(kind, text, flags);
}

int TInstallObject::MissingSettings(WeightedStep step) const {
  StepProgress(ReportProcedure, step, 0).Finish();
  return rcMemoryError;
}

bool TInstallObject::DeleteShared() const {
  if (Settings) return Settings->DeleteShared;
  return Uninstall && Uninstall->DeleteShared;
}

bool TInstallObject::Update() const { return Settings && Settings->Update; }

bool TInstallObject::BaseMissing() const { return Settings && Settings->BaseMissing; }

std::string TInstallObject::RegMachine() const {
  if (Settings) return Settings->RegMachine;
  return Uninstall ? Uninstall->RegMachine : std::string();
}

std::string TInstallObject::RegUser() const {
  if (Settings) return Settings->RegUser;
  return Uninstall ? Uninstall->RegUser : std::string();
}
