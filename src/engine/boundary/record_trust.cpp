// The install object's side of the trust boundary: which records it acts on,
// and the boundary around the installation folder of the record.
#include <windows.h>

#include "engine/guarded.h"
#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
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

DeletionBoundary TInstallObject::Boundary() const { return BoundaryAround(InstallDir); }

DeletionBoundary TInstallObject::BoundaryAround(const std::string& installFolder) const {
  std::vector<std::string> folders{WinDir,      SystemDir, ProgramsDir, CommonFilesDir, AllUsersAppDir,
                                   AllUsersDir, TmpDir,    MenuDir,     DesktopDir};
  for (const std::string& folder : ProfileFolders()) folders.push_back(folder);
  const char* const wide[] = {"ProgramW6432", "CommonProgramW6432"};  // the 64-bit system's own folders
  for (const char* name : wide) {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.push_back(folder);
  }
  folders.push_back(WinDir + "SysWOW64");
  return DeletionBoundary(installFolder, folders);
}

int TInstallObject::ReadSealed(const std::string& path, const std::function<int(const std::string&)>& read) {
  if (!FileFoundOrLogged(path)) return rcNoSettings;
  const std::string copy = SealedCopy(path);
  if (!copy.empty()) {
    const int result = Guarded([&] { return read(copy); });
    DropCopy(copy);
    return result;
  }
  Log(FormatText("Fehler:  Die Datei %s wurde nicht von diesem Installationsprogramm geschrieben oder danach "
                 "verändert und wird nicht verwendet.",
                 path.c_str()));
  return rcUntrustedRecord;
}

bool TInstallObject::AllowedInstallationFolder(const std::string& folder) const {
  if (BoundaryAround(folder).InstallationFolderAllowed()) return true;
  Log(FormatText("Fehler:  Das Installationsverzeichnis %s ist ein Laufwerk, ein Systemverzeichnis oder eine "
                 "Verknüpfung und wird nicht verwendet.",
                 folder.c_str()));
  return false;
}
