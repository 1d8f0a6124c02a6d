#include "engine/boundary/install_folder_rights.h"

#include <windows.h>

#include <vector>

#include "engine/install_object.h"
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/folder_rights.h"
#include "sys/normal_path.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

namespace {

// The folder's files and folders, all the way down.
std::vector<std::string> Contents(const std::string& folder) {
  std::vector<std::string> entries;
  FindFiles(entries, folder, "*", true, true);
  ListSubfolders(entries, folder, true, true, &entries);
  return entries;
}

// An entry without a short name cannot be looked at: it counts as open.
bool AnyOpenToOthers(const std::string& folder, const std::vector<std::string>& contents) {
  if (OthersMayChange(folder)) return true;
  for (const std::string& entry : contents)
    if (IsUnreachable(entry) || OthersMayChange(entry)) return true;
  return false;
}

// Nothing to protect without administrator rights or for an existing
// installation; nothing to set where Program Files hands its own list down.
bool Protected(const TInstallObject& object, const std::string& folder) {
  return object.IsNT && object.IsAdmin && object.BaseMissing() &&
         !LiesBelow(ResolvedPath(folder), ResolvedPath(object.ProgramsDir));
}

}  // namespace

bool CreateInstallFolder(const TInstallObject& object, const std::string& folder, std::vector<std::string>& created) {
  if (!Protected(object, folder) || FolderExists(folder)) return true;
  const std::string path = WithoutTrailingBackslash(folder);
  FolderSecurity security(FolderRights::ProgramFolder);
  if (!ForceFolders(ParentFolder(WithTrailingBackslash(path)), &created) ||
      !CreateDirectoryA(path.c_str(), security.Attributes()))
    return false;
  created.push_back(WithTrailingBackslash(path));
  return true;
}

bool SecureInstallFolder(const TInstallObject& object, const std::string& folder, bool created) {
  if (!Protected(object, folder)) return true;
  const std::vector<std::string> contents = Contents(folder);
  if (!contents.empty() && !created) {
    if (!AnyOpenToOthers(folder, contents)) return true;
    object.Log(
        FormatText("Fehler:  Das Verzeichnis %s enthält Dateien, die andere Benutzer ändern können, und wird "
                   "für eine neue Installation nicht verwendet.",
                   folder.c_str()));
    return false;
  }
  const FolderSecurity security(FolderRights::ProgramFolder);
  if (!security.Descriptor()) return true;  // the system keeps no lists of rights
  // Checked again once protected: nothing may have slipped in before.
  if (security.ApplyTo(folder) && Contents(folder).empty()) return true;
  object.Log(FormatText("Fehler:  Die Rechte des Verzeichnisses %s konnten nicht gesetzt werden.", folder.c_str()));
  return false;
}
