// Putting the components' files in place under the overwrite rule, and
// deleting files and folders again.
#include "engine/actions/pending.h"
#include "engine/actions/component_step.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_entries.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "sys/file_system.h"
#include "sys/file_version.h"
#include "sys/path_text.h"
#include "sys/system_error.h"
#include "sys/text.h"

namespace {

// existing: the target's attributes, or INVALID_FILE_ATTRIBUTES for a new one.
bool CopyOver(const std::string& source, const std::string& target, DWORD existing) {
  DWORD attributes = 0;
  if (existing != INVALID_FILE_ATTRIBUTES) {
    attributes = existing & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(target.c_str(), 0);
  }
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
    // A copy cut short (a full disk) leaves no partial new file behind.
    if (existing == INVALID_FILE_ATTRIBUTES) DeleteFileA(target.c_str());
    return false;
  }
  SetFileAttributesA(target.c_str(), attributes);
  return true;
}

int CopyBeside(TInstallObject& object, const std::string& source, const std::string& target,
               PendingActions& pending) {
  // The target is in use: the new file waits beside it for the next start.
  pending.push_back(Pending(pkCopy, target));
  object.LogError("Datei " + target + " ", "geschrieben");
  const std::string waiting = target + "~";
  // After a restart the source is the waiting copy itself: it waits on.
  if (!SameText(source, waiting)) {
    SetFileAttributesA(waiting.c_str(), 0);
    if (!CopyFileA(source.c_str(), waiting.c_str(), FALSE)) {
      DeleteFileA(waiting.c_str());  // nothing half written waits for the restart
      object.LogError("Datei " + waiting + " ", "geschrieben");
      return rcTempFile;
    }
  }
  object.ClearupFolders.insert(LowerAscii(waiting));
  object.Report(rkErrorCopy, RecordItemText("copy", waiting, target), 0);
  return rcOk;
}

}  // namespace

int TInstallObject::CopyComponentFiles(std::vector<std::string>& copyList, PendingActions& pending,
                                       bool force) {
  int result = rcOk;
  std::string readyFolder;  // the folder of the previous target, which is there
  const std::string installFolder = LowerAscii(InstallDir);
  for (size_t i = 0; i < copyList.size() && result == rcOk;) {
    std::string source, target;
    SplitAtLast(copyList[i], '=', source, target);
    source = Trim(source);
    target = Trim(target);
    if (!FileExists(source)) {
      LogError("Quelldatei (" + source + ") ", "gefunden");
      return rcFileNotFound;
    }
    const std::string folder = FolderPart(target);
    if (folder != readyFolder && !FolderExists(folder)) {
      Log(FormatText("Erstelle Verzeichnis: %s", folder.c_str()));
      if (!ForceFolders(folder, &CreatedFolders) || !FolderExists(folder)) {
        LogError("Verzeichnis (" + folder + ") ", "erstellt");
        return rcFolderMissing;
      }
    }
    readyFolder = folder;
    // One look at the target serves the overwrite rule and the copy; a new
    // target needs no comparison. After a run cut short, the files of the
    // installation folder are all copied again; shared ones elsewhere keep
    // the overwrite rule, so no newer file of another product is replaced.
    const DWORD existing = GetFileAttributesA(target.c_str());
    const bool again = RepeatCopies && LowerAscii(target).rfind(installFolder, 0) == 0;
    if (!force && !again && existing != INVALID_FILE_ATTRIBUTES && !SourceIsNewer(source, target)) {
      // Not copied, yet part of the installation: an earlier run that was
      // cut off may have written it, and the uninstallation must find it.
      Report(rkFile, target, 0);
      copyList.erase(copyList.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    Log(FormatText("Kopiere Datei %s nach %s", source.c_str(), target.c_str()));
    if (CopyOver(source, target, existing)) {
      Report(rkFile, target, 0);
      copyList[i++] = LowerAscii(target);
    } else {
      copyList.erase(copyList.begin() + static_cast<std::ptrdiff_t>(i));
      result = CopyBeside(*this, source, target, pending);
    }
  }
  return result;
}

int TInstallObject::CopyFiles() {
  return RunComponentStep(*this, {WeightedStep::CopyFiles, "Kopiere Dateien...", true,
                                  [this](ComponentEntry& component) {
                                    return CopyComponentFiles(component.Copy, component.Pending, component.Force);
                                  },
                                  [](const ComponentEntry& component) { return component.Copy.size(); }});
}

void TInstallObject::KillFiles(const std::vector<std::string>& files, bool removeFolders) {
  StepProgress progress(ReportProcedure, WeightedStep::KillFiles, static_cast<int>(files.size()));
  std::set<std::string, LessText> folders;
  for (const std::string& path : files) {
    folders.insert(FolderPart(path));
    progress.Advance();
    KillFile(path);
  }
  if (!removeFolders) return;
  // A sub-folder sorts after its parent, so it goes first.
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) KillDir(*folder);
}

FolderSet TInstallObject::KillRecordedFiles(const std::vector<std::string>& files, const DeletionBoundary& boundary,
                                            bool insideOnly) {
  StepProgress progress(ReportProcedure, WeightedStep::KillFiles, static_cast<int>(files.size()));
  FolderSet folders;
  for (const std::string& path : files) {
    progress.Advance();
    const std::string folder = FolderPart(path);
    // Inside the installation every folder up to it goes once empty, also
    // when an earlier, interrupted run deleted the file already.
    for (std::string inside = folder; boundary.Below(inside) && folders.insert(inside).second;)
      inside = ParentFolder(inside);
    if (!boundary.MayDeleteFile(path, insideOnly)) {
      Log(FormatText("Warnung: Datei %s gehört nicht zur Installation und bleibt erhalten.", path.c_str()));
      continue;
    }
    if (!KillFile(path)) continue;
    // A record among them takes its seal along.
    if (IsRecordName(FileNamePart(path))) ForgetRecordSeal(path);
    // Elsewhere only a folder this run took a file from.
    if (!boundary.Inside(folder)) folders.insert(folder);
  }
  return folders;
}

void TInstallObject::RemoveRecordedFolders(const FolderSet& folders, const DeletionBoundary& boundary) {
  // A sub-folder sorts after its parent, so it goes first.
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
    if (boundary.MayRemoveFolder(*folder) && FolderExists(*folder)) KillDir(*folder);
}

bool TInstallObject::KillFile(const std::string& path) {
  // The deletion's own answer saves two looks at the file for each one deleted.
  if (DeleteFileA(path.c_str())) {
    Log(FormatText("Lösche Datei:       %s", path.c_str()));
    return true;
  }
  if (!FileExists(path))
    LogWarning(path + " ", "gefunden");
  else
    LogWarning(path + " ", "gelöscht");
  return false;
}

bool TInstallObject::KillDir(const std::string& folder) {
  Log(FormatText("Lösche Verzeichnis:   %s", folder.c_str()));
  if (RemoveDirectoryA(folder.c_str())) return true;
  LogWarning("Verzeichnis ", "gelöscht", " [" + SystemErrorText(GetLastError()) + "]");
  return false;
}

void TInstallObject::CleanInstallation() {
  Log("Bereinige Installation...");
  if (!Settings) return;
  const std::string installFolder = LowerAscii(InstallDir);
  // Entries still of the form source=target were never written.
  for (const ComponentEntry& component : Settings->Components)
    for (const std::string& entry : component.Copy)
      if (entry.find('=') == std::string::npos && LowerAscii(entry).find(installFolder) != std::string::npos)
        ClearupFolders.insert(LowerAscii(entry));
  KillFiles(std::vector<std::string>(ClearupFolders.begin(), ClearupFolders.end()), true);
  RemoveCreatedFolders(true);
}

bool TInstallObject::PrepareInstallFolder(const std::string& folder) {
  // Its uninstallation could not remove what it refuses; so it is no installation folder either.
  if (!AllowedInstallationFolder(WithTrailingBackslash(folder))) return false;
  bool ready = false;
  try {
    ready = ForceFolders(folder, &CreatedFolders) && FolderExists(folder);
  } catch (...) {
    ready = false;  // an empty path
  }
  if (!ready) RemoveCreatedFolders(false);
  return ready;
}

void TInstallObject::RemoveCreatedFolders(bool withInstallFolder) {
  // Sorted, a folder's sub-folders follow it: from the back, they go first.
  FolderSet folders(CreatedFolders.begin(), CreatedFolders.end());
  if (withInstallFolder && !InstallDir.empty()) folders.insert(InstallDir);
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
    if ((withInstallFolder && SameText(*folder, InstallDir)) || FolderExists(*folder)) KillDir(*folder);
  CreatedFolders.clear();
}

void TInstallObject::KillTempFiles() {
  Report(rkMessage, "Lösche temporäre Dateien...", rfLog | rfStatus);
  KillFiles(TempFiles, true);
  KillFiles(ArchiveFiles, true);
}
