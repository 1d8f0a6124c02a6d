#include "engine/actions/reboot_info.h"

#include "engine/actions/pending.h"
#include "engine/actions/registry_actions.h"
#include "engine/actions/uninstaller_copy.h"
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
  RegWriteNumberOrText(object, object.RegMachine(), "NeedReboot", "1");
  if (FileExists(UninstallerPath(object)))
    RegWriteString(
        kRunOnceKey, RestartValueName(object.ProductName),
        UninstallerCommand(object) + " -autoinstall:\"" + object.UninstDir + record_format::kErrorRecord + "\"");
  else
    object.Log("Fehler:  Reboot Info konnte nicht gesetzt werden");
  return true;
}

void ArmCompletionAgain(const std::string& ownPath, const std::string& commandLine) {
  RegWriteString(kRunOnceKey, RestartValueOf(ownPath), commandLine);
}
