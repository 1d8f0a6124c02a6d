#include "engine/boundary/record_trust.h"

#include <windows.h>

#include "engine/guarded.h"
#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

// The profiles folder and the user's own profile.
std::vector<std::string> ProfileFolders() {
  const std::string profile = EnvironmentPath("USERPROFILE");
  if (profile.empty()) return {};
  return {profile, ParentFolder(profile)};
}

DeletionBoundary BoundaryAround(const TInstallObject& object, const std::string& installFolder) {
  std::vector<std::string> folders{object.WinDir,         object.SystemDir,      object.ProgramsDir,
                                   object.CommonFilesDir, object.AllUsersAppDir, object.AllUsersDir,
                                   object.TmpDir,         object.MenuDir,        object.DesktopDir};
  for (const std::string& folder : ProfileFolders()) folders.push_back(folder);
  const char* const wide[] = {"ProgramW6432", "CommonProgramW6432"};  // the 64-bit system's own folders
  for (const char* name : wide) {
    const std::string folder = EnvironmentPath(name);
    if (!folder.empty()) folders.push_back(folder);
  }
  folders.push_back(object.WinDir + "SysWOW64");
  return DeletionBoundary(installFolder, folders);
}

}  // namespace

DeletionBoundary Boundary(const TInstallObject& object) { return BoundaryAround(object, object.InstallDir); }

int ReadSealed(TInstallObject& object, const std::string& path, const std::function<int(const std::string&)>& read) {
  if (!FileFoundOrLogged(object, path)) return rcNoSettings;
  const std::string copy = SealedCopy(path, object.WorkDir);
  if (!copy.empty()) {
    const int result = Guarded([&] { return read(copy); });
    DropCopy(copy);
    return result;
  }
  object.Log(
      FormatText("Fehler:  Die Datei %s wurde nicht von diesem Installationsprogramm geschrieben oder danach "
                 "verändert und wird nicht verwendet.",
                 path.c_str()));
  return rcUntrustedRecord;
}

bool AllowedInstallationFolder(const TInstallObject& object, const std::string& folder) {
  if (BoundaryAround(object, folder).InstallationFolderAllowed()) return true;
  object.Log(
      FormatText("Fehler:  Das Installationsverzeichnis %s ist ein Laufwerk, ein Systemverzeichnis oder eine "
                 "Verknüpfung und wird nicht verwendet.",
                 folder.c_str()));
  return false;
}
