// Whether the installation waits for a restart, and the entry that completes
// it when the system starts again.
#pragma once

class TInstallObject;

// Records whether files wait for a restart and arms the completion at the
// next start of the system; true when a restart is needed.
bool SetRebootInfo(TInstallObject& object);
