// The clear-up after an uninstallation: the folders its record lists and the
// product's two registry keys, asking before anything with content goes.
// A damaged or hostile record cannot make it delete beyond the installation:
// the boundary decides on every folder and file, and only the product's own
// keys go.
#include <windows.h>

#include <algorithm>

#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/sequences/sequence.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

namespace {

// Keys below Software that many products share.
const char* const kSharedKeys[] = {"microsoft", "classes", "policies", "wow6432node"};

// Whether the key is the product's own: below root's Software key, not below
// a shared key, and named after the product (its maker's key, which holds
// other products, is not).
bool IsProductKey(const std::string& key, const char* root, const std::string& product) {
  const std::string path = LowerAscii(Trim(key));
  const std::string software = LowerAscii(root) + "\\software\\";
  if (product.empty() || path.compare(0, software.size(), software) != 0) return false;
  const std::string below = path.substr(software.size());
  std::string name;
  for (size_t start = 0; start <= below.size();) {
    const size_t end = std::min(below.find('\\', start), below.size());
    name = below.substr(start, end - start);
    if (name.empty()) return false;
    if (start == 0)
      for (const char* shared : kSharedKeys)
        if (name == shared) return false;
    start = end + 1;
  }
  return name == LowerAscii(product);
}

}  // namespace

int TInstallObject::DoClearup() {
  int reached = 0;  // percent of the progress bar
  int result = rcMemoryError;
  if (Uninstall) {
    LogBanner("Clearup ");
    size_t ended = 0;
    result = RunSequence(ClearupSteps(reached), ended);
  }
  Report(rkProgress, std::to_string(100 - reached), 0);
  return result;
}

std::vector<SequenceStep> TInstallObject::ClearupSteps(int& reached) {
  const auto moveTo = [this, &reached](int to) {
    Report(rkProgress, std::to_string(to - reached), 0);
    reached = to;
  };
  return {
      // The record goes first, so that it cannot be run twice.
      {"uninst.ini", Always([this, moveTo] {
         DeleteRecord(RecordPath);
         moveTo(50);
       }),
       false},
      {"ClearupFolders",
       [this, moveTo] {
         if (ClearupFolders.empty()) return rcNeedUninstall;
         const DeletionBoundary boundary = Boundary();
         for (auto folder = ClearupFolders.rbegin(); folder != ClearupFolders.rend(); ++folder)
           ClearFolder(*folder, boundary);
         moveTo(75);
         return rcOk;
       },
       true},
      {"RegUser", Always([this] { ClearKey(Uninstall->RegUser, "HKEY_CURRENT_USER"); }), false},
      {"RegMachine", Always([this, moveTo] {
         ClearKey(Uninstall->RegMachine, "HKEY_LOCAL_MACHINE");
         moveTo(80);
       }),
       false},
  };
}

bool TInstallObject::Confirmed(const std::string& question) const {
  if (AutoRun || Invisible) return true;
  return Asker && Asker->Confirm(question);
}

void TInstallObject::ClearFolder(const std::string& folder, const DeletionBoundary& boundary) {
  if (!boundary.Inside(folder) || !boundary.MayRemoveFolder(folder)) {
    Log(FormatText("Warnung: Verzeichnis %s gehört nicht zur Installation und bleibt erhalten.", folder.c_str()));
    return;
  }
  std::vector<std::string> files;
  FindFiles(files, folder, "*.*", true, true);
  if (files.empty()) {
    if (FolderExists(folder)) RemoveEmptyTree(folder, boundary);
    return;
  }
  if (Confirmed(FormatText("Das Verzeichnis %s \r\nund alle (%d) enthaltenen Dateien wirklich löschen?", folder.c_str(),
                           static_cast<int>(files.size())))) {
    KillRecordedFiles(files, boundary, true);
    RemoveEmptyTree(folder, boundary);
  }
}

void TInstallObject::RemoveEmptyTree(const std::string& folder, const DeletionBoundary& boundary) {
  // A link goes as a link; what it leads to stays untouched.
  if (IsReparsePoint(folder)) {
    KillDir(folder);
    return;
  }
  std::vector<std::string> subfolders, links;
  ListSubfolders(subfolders, folder, true, true, &links);
  for (const std::string& link : links)
    if (boundary.MayRemoveFolder(link)) KillDir(link);
  FolderSet folders(subfolders.begin(), subfolders.end());
  folders.insert(WithTrailingBackslash(folder));
  RemoveRecordedFolders(folders, boundary);
}

void TInstallObject::ClearKey(const std::string& key, const char* root) {
  std::vector<std::string> names;
  bool hasEntries = false;
  if (!RegKeyHasEntries(key, names, hasEntries, false)) return;
  if (!IsProductKey(key, root, ProductName)) {
    Log(FormatText("Warnung: Schlüssel %s gehört nicht zur Installation und bleibt erhalten.", key.c_str()));
    return;
  }
  std::string parent, name;
  if (!SplitAtLast(key, '\\', parent, name)) return;
  if (!hasEntries || Confirmed(FormatText("Den Schlüssel %s \r\nund alle Unterschlüssel wirklich löschen?", key.c_str())))
    RegDelete(parent, name, true);
}
