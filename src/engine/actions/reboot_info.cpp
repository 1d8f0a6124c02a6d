#include "engine/actions/reboot_info.h"

#include "engine/actions/pending.h"
#include "engine/actions/registry_actions.h"
#include "engine/install_object.h"
#include "engine/records/record_format.h"
#include "engine/system_keys.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/text.h"

bool SetRebootInfo(TInstallObject& object) {
  bool needed = false;
  if (object.Settings)
    for (const ComponentEntry& component : object.Settings->Components)
      needed = needed || HasPending(component.Pending, pkCopy);
  if (!needed) {
    RegDelete(object, object.RegMachine(), "NeedReboot", false);
    return false;
  }
  object.Log("Setze Reboot Info...");
  RegWrite(object, object.RegMachine(), "NeedReboot", "1");
  const std::string exe = UninstallerShortPath(object);
  if (FileExists(exe))
    RegWriteString(kRunOnceKey, kRunOnceValue, exe + " -autoinstall:\"" + object.UninstDir + record_format::kErrorRecord + "\"");
  else
    object.Log("Fehler:  Reboot Info konnte nicht gesetzt werden");
  return true;
}
