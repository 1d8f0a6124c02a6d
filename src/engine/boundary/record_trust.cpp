// The install object's side of the trust boundary: which records it acts on,
// and the boundary around the installation folder of the record.
#include <windows.h>

#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

// The profiles folder and the user's own profile.
std::vector<std::string> ProfileFolders() {
  char profile[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return {profile, ParentFolder(profile)};
}

}  // namespace

DeletionBoundary TInstallObject::Boundary() const {
  std::vector<std::string> folders{WinDir,      SystemDir, ProgramsDir, CommonFilesDir, AllUsersAppDir,
                                   AllUsersDir, TmpDir,    MenuDir,     DesktopDir};
  for (const std::string& folder : ProfileFolders()) folders.push_back(folder);
  return DeletionBoundary(InstallDir, folders);
}

bool TInstallObject::TrustedRecord(const std::string& path) const {
  if (!FileExists(path) || RecordSealed(path)) return true;
  Log(FormatText("Fehler:  Die Datei %s wurde nicht von diesem Installationsprogramm geschrieben oder danach "
                 "verändert und wird nicht verwendet.",
                 path.c_str()));
  return false;
}

bool TInstallObject::AllowedInstallationFolder(const DeletionBoundary& boundary) const {
  if (boundary.InstallationFolderAllowed()) return true;
  Log(FormatText("Fehler:  Das Installationsverzeichnis %s ist ein Laufwerk, ein Systemverzeichnis oder eine "
                 "Verknüpfung und wird nicht verwendet.",
                 InstallDir.c_str()));
  return false;
}
