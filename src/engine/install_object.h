// The install engine: one object per process performs one run (installation,
// completion after a restart, uninstallation or clear-up). All its output goes
// through one reporting procedure; every operation returns a result code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/install_settings.h"
#include "engine/report.h"
#include "engine/uninstall_data.h"

// Orders texts without regard to the case of A to Z.
struct LessText {
  bool operator()(const std::string& a, const std::string& b) const;
};

class TInstallObject {
 public:
  TInstallObject();
  ~TInstallObject();
  TInstallObject(const TInstallObject&) = delete;
  TInstallObject& operator=(const TInstallObject&) = delete;

  // Calls the reporting procedure if one is set.
  void Report(uint8_t kind, const std::string& text, uint8_t flags) const;
  // Adds share and carry and reports the whole part as progress; returns the new carry.
  double AddProgress(int& reported, double share, double carry) const;

  // Expands the placeholders of the table in text (trimmed, backslash pairs collapsed).
  std::string ExpandPlaceholders(const std::string& text) const;
  // Expands and sorts one list section read from the component descriptor in descriptorFolder.
  void ExpandDescriptorSection(std::vector<std::string>& lines, const std::string& descriptorFolder,
                               bool registrySection) const;

  bool DeleteShared() const;
  bool Update() const;
  bool BaseMissing() const;
  std::string RegMachine() const;
  std::string RegUser() const;

  HWND OwnerWindow = nullptr;
  ReportProc ReportProcedure;
  char OwnShortPath[512] = {};
  std::string OwnPath;
  std::unique_ptr<UninstallData> Uninstall;
  std::unique_ptr<InstallSettings> Settings;
  int32_t ArchiveCounters[7] = {};
  std::string InstallerVersion;
  std::string InstallDir;
  std::string UninstDir;
  std::string ProductName;
  std::string OwnDir;
  std::string TmpDir;
  std::string WinDir;
  std::string SystemDir;
  std::string MenuDir;
  std::string DesktopDir;
  std::string ProgramsDir;
  std::string CommonFilesDir;
  std::string AllUsersDir;
  std::string AllUsersAppDir;
  uint8_t Forced = 0;
  uint8_t OfferReboot = 1;
  uint8_t AutoRun = 0;
  uint8_t Invisible = 0;
  uint8_t IsNT = 0;
  uint8_t IsAdmin = 0;
  std::vector<std::string> PlaceholderTable;  // "%name%=folder" lines
  std::vector<std::string> ArchiveFiles;
  std::vector<std::string> TempFiles;
  std::set<std::string, LessText> ClearupFolders;  // sorted, duplicates ignored
  std::vector<std::string> CloseList;              // "class=caption" lines

 private:
  void DetermineFolders();
};
