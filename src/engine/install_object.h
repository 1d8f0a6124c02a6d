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

#include "engine/config/install_settings.h"
#include "engine/report.h"
#include "engine/records/uninstall_data.h"

class TZipExtractor;
class IniFile;

// File and byte counts of the current extraction batch.
struct ExtractionCounters {
  int32_t FilesStarted = 0;
  int32_t BytesStarted = 0;
  int32_t FileTotal = 0;  // announced for the batch
  int32_t ByteTotal = 0;
};

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
  // Appends a line to the run's log.
  void Log(const std::string& text) const;
  // Adds share and carry and reports the whole part as progress; returns the new carry.
  double AddProgress(int& reported, double share, double carry) const;

  // Expands the placeholders of the table in text (trimmed, backslash pairs collapsed).
  std::string ExpandPlaceholders(const std::string& text) const;
  // Expands and sorts one list section read from the component descriptor in descriptorFolder.
  void ExpandDescriptorSection(std::vector<std::string>& lines, const std::string& descriptorFolder,
                               bool registrySection) const;

  // The working folder: the temporary folder's "~qlinst", with a trailing backslash.
  std::string WorkFolder() const;
  // Writes the uninstaller image, the unzip library and the archives out of
  // the installer file (OwnShortPath) into workFolder.
  int WriteData(const std::string& workFolder);
  // Unpacks every archive into baseFolder, stopping at the first failure.
  int ExtractArchives(const std::string& baseFolder, const std::vector<std::string>& archives);
  // The extractor's progress and message events.
  void OnExtractProgress(int type, const std::string& fileName, int32_t fileSize);
  void OnExtractMessage(const TZipExtractor& sender, int32_t errCode, const std::string& message);

  // Run initialisation for installing: writes and unpacks the payload into
  // the working folder and reads its install.ini.
  int DoInitInstall();
  // Run initialisation for the completion after a restart: reads the error record.
  int DoInitAutoInstall(const std::string& errorRecord);

  // Run initialisation for uninstalling: reads the uninstall record.
  int DoInitUninstall(const std::string& record);
  // Run initialisation for clearing up: reads the folders an uninstallation
  // left from the record (by default uninst.ini beside the program).
  int DoInitClearup(const std::string& record);
  // Stores the reporting procedure and runs the initialiser of the run mode;
  // any other mode gives -2.
  int DoInit(ReportProc report, int runMode, const std::string& argument);

  // Reads install.ini or error_inst.ini into Settings (which must exist).
  int ReadInstallSettings(const std::string& path);
  // Reads every descriptor named in TempFiles into Settings->Components.
  int ProcessInstInis();
  // Reads one descriptor; a component whose .NET runtime is missing is left out.
  int ReadComponent(const std::string& path);

  // Reads the uninstall record into Uninstall (which must exist) and the folder fields.
  int ReadUninstallData(const std::string& path);
  // Reads the record's folders to clear up, its product and its registry keys.
  int ReadClearupData(const std::string& path);
  // Reports as clear-up folders those folders of the files that lie in the installation folder.
  void WriteClearupData(const std::vector<std::string>& files);
  // Removes the clear-up folders from an existing record of the installation.
  void RemoveClearupInfo();

  // Copies the source=target lines under the overwrite rule; the list keeps
  // the lower-cased targets written. A target in use is written as target~
  // and recorded in pending.
  int CopyComponentFiles(std::vector<std::string>& copyList, std::vector<std::string>& pending, bool force);
  // The install step: every component's copy list.
  int CopyFiles();
  // Deletes the files and then (removeFolders) the folders that held them.
  void KillFiles(const std::vector<std::string>& files, bool removeFolders);
  // Removes an empty folder; true when it is gone.
  bool KillDir(const std::string& folder);
  // Undoes the copying of a failed first installation.
  void CleanInstallation();
  // Deletes the run's temporary and archive files.
  void KillTempFiles();

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
  ExtractionCounters Counters;
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
  class PieceReader;

  void DetermineFolders();
  void LogSystemError(DWORD error) const;
  void LogInitStart(const char* title, const char* function) const;
  // Whether the file exists; a missing one is logged as not found.
  bool FileFoundOrLogged(const std::string& path) const;
  void ForgetRejectedProduct() const;
  void LogError(const std::string& subject, const char* participle) const;
  void LogWarning(const std::string& subject, const char* participle) const;
  bool CopyOver(const std::string& source, const std::string& target) const;
  int CopyBeside(const std::string& source, const std::string& target, std::vector<std::string>& pending);
  // Creates (or replaces) path and writes the bytes; failures are logged.
  bool WritePiece(const std::string& path, const uint8_t* data, uint32_t length, bool logCreation) const;
  int WritePayloadPieces(HANDLE file, const std::string& source, const std::string& workFolder);
  int WriteArchivePieces(PieceReader& reader, const std::string& reading, const std::string& workFolder,
                         const std::vector<uint32_t>& sizes);
  void ProbeDotNet(const std::string& versionText);
  void SetProductKeys(const IniFile& ini, bool errorRecord);
  void ChooseInstallFolder(const IniFile& ini);
  void CheckBaseInstallation(const IniFile& ini);
  int ExtractEach(const std::string& baseFolder, const std::vector<std::string>& archives);
  int ExtractArchive(TZipExtractor& zip, const std::string& archive);
};
