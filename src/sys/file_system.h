// Folders, file lists and drives of the local file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Folder kinds of GetSystemFolder.
enum SystemFolderKind { sfWindows = 0, sfSystem = 1, sfTemp = 2, sfOwn = 3 };

// The folder of that kind with a trailing backslash; any other kind gives the
// folder of the running executable. Asked in full and handed on as the A
// functions reach it (ReachablePath).
std::string GetSystemFolder(int kind);

// The running executable's path, as the A functions reach it.
std::string OwnFilePath();

bool FolderExists(const std::string& path);

// Whether the path exists and is not a folder.
bool FileExists(const std::string& path);

// The file's length in bytes; -1 when it cannot be had.
int64_t FileSize(const std::string& path);

// Creates the folder and any missing parents; true when it exists afterwards
// (drive roots and paths shorter than 3 characters count as existing). A
// folder longer than the system can create is refused before anything is
// made. created, when given, receives the folders made, outermost first.
// Throws std::runtime_error for an empty path.
bool ForceFolders(const std::string& path, std::vector<std::string>* created = nullptr);

// Appends the lower-case paths of the files in folder that match mask (and, with
// recurse, in all its subfolders); short names unless longNames. Returns the
// number of files found. Folders that are junctions or symbolic links are not
// searched: what they lead to lies elsewhere.
int FindFiles(std::vector<std::string>& files, const std::string& folder, const std::string& mask, bool longNames,
              bool recurse);

// Appends the subfolders of folder (but "." and ".."), each
// followed by its own subfolders with recurse. Junctions and symbolic links to
// folders are never entered: they go to links when it is given, else nowhere.
// Returns the list's count afterwards.
int ListSubfolders(std::vector<std::string>& folders, const std::string& folder, bool recurse, bool longNames,
                   std::vector<std::string>* links = nullptr);

// Whether path names a folder on a fixed disk with valid names: "C:\..." without
// empty names or any of * / : < > ? |.
bool IsValidLocalPath(const std::string& path);

// Free bytes on drive number drive (1 = A, 3 = C, 0 = the current drive); -1 when unknown.
int64_t DriveFreeSpace(int drive);

// The drive number of a path's drive letter, as DriveFreeSpace takes it.
int DriveNumber(const std::string& path);
