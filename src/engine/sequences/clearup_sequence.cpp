// The clear-up after an uninstallation: the folders its record lists and the
// product's two registry keys, asking before anything with content goes.
// A damaged or hostile record cannot make it delete beyond the installation.
#include <windows.h>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

// Whether the key lies at least two names below a root's Software key
// ("root\Software\maker\product"), where products keep theirs: the Software
// key, a maker's key and keys outside Software are never the product's.
bool IsProductKey(const std::string& key) {
  const std::string path = LowerAscii(Trim(key));
  const size_t first = path.find('\\');
  if (first == std::string::npos || path.compare(first + 1, 9, "software\\") != 0) return false;
  const std::string below = path.substr(first + 10);
  const size_t slash = below.find('\\');
  return slash != std::string::npos && slash > 0 && slash + 1 < below.size() && below[slash + 1] != '\\';
}

}  // namespace

int TInstallObject::DoClearup() {
  int mark = 0;
  const auto moveTo = [&](int to) {
    Report(rkProgress, std::to_string(to - mark), 0);
    mark = to;
  };
  if (!Uninstall) {
    moveTo(100);
    return rcMemoryError;
  }
  int result = rcNeedUninstall;
  LogBanner("Clearup ");
  // The record goes first, so that it cannot be run twice.
  DeleteFileA((UninstDir + "uninst.ini").c_str());
  moveTo(50);
  if (!ClearupFolders.empty()) {
    for (auto folder = ClearupFolders.rbegin(); folder != ClearupFolders.rend(); ++folder) ClearFolder(*folder);
    moveTo(75);
    ClearKey(Uninstall->RegUser);
    moveTo(75);
    ClearKey(Uninstall->RegMachine);
    moveTo(80);
    result = rcOk;
  }
  moveTo(100);
  return result;
}

bool TInstallObject::MayClearFolder(const std::string& folder) const {
  const std::string path = LowerAscii(WithTrailingBackslash(Trim(folder)));
  const std::string installation = LowerAscii(InstallDir);
  if (path.size() <= 3 || installation.size() <= 3 || path.compare(0, installation.size(), installation) != 0)
    return false;
  for (const std::string* system : {&WinDir, &SystemDir, &ProgramsDir, &CommonFilesDir})
    if (!system->empty() && SameText(path, WithTrailingBackslash(*system))) return false;
  return true;
}

bool TInstallObject::Confirmed(const std::string& question) const {
  if (AutoRun || Invisible) return true;
  return Asker && Asker->Confirm(question);
}

void TInstallObject::ClearFolder(const std::string& folder) {
  if (!MayClearFolder(folder)) {
    Log(FormatText("Warnung: Verzeichnis %s gehört nicht zur Installation und bleibt erhalten.", folder.c_str()));
    return;
  }
  std::vector<std::string> files;
  FindFiles(files, folder, "*.*", true, true);
  if (files.empty()) {
    if (FolderExists(folder)) KillDir(folder);
    return;
  }
  if (Confirmed(FormatText("Das Verzeichnis %s \r\nund alle (%d) enthaltenen Dateien wirklich löschen?", folder.c_str(),
                           static_cast<int>(files.size()))))
    KillFiles(files, true);
}

void TInstallObject::ClearKey(const std::string& key) {
  std::vector<std::string> names;
  bool hasEntries = false;
  if (!RegKeyHasEntries(key, names, hasEntries, false)) return;
  if (!IsProductKey(key)) {
    Log(FormatText("Warnung: Schlüssel %s gehört nicht zur Installation und bleibt erhalten.", key.c_str()));
    return;
  }
  std::string parent, name;
  if (!SplitAtLast(key, '\\', parent, name)) return;
  if (!hasEntries || Confirmed(FormatText("Den Schlüssel %s \r\nund alle Unterschlüssel wirklich löschen?", key.c_str())))
    RegDelete(parent, name, true);
}
