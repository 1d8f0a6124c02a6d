// The clear-up after an uninstallation: the folders its record lists and the
// product's two registry keys, asking before anything with content goes.
// A damaged or hostile record cannot make it delete beyond the installation:
// the boundary decides on every folder and file, and only the product's own
// keys go.
#include <windows.h>

#include <algorithm>

#include "engine/actions/file_copy.h"
#include "engine/actions/registry_actions.h"
#include "engine/boundary/record_trust.h"
#include "engine/install_object.h"
#include "engine/records/record_format.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "engine/sequences/sequence.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

using namespace record_format;

namespace {

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
    if (start == 0 && IsSharedSoftwareKey(name)) return false;
    start = end + 1;
  }
  return name == LowerAscii(product);
}

// Whether the user confirms, or nobody is to be asked (-autorun, -hide).
bool Confirmed(const TInstallObject& object, const std::string& question) {
  if (object.AutoRun || object.Invisible) return true;
  return object.Asker && object.Asker->Confirm(question);
}

// Removes the empty folders of the tree, deepest first, and the links in it
// as links.
void RemoveEmptyTree(TInstallObject& object, const std::string& folder, const DeletionBoundary& boundary) {
  // A link goes as a link; what it leads to stays untouched.
  if (IsReparsePoint(folder)) {
    KillDir(object, folder, boundary);
    return;
  }
  std::vector<std::string> subfolders, links;
  ListSubfolders(subfolders, folder, true, true, &links);
  for (const std::string& link : links)
    if (boundary.MayRemoveFolder(link)) KillDir(object, link, boundary);
  FolderSet folders(subfolders.begin(), subfolders.end());
  folders.insert(WithTrailingBackslash(folder));
  RemoveRecordedFolders(object, folders, boundary);
}

void ClearFolder(TInstallObject& object, const std::string& folder, const DeletionBoundary& boundary) {
  if (!boundary.Inside(folder) || !boundary.MayRemoveFolder(folder)) {
    object.Log(
        FormatText("Warnung: Verzeichnis %s gehört nicht zur Installation und bleibt erhalten.", folder.c_str()));
    return;
  }
  std::vector<std::string> files;
  FindFiles(files, folder, "*.*", true, true);
  if (files.empty()) {
    if (FolderExists(folder)) RemoveEmptyTree(object, folder, boundary);
    return;
  }
  if (Confirmed(object, FormatText("Das Verzeichnis %s \r\nund alle (%d) enthaltenen Dateien wirklich löschen?",
                                   folder.c_str(), static_cast<int>(files.size())))) {
    KillRecordedFiles(object, files, boundary, true);
    RemoveEmptyTree(object, folder, boundary);
  }
}

// Deletes the product's key below root's Software key, asking first when it has content.
void ClearKey(TInstallObject& object, const std::string& key, const char* root) {
  std::vector<std::string> names;
  bool hasEntries = false;
  if (!RegKeyHasEntries(key, names, hasEntries, false)) return;
  if (!IsProductKey(key, root, object.ProductName)) {
    object.Log(FormatText("Warnung: Schlüssel %s gehört nicht zur Installation und bleibt erhalten.", key.c_str()));
    return;
  }
  std::string parent, name;
  if (!SplitAtLast(key, '\\', parent, name)) return;
  if (!hasEntries ||
      Confirmed(object, FormatText("Den Schlüssel %s \r\nund alle Unterschlüssel wirklich löschen?", key.c_str())))
    RegDelete(object, parent, name, true);
}

// Reports the clear-up's progress as it goes; reached says how far.
std::vector<SequenceStep> ClearupSteps(TInstallObject& object, int& reached) {
  const auto moveTo = [&object, &reached](int to) {
    object.Report(rkProgress, std::to_string(to - reached), 0);
    reached = to;
  };
  return {
      // The record goes first, so that it cannot be run twice.
      {kUninstallRecord, Always([&object, moveTo] {
         if (KillFile(object, object.RecordPath, Boundary(object), false)) ForgetRecordSeal(object.RecordPath);
         moveTo(50);
       }),
       false},
      {"ClearupFolders",
       [&object, moveTo] {
         if (object.ClearupFolders.empty() && object.Uninstall->CreatedKeys.empty()) return rcNeedUninstall;
         const DeletionBoundary boundary = Boundary(object);
         for (auto folder = object.ClearupFolders.rbegin(); folder != object.ClearupFolders.rend(); ++folder)
           ClearFolder(object, *folder, boundary);
         if (!FolderExists(object.InstallDir)) RemoveCreatedParents(object, object.Uninstall->CreatedFolders, boundary);
         moveTo(75);
         return rcOk;
       },
       true},
      {"RegUser", Always([&object] { ClearKey(object, object.Uninstall->RegUser, "HKEY_CURRENT_USER"); }), false},
      {"RegMachine", Always([&object, moveTo] {
         ClearKey(object, object.Uninstall->RegMachine, "HKEY_LOCAL_MACHINE");
         RemoveCreatedKeys(object, object.Uninstall->CreatedKeys, object.Uninstall->RegUser,
                           object.Uninstall->RegMachine);
         moveTo(80);
       }),
       false},
  };
}

}  // namespace

int TInstallObject::DoClearup() {
  int reached = 0;  // percent of the progress bar
  int result = rcMemoryError;
  if (NothingToClearUp) {
    result = rcOk;
  } else if (Uninstall) {
    LogBanner(*this, "Clearup ");
    size_t ended = 0;
    result = RunSequence(ClearupSteps(*this, reached), ended);
  }
  Report(rkProgress, std::to_string(100 - reached), 0);
  return result;
}
