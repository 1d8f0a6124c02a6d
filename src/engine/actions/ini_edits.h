// The components' INI entries, written into their INI files.
#pragma once

class TInstallObject;

// The install step: every component's INI entries.
int SetInstIniData(TInstallObject& object);
