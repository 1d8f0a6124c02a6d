#include "engine/install_object.h"

#include "engine/actions/file_copy.h"
#include "engine/config/folder_variables.h"
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/unfollowed_file.h"
#include "sys/text.h"

namespace {

void DetermineFolders(TInstallObject& object) {
  object.OwnDir = FolderPart(object.OwnPath);
  const FolderVariables folders = DetermineFolderVariables();
  object.TmpDir = folders.TmpDir;
  if (!folders.TmpDir.empty() && !IsUnreachable(folders.TmpDir)) object.WorkDir = folders.TmpDir + "~qlinst\\";
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

bool LessText::operator()(const std::string& a, const std::string& b) const { return LowerAscii(a) < LowerAscii(b); }

TInstallObject::TInstallObject() {
  OwnPath = OwnFilePath();
  if (GetShortPathNameA(OwnPath.c_str(), OwnShortPath, sizeof OwnShortPath) >= sizeof OwnShortPath)
    OwnShortPath[0] = '\0';
  DetermineFolders(*this);
}

TInstallObject::~TInstallObject() {
  try {
    KillTempFiles(*this);
    // A run that unpacked nothing may still have made it for its record copies.
    if (!WorkDir.empty()) DeleteOwnUnfollowed(WithoutTrailingBackslash(WorkDir), true);
  } catch (...) {
    // Nothing may leave a destructor; what is left stays in the temporary folder.
  }
}

std::string TInstallObject::ExpandPlaceholders(const std::string& text) const {
  return ::ExpandPlaceholders(PlaceholderTable, text);
}

void TInstallObject::Log(const std::string& text) const { Report(rkMessage, text, rfLog); }

void TInstallObject::Report(uint8_t kind, const std::string& text, uint8_t flags) const {
  if (ReportProcedure) ReportProcedure(kind, text, flags);
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
