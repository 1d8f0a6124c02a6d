// The data one run of the engine carries, grouped by who sets it: the
// folders of the system and of the installation, the start flags, what the
// initialisation read about the product, and the run's working files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/config/install_settings.h"
#include "engine/records/uninstall_data.h"
#include "engine/sequences/questions.h"

// Orders texts without regard to the case of A to Z.
struct LessText {
  bool operator()(const std::string& a, const std::string& b) const;
};
// Folders in that order: a sub-folder follows its parent.
using FolderSet = std::set<std::string, LessText>;

// File and byte counts of the current extraction batch.
struct ExtractionCounters {
  int32_t FilesStarted = 0;
  int32_t BytesStarted = 0;
  int32_t FileTotal = 0;  // announced for the batch
  int32_t ByteTotal = 0;
};

// Found when the engine is made; the installation folder once it is known.
// A folder the A functions cannot reach holds its "?" form (IsUnreachable),
// and the runs that work with it refuse to start.
struct RunFolders {
  char OwnShortPath[512] = {};
  std::string OwnPath;
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
  std::string InstallDir;
  std::string UninstDir;
  // The run's working folder: the payload, the unzip library, the extracted
  // members, the uninstaller image and the record copies. The user's
  // temporary folder's "~qlinst" unless the run session gives an elevated
  // run a private folder.
  std::string WorkDir;
  bool PrivateWork = false;                   // WorkDir is the run's private folder, removed whole by its owner
  std::vector<std::string> PlaceholderTable;  // "%name%=folder" lines
};

// Set by whoever starts the run: the command line's flags, the system's
// answers and the window that owns the run.
struct StartFlags {
  uint8_t Forced = 0;
  uint8_t AutoRun = 0;
  uint8_t Invisible = 0;
  uint8_t IsNT = 0;
  uint8_t IsAdmin = 0;
  std::string InstallerVersion;
  HWND OwnerWindow = nullptr;
  // Answers the clear-up's questions; without one nothing is deleted that needs a yes.
  Questions* Asker = nullptr;
};

// Read by the initialisation: install.ini and the components, or a record.
struct ProductState {
  std::string ProductName;
  uint8_t OfferReboot = 1;
  std::unique_ptr<InstallSettings> Settings;
  std::unique_ptr<UninstallData> Uninstall;
  std::vector<std::string> CloseList;  // "class=caption" lines
  std::string RecordPath;              // the record an uninstallation, clear-up or completion acts on
};

// Made and used up by the run: the payload's files, the folders it created
// or leaves for a clear-up, and how far its copying got.
struct WorkingFiles {
  std::vector<std::string> ArchiveFiles;
  std::vector<std::string> TempFiles;
  std::set<std::string, LessText> ClearupFolders;  // sorted, duplicates ignored
  std::vector<std::string> CreatedFolders;         // by this installation, outermost first
  ExtractionCounters Counters;
  bool RepeatCopies = false;      // every file of the installation folder is copied, as with force
  bool CopiesComplete = false;    // this run's copy step wrote every file
  bool NothingToClearUp = false;  // a clear-up found no record beside the uninstaller
};

struct RunState : RunFolders, StartFlags, ProductState, WorkingFiles {};
