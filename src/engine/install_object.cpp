#include "engine/install_object.h"


#include "engine/progress.h"
#include "sys/text.h"

bool LessText::operator()(const std::string& a, const std::string& b) const {
  return LowerAscii(a) < LowerAscii(b);
}

TInstallObject::TInstallObject() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  OwnPath.assign(path, length);
  if (GetShortPathNameA(OwnPath.c_str(), OwnShortPath, sizeof OwnShortPath) >= sizeof OwnShortPath)
    OwnShortPath[0] = '\0';
  DetermineFolders();
}

TInstallObject::~TInstallObject() = default;

void TInstallObject::DetermineFolders() {
  const size_t slash = OwnPath.find_last_of('\\');
  OwnDir = slash == std::string::npos ? std::string() : OwnPath.substr(0, slash + 1);
}

void TInstallObject::Report(uint8_t kind, const std::string& text, uint8_t flags) const {
  if (ReportProcedure) ReportProcedure(kind, text, flags);
}

double TInstallObject::AddProgress(int& reported, double share, double carry) const {
  return ::AddProgress(ReportProcedure, reported, share, carry);
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
