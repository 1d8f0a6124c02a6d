// Whether the installation waits for a restart, and the entry that completes
// it when the system starts again.
#include "engine/actions/pending.h"
#include "engine/install_object.h"
#include "engine/system_keys.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/text.h"

bool TInstallObject::SetRebootInfo() {
  bool needed = false;
  if (Settings)
    for (const ComponentEntry& component : Settings->Components) needed = needed || HasPending(component.Pending, pkCopy);
  if (!needed) {
    RegDelete(RegMachine(), "NeedReboot", false);
    return false;
  }
  Log("Setze Reboot Info...");
  RegWrite(RegMachine(), "NeedReboot", "1");
  const std::string exe = UninstallerShortPath();
  if (FileExists(exe))
    RegWriteString(kRunOnceKey, kRunOnceValue, exe + " -autoinstall:\"" + UninstDir + "error_inst.ini\"");
  else
    Log("Fehler:  Reboot Info konnte nicht gesetzt werden");
  return true;
}
