// The completion after a restart: the error record of the installation is
// read as one component and its waiting copies, deferred registrations,
// shared-file counts and registry lines are carried out.
#include <windows.h>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "sys/text.h"

int TInstallObject::DoAutoInstall() {
  if (!Settings) return rcMemoryError;
  Settings->Components.clear();
  const std::string record = UninstDir + "error_inst.ini";
  int result = ReadComponent(record);
  if (result != rcOk) return result;
  if (Settings->Components.empty()) return rcMemoryError;
  ComponentEntry& component = Settings->Components.front();
  result = CopyComponentFiles(component.Copy, component.Pending, false);
  if (result != rcOk) return result;
  try {
    CompleteRegistrations(component);
    CountShared(component.Shared, component.Pending, false, false);
    for (const std::string& line : component.Registry) ApplyRegistryLine(line);
    // The waiting copies that are in place now, and the record, go.
    for (const std::string& target : component.Copy) TempFiles.push_back(target + "~");
    TempFiles.push_back(record);
    KillFiles(TempFiles, false);
    TempFiles.pop_back();
    // Files still in use arm the completion once more.
    SetRebootInfo();
  } catch (...) {
    result = rcException;
  }
  return result;
}

void TInstallObject::CompleteRegistrations(ComponentEntry& component) {
  WithOle([&] {
    RegisterComList(component.Register, component.Pending, false);
    InstallAssemblyList(component.DotNetInstall, component.Pending, component.DotNetDir);
    RegisterAssemblyList(component.DotNetRegister, component.Pending, component.DotNetDir, false);
  });
}
