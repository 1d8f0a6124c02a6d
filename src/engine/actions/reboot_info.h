// Whether the installation waits for a restart, and the entry that completes
// it when the system starts again.
#pragma once

#include <string>

class TInstallObject;

// Records whether files wait for a restart and arms the completion at the
// next start of the system; true when a restart is needed.
bool SetRebootInfo(TInstallObject& object);
// A completion that cannot run now (another installer runs) arms its restart
// entry again with its own command: the system deleted it before starting it.
// The entry is named by the uninstaller's folder, never by a file's content.
void ArmCompletionAgain(const std::string& ownPath, const std::string& commandLine);
