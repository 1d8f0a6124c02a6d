#include "engine/actions/file_copy.h"

#include <algorithm>

#include "engine/actions/component_step.h"
#include "engine/actions/pending.h"
#include "engine/boundary/install_folder_rights.h"
#include "engine/boundary/record_trust.h"
#include "engine/boundary/write_target.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_entries.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/file_system.h"
#include "sys/file_version.h"
#include "sys/normal_path.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/system_error.h"
#include "sys/unfollowed_file.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// existing: the target's attributes, or INVALID_FILE_ATTRIBUTES for a new one.
bool CopyOver(const TInstallObject& object, const DeletionBoundary& boundary, const std::string& source,
              const std::string& target, DWORD existing) {
  if (!WritableTarget(object, boundary, target, WriteKind::New)) return false;
  DWORD attributes = 0;
  if (existing != INVALID_FILE_ATTRIBUTES) {
    attributes = existing & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(target.c_str(), 0);
  }
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
    // A copy cut short (a full disk) leaves no partial new file behind.
    if (existing == INVALID_FILE_ATTRIBUTES) DeleteOwnUnfollowed(target, false);
    return false;
  }
  SetFileAttributesA(target.c_str(), attributes);
  return true;
}

int CopyBeside(TInstallObject& object, const DeletionBoundary& boundary, const std::string& source,
               const std::string& target, PendingActions& pending) {
  // The target is in use: the new file waits beside it for the next start.
  pending.push_back(Pending(pkCopy, target));
  LogError(object, "Datei " + target + " ", "geschrieben");
  const std::string waiting = target + "~";
  // After a restart the source is the waiting copy itself: it waits on.
  if (!SameText(source, waiting)) {
    const bool writable = WritableTarget(object, boundary, waiting, WriteKind::New);
    if (writable) SetFileAttributesA(waiting.c_str(), 0);
    if (!writable || !CopyFileA(source.c_str(), waiting.c_str(), FALSE)) {
      if (writable) DeleteOwnUnfollowed(waiting, false);  // nothing half written waits for the restart
      LogError(object, "Datei " + waiting + " ", "geschrieben");
      return rcTempFile;
    }
  }
  object.ClearupFolders.insert(LowerAscii(waiting));
  object.Report(rkErrorCopy, RecordItemText(kCopy, waiting, target), 0);
  return rcOk;
}

// Whether the target is one of the installation's own record and logs,
// which no payload copy ever replaces: the payload's empty ones only start
// an installation.
bool InstallationsOwn(const TInstallObject& object, const std::string& target) {
  if (object.UninstDir.empty() || NormalPath(FolderPart(target)) != NormalPath(object.UninstDir)) return false;
  const std::string name = FileNamePart(target);
  for (const char* own : {kUninstallRecord, kErrorRecord, kInstallLog, kUninstallLog})
    if (SameText(name, own)) return true;
  return false;
}

// Whether the earlier sealed record lists the file as installed.
bool WrittenBefore(const TInstallObject& object, const std::string& target) {
  return object.Settings && object.Settings->InstalledBefore.count(LowerAscii(target)) > 0;
}

// Creates the folder with its parents unless it is the ready one, the
// previous target's; false, logged, when it cannot be made.
bool TargetFolderReady(TInstallObject& object, const std::string& folder, std::string& readyFolder) {
  if (folder != readyFolder && !FolderExists(folder)) {
    object.Log(FormatText("Erstelle Verzeichnis: %s", folder.c_str()));
    if (!ForceFolders(folder, &object.CreatedFolders) || !FolderExists(folder)) {
      LogError(object, "Verzeichnis (" + folder + ") ", "erstellt");
      return false;
    }
  }
  readyFolder = folder;
  return true;
}

}  // namespace

int CopyComponentFiles(TInstallObject& object, std::vector<CopyEntry>& copyList, PendingActions& pending, bool force) {
  int result = rcOk;
  std::string readyFolder;  // the folder of the previous target, which is there
  const std::string installFolder = LowerAscii(object.InstallDir);
  const DeletionBoundary boundary = Boundary(object);
  for (auto entry = copyList.begin(); entry != copyList.end() && result == rcOk; ++entry) {
    const std::string& source = entry->Source;
    const std::string& target = entry->Target;
    if (!FileExists(source)) {
      LogError(object, "Quelldatei (" + source + ") ", "gefunden");
      return rcFileNotFound;
    }
    if (!TargetFolderReady(object, FolderPart(target), readyFolder)) return rcFolderMissing;
    // One look at the target serves the overwrite rule and the copy; a new
    // target needs no comparison. After a run cut short, the files of the
    // installation folder are all copied again; shared ones elsewhere keep
    // the overwrite rule, so no newer file of another product is replaced.
    const DWORD existing = GetFileAttributesA(target.c_str());
    const bool inside = LowerAscii(target).rfind(installFolder, 0) == 0;
    if (existing != INVALID_FILE_ATTRIBUTES && InstallationsOwn(object, target)) {
      object.Log(FormatText("Datei %s gehört der Installation und bleibt, wie sie ist.", target.c_str()));
      object.Report(rkFile, target, 0);
      entry->Kept = true;
      continue;
    }
    if (!force && !(object.RepeatCopies && inside) && existing != INVALID_FILE_ATTRIBUTES &&
        !SourceIsNewer(source, target)) {
      // Not copied; part of the installation only where the product wrote
      // it before. A newer file elsewhere (another product's) is not ours.
      if (inside && WrittenBefore(object, target)) object.Report(rkFile, target, 0);
      entry->Kept = true;
      continue;
    }
    object.Log(FormatText("Kopiere Datei %s nach %s", source.c_str(), target.c_str()));
    entry->Written = CopyOver(object, boundary, source, target, existing);
    if (entry->Written)
      object.Report(rkFile, target, 0);
    else
      result = CopyBeside(object, boundary, source, target, pending);
  }
  return result;
}

int CopyFiles(TInstallObject& object) {
  return RunComponentStep(object, {WeightedStep::CopyFiles, "Kopiere Dateien...", true,
                                   [&object](ComponentEntry& component) {
                                     return CopyComponentFiles(object, component.Copy, component.Pending,
                                                               component.Force);
                                   },
                                   [](const ComponentEntry& component) { return component.Copy.size(); }});
}

void KillFiles(TInstallObject& object, const std::vector<std::string>& files, bool removeFolders) {
  StepProgress progress(object.ReportProcedure, WeightedStep::KillFiles, static_cast<int>(files.size()));
  const DeletionBoundary boundary = Boundary(object);
  std::set<std::string, LessText> folders;
  for (const std::string& path : files) {
    folders.insert(FolderPart(path));
    progress.Advance();
    KillFile(object, path, boundary, false);
  }
  if (!removeFolders) return;
  // A sub-folder sorts after its parent, so it goes first.
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) KillDir(object, *folder, boundary);
}

FolderSet KillRecordedFiles(TInstallObject& object, const std::vector<std::string>& files,
                            const DeletionBoundary& boundary, bool insideOnly) {
  StepProgress progress(object.ReportProcedure, WeightedStep::KillFiles, static_cast<int>(files.size()));
  FolderSet folders;
  for (const std::string& path : files) {
    progress.Advance();
    const std::string folder = FolderPart(path);
    // Inside the installation every folder up to it goes once empty, also
    // when an earlier, interrupted run deleted the file already.
    for (std::string inside = folder; boundary.Below(inside) && folders.insert(inside).second;)
      inside = ParentFolder(inside);
    if (!KillFile(object, path, boundary, insideOnly)) continue;
    // A record among them takes its seal along.
    if (IsRecordName(FileNamePart(path))) ForgetRecordSeal(path);
    // Elsewhere only a folder this run took a file from.
    if (!boundary.Inside(folder)) folders.insert(folder);
  }
  return folders;
}

void RemoveRecordedFolders(TInstallObject& object, const FolderSet& folders, const DeletionBoundary& boundary) {
  // A sub-folder sorts after its parent, so it goes first.
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
    if (boundary.MayRemoveFolder(*folder) && FolderExists(*folder)) KillDir(object, *folder, boundary);
}

bool KillFile(TInstallObject& object, const std::string& path, const DeletionBoundary& boundary, bool insideOnly) {
  // The deletion's own answer saves looks at the file for each one deleted.
  switch (DeleteUnfollowed(path, false, [&] { return boundary.MayDeleteFile(path, insideOnly); })) {
    case Unfollowed::Done:
      object.Log(FormatText("Lösche Datei:       %s", path.c_str()));
      return true;
    case Unfollowed::Missing:
      LogWarning(object, path + " ", "gefunden");
      return false;
    case Unfollowed::Refused:
      object.Log(FormatText("Warnung: Datei %s gehört nicht zur Installation und bleibt erhalten.", path.c_str()));
      return false;
    default:
      LogWarning(object, path + " ", "gelöscht");
      return false;
  }
}

bool KillDir(TInstallObject& object, const std::string& folder, const DeletionBoundary& boundary) {
  object.Log(FormatText("Lösche Verzeichnis:   %s", folder.c_str()));
  const std::string path = WithoutTrailingBackslash(folder);
  const Unfollowed outcome = DeleteUnfollowed(path, true, [&] { return boundary.MayRemoveFolder(folder); });
  if (outcome == Unfollowed::Done) return true;
  const DWORD error = outcome == Unfollowed::Refused ? ERROR_ACCESS_DENIED : GetLastError();
  LogWarning(object, "Verzeichnis ", "gelöscht", " [" + SystemErrorText(error) + "]");
  return false;
}

void CleanInstallation(TInstallObject& object) {
  object.Log("Bereinige Installation...");
  if (!object.Settings) return;
  const std::string installFolder = LowerAscii(object.InstallDir);
  for (const ComponentEntry& component : object.Settings->Components)
    for (const CopyEntry& entry : component.Copy)
      if (entry.Written && LowerAscii(entry.Target).find(installFolder) != std::string::npos)
        object.ClearupFolders.insert(LowerAscii(entry.Target));
  KillFiles(object, std::vector<std::string>(object.ClearupFolders.begin(), object.ClearupFolders.end()), true);
  RemoveCreatedFolders(object, true);
}

namespace {

bool MadeByThisRun(const TInstallObject& object, const std::string& folder) {
  const std::string wanted = WithTrailingBackslash(folder);
  return std::any_of(object.CreatedFolders.begin(), object.CreatedFolders.end(),
                     [&wanted](const std::string& made) { return SameText(made, wanted); });
}

}  // namespace

FolderCheck PrepareInstallFolder(TInstallObject& object, const std::string& folder) {
  // A folder made just now so that it has a short name is new all the same.
  const bool existed = FolderExists(folder) && !MadeByThisRun(object, folder);
  FolderCheck check = FolderCheck::Unusable;
  try {
    // Its uninstallation could not remove what it refuses; so it is no installation folder either.
    if (AllowedInstallationFolder(object, WithTrailingBackslash(folder)) &&
        CreateInstallFolder(object, folder, object.CreatedFolders) && ForceFolders(folder, &object.CreatedFolders) &&
        FolderExists(folder))
      check = SecureInstallFolder(object, folder, !existed) ? FolderCheck::Ready : FolderCheck::OpenToOthers;
  } catch (...) {
    check = FolderCheck::Unusable;  // an empty path
  }
  if (check != FolderCheck::Ready) RemoveCreatedFolders(object, false);
  return check;
}

void RemoveCreatedFolders(TInstallObject& object, bool withInstallFolder) {
  // Sorted, a folder's sub-folders follow it: from the back, they go first.
  FolderSet folders(object.CreatedFolders.begin(), object.CreatedFolders.end());
  if (withInstallFolder && !object.InstallDir.empty()) folders.insert(object.InstallDir);
  const DeletionBoundary boundary = Boundary(object);
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
    if ((withInstallFolder && SameText(*folder, object.InstallDir)) || FolderExists(*folder))
      KillDir(object, *folder, boundary);
  object.CreatedFolders.clear();
}

std::vector<std::string> CreatedParents(const TInstallObject& object, const std::vector<std::string>& created) {
  const std::string installation = ResolvedPath(object.InstallDir);
  std::vector<std::string> parents;
  for (const std::string& folder : created)
    if (LiesBelow(installation, ResolvedPath(folder))) parents.push_back(folder);
  std::sort(parents.begin(), parents.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  return parents;
}

void RemoveCreatedParents(TInstallObject& object, const std::vector<std::string>& created,
                          const DeletionBoundary& boundary) {
  for (const std::string& parent : CreatedParents(object, created)) {
    std::vector<std::string> inside;
    const bool empty = FolderExists(parent) && FindFiles(inside, parent, "*.*", true, true) == 0 &&
                       ListSubfolders(inside, parent, true, false) == 0;
    if (!empty || !KillDir(object, parent, boundary)) break;
  }
}

void KillTempFiles(TInstallObject& object) {
  object.Report(rkMessage, "Lösche temporäre Dateien...", rfLog | rfStatus);
  // Nobody else can reach into a private folder: what lies there goes with
  // it, at once; the rest (an old clear-up record) one by one.
  const std::string work = LowerAscii(object.WorkDir);
  const auto elsewhere = [&object, &work](const std::vector<std::string>& files) {
    if (!object.PrivateWork) return files;
    std::vector<std::string> left;
    for (const std::string& file : files)
      if (LowerAscii(file).rfind(work, 0) != 0) left.push_back(file);
    return left;
  };
  KillFiles(object, elsewhere(object.TempFiles), true);
  KillFiles(object, elsewhere(object.ArchiveFiles), true);
}
