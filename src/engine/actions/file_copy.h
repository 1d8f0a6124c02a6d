// Putting the components' files in place under the overwrite rule, and
// deleting files and folders again.
#pragma once

#include <string>
#include <vector>

#include "engine/actions/pending.h"
#include "engine/run_state.h"

class DeletionBoundary;
class TInstallObject;
struct CopyEntry;

// Copies the entries under the overwrite rule, marking those written. A
// target in use is written as target~ and recorded in pending.
int CopyComponentFiles(TInstallObject& object, std::vector<CopyEntry>& copyList, PendingActions& pending, bool force);
// The install step: every component's copy list.
int CopyFiles(TInstallObject& object);
// Deletes the files and then (removeFolders) the folders that held them.
void KillFiles(TInstallObject& object, const std::vector<std::string>& files, bool removeFolders);
// Deletes the files a record lists that the boundary allows (with
// insideOnly only those inside the installation folder). Returns the folders
// to remove once empty: inside the installation folder those of every
// listed file and their parents there, elsewhere those a file was taken from.
FolderSet KillRecordedFiles(TInstallObject& object, const std::vector<std::string>& files,
                            const DeletionBoundary& boundary, bool insideOnly);
// Removes those of the folders that are empty and that the boundary allows, deepest first.
void RemoveRecordedFolders(TInstallObject& object, const FolderSet& folders, const DeletionBoundary& boundary);
// Deletes one file where the boundary allows it (with insideOnly only inside
// the installation folder) and where it really lies at path, never through
// a link; logs the outcome; true when it was deleted.
bool KillFile(TInstallObject& object, const std::string& path, const DeletionBoundary& boundary, bool insideOnly);
// Removes an empty folder where the boundary allows it, a link as the link;
// true when it is gone.
bool KillDir(TInstallObject& object, const std::string& folder, const DeletionBoundary& boundary);
// Undoes the copying of a failed first installation, with the folders it created.
void CleanInstallation(TInstallObject& object);
// Whether a folder can take the installation.
// Unreachable: a part with a letter the code page lacks has no short name.
enum class FolderCheck { Ready, Unusable, OpenToOthers, Unreachable };
// Creates the installation folder with its missing parents and remembers
// them, so that a failed new installation removes them again; a new elevated
// installation's folder gets rights that let ordinary users change nothing,
// and one whose files others may change is refused (OpenToOthers).
FolderCheck PrepareInstallFolder(TInstallObject& object, const std::string& folder);
// Removes the folders this installation created where they are empty,
// deepest first, withInstallFolder also the installation folder.
void RemoveCreatedFolders(TInstallObject& object, bool withInstallFolder);
// Of the folders an installation created, those above its folder, innermost first.
std::vector<std::string> CreatedParents(const TInstallObject& object, const std::vector<std::string>& created);
// Removes them, from the innermost out, as far as they are empty: they go
// with the installation's folder.
void RemoveCreatedParents(TInstallObject& object, const std::vector<std::string>& created,
                          const DeletionBoundary& boundary);
// Deletes the run's temporary and archive files, but for those in a
// private working folder, which its owner removes whole.
void KillTempFiles(TInstallObject& object);
