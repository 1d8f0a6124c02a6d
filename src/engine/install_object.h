// The install engine: one object per process performs one run (installation,
// completion after a restart, uninstallation or clear-up) over the run's
// state. All its output goes through one reporting procedure; every
// operation returns a result code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/actions/pending.h"
#include "engine/boundary/deletion_boundary.h"
#include "engine/report.h"
#include "engine/run_state.h"
#include "engine/sequences/sequence.h"
#include "engine/step_weights.h"

class TZipExtractor;
class IniFile;

class TInstallObject : public RunState {
 public:
  TInstallObject();
  ~TInstallObject();
  TInstallObject(const TInstallObject&) = delete;
  TInstallObject& operator=(const TInstallObject&) = delete;

  void LogSystemError(DWORD error) const;
  // The local date and time as the log writes them: "dd.mm.yyyy hh:mm:ss".
  static std::string LogTimeStamp();
  // "*********** " + title + date and time + " ***********".
  void LogBanner(const char* title) const;
  // Whether the file exists; a missing one is logged as not found.
  bool FileFoundOrLogged(const std::string& path) const;
  // "Fehler:  " or "Warnung: ", the subject, "konnte nicht <participle> werden." and detail.
  void LogError(const std::string& subject, const char* participle, const std::string& detail = "") const;
  void LogWarning(const std::string& subject, const char* participle, const std::string& detail = "") const;
  // Ends a step that has no settings to work on: -4, with its whole weight reported.
  int MissingSettings(WeightedStep step) const;
  // Reads the record through read, which receives a copy of it that is
  // checked against its seal: -27 when the record is missing, -32 (logged)
  // when it is not sealed as it is now, an exception -3.
  int ReadSealed(const std::string& path, const std::function<int(const std::string& copy)>& read);
  // The boundary of the deleting operations around the installation folder.
  DeletionBoundary Boundary() const;
  DeletionBoundary BoundaryAround(const std::string& installFolder) const;
  // Runs work inside one OLE initialisation of the thread; false, logged, when
  // OLE cannot be initialised.
  bool WithOle(const std::function<void()>& work);
  // What a registration of a file that waits for a restart becomes: its
  // error record item and its pending line.
  struct DeferredAction {
    uint8_t Kind;
    const char* Section;
    PendingKind Pending;
  };
  static constexpr DeferredAction kDeferredComRegistration{rkErrorCom, "error_com", pkCom};
  static constexpr DeferredAction kDeferredDotNetRegistration{rkErrorDotNetReg, "error_dotnet_reg", pkDotNetRegister};
  static constexpr DeferredAction kDeferredDotNetInstallation{rkErrorDotNetInst, "error_dotnet_inst", pkDotNetInstall};
  // Takes the files that wait for a restart off the list and records the
  // action for the completion.
  void DeferWaitingFiles(ComponentEntry& component, std::vector<std::string>& list, const DeferredAction& action);
  // Reports the whole weight of a step that has no items of its own.
  void ReportWeight(WeightedStep step) const;
  // Whether the folder may be an installation folder (not a root, not a
  // folder of the system or above one, not a link); logs a refusal.
  bool AllowedInstallationFolder(const std::string& folder) const;
  // Calls the reporting procedure if one is set.
  void Report(uint8_t kind, const std::string& text, uint8_t flags) const;
  // Appends a line to the run's log.
  void Log(const std::string& text) const;

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

  // Installs into folder (which must exist): the steps in their order, then
  // the outcome in the product's key; restartNeeded tells whether files wait
  // for the next start of the system.
  int DoInstall(const std::string& folder, bool& restartNeeded);
  // Completes an installation after a restart from its error record.
  int DoAutoInstall();
  // Undoes the installation of the uninstall record.
  int DoUninstall();
  // Deletes the folders an uninstallation left and the product's keys.
  int DoClearup();

  // Reads install.ini or error_inst.ini into Settings (which must exist).
  int ReadInstallSettings(const std::string& path);
  // Reads every descriptor named in TempFiles into Settings->Components.
  int ProcessInstInis();
  // Reads one descriptor; a component whose .NET runtime is missing is left out.
  int ReadComponent(const std::string& path);

  // Reads the uninstall record at path into Uninstall (which must exist) and
  // the folder fields; source, when given, is the file read in its place.
  int ReadUninstallData(const std::string& path, const std::string& source = "");
  // Reads the record's folders to clear up, its product and its registry keys.
  int ReadClearupData(const std::string& path, const std::string& source = "");
  // Reports as clear-up folders those folders of the files that lie in the installation folder.
  void WriteClearupData(const std::vector<std::string>& files);
  // Removes the clear-up folders from an existing record of the installation.
  void RemoveClearupInfo();

  // Copies the source=target lines under the overwrite rule; the list keeps
  // the lower-cased targets written. A target in use is written as target~
  // and recorded in pending.
  int CopyComponentFiles(std::vector<std::string>& copyList, PendingActions& pending, bool force);
  // The install step: every component's copy list.
  int CopyFiles();
  // Deletes the files and then (removeFolders) the folders that held them.
  void KillFiles(const std::vector<std::string>& files, bool removeFolders);
  // Deletes the files a record lists that the boundary allows (with
  // insideOnly only those inside the installation folder). Returns the folders
  // to remove once empty: inside the installation folder those of every
  // listed file and their parents there, elsewhere those a file was taken from.
  FolderSet KillRecordedFiles(const std::vector<std::string>& files, const DeletionBoundary& boundary, bool insideOnly);
  // Removes those of the folders that are empty and that the boundary allows, deepest first.
  void RemoveRecordedFolders(const FolderSet& folders, const DeletionBoundary& boundary);
  // Deletes one file, logging the outcome; true when it was deleted.
  bool KillFile(const std::string& path);
  // Removes an empty folder; true when it is gone.
  bool KillDir(const std::string& folder);
  // Undoes the copying of a failed first installation, with the folders it created.
  void CleanInstallation();
  // Creates the installation folder with its missing parents and remembers
  // them, so that a failed new installation removes them again.
  bool PrepareInstallFolder(const std::string& folder);
  // Removes the folders this installation created where they are empty,
  // deepest first, withInstallFolder also the installation folder.
  void RemoveCreatedFolders(bool withInstallFolder);
  // Deletes the run's temporary and archive files.
  void KillTempFiles();

  // Writes a registry value (a DWORD for a decimal 32-bit number unless
  // asText, else a string) and records it for the uninstallation.
  void RegWrite(const std::string& key, const std::string& name, const std::string& value, bool asText = false);
  // Deletes a value (pruning a key it leaves empty) or, with deleteKey, a sub key.
  bool RegDelete(const std::string& key, const std::string& name, bool deleteKey);
  // The install steps that write registry data: the components' registry
  // lines, the product's installation data and the system's uninstall entry.
  int SetRegUserInfo();
  int SetRegInstInfo();
  void SetRegUninstInfo(const std::string& displayName);
  // The uninstaller copy in the Windows folder, in short form where it can be had.
  std::string UninstallerShortPath() const;
  // After an update: the entry's version and size as the installation now has them.
  void RefreshUninstallEntry();
  // Deletes the recorded values, last first; the lines left are those that
  // could not be deleted. Then removes the product keys once empty.
  void KillRegistryData(std::vector<std::string>& lines, const std::string& userKey, const std::string& machineKey);

  // Counts the shared files of the list up (at most 3) or down (at least 0);
  // a counter that cannot be changed leaves the list and waits in pending.
  void CountShared(std::vector<std::string>& list, PendingActions& pending, bool deleteShared,
                   bool decrement);
  // Turns every path into path=yes (may be deleted) or path=no (keep).
  void MarkSharedDeletable(std::vector<std::string>& list, bool deleteShared) const;
  int SetSharedComps();
  // Counts the record's shared files down and keeps those still in use from
  // being unregistered and deleted.
  void ProcessUninstData(UninstallData* record);
  // Caps the counters of the maker's common files at 3.
  void CapSharedCounts();

  // Registers (or unregisters) COM servers, DLLs before executables; failed
  // ones leave the list and wait in pending. True when all succeeded.
  bool RegisterComList(std::vector<std::string>& list, PendingActions& pending, bool unregister);
  bool RegisterAssemblyList(std::vector<std::string>& list, PendingActions& pending,
                            const std::string& netFolder, bool unregister);
  // Puts assemblies into the global cache, stopping at the first failure.
  bool InstallAssemblyList(std::vector<std::string>& list, PendingActions& pending,
                           const std::string& netFolder);
  int RegisterComps();
  int InstallDotNet();
  int RegisterDotNet();

  // Creates the program groups and shortcuts of install.ini; openFolders
  // shows each new group in the shell.
  void CreateLinks(bool openFolders);
  // Removes the recorded shortcuts and then the recorded groups left empty.
  void RemoveLinks();

  // Closes the windows of the [close] lines; false when one stays open.
  bool ClosePrograms(const std::vector<std::string>& lines, bool close);
  int SetInstIniData();
  // Starts the [RunProg] program and then waits for the [RunProgWait] one.
  void RunProg();
  // Records whether files wait for a restart and arms the completion at the
  // next start of the system; true when a restart is needed.
  bool SetRebootInfo();

  bool DeleteShared() const;
  bool Update() const;
  bool BaseMissing() const;
  std::string RegMachine() const;
  std::string RegUser() const;

  ReportProc ReportProcedure;
};
