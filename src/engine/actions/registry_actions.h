// Registry values written for the installation and removed again: the
// recording writer and deleter, the components' registry lines, the product's
// installation data, the system's uninstall entry and the removal of it all.
#pragma once

#include <string>
#include <vector>

class TInstallObject;

// Writes a registry value and records it for the uninstallation: a decimal
// 32-bit number as a DWORD, any other text as a string (as the components'
// registry lines and the product's own values are written).
void RegWriteNumberOrText(TInstallObject& object, const std::string& key, const std::string& name,
                          const std::string& value);
// The same, always as a string, also for a text that looks like a number.
void RegWriteText(TInstallObject& object, const std::string& key, const std::string& name, const std::string& value);
// Deletes a value (pruning a key it leaves empty) or, with deleteKey, a sub key.
bool RegDelete(TInstallObject& object, const std::string& key, const std::string& name, bool deleteKey);
// The install steps that write registry data: the components' registry
// lines, the product's installation data and the system's uninstall entry.
int SetRegUserInfo(TInstallObject& object);
int SetRegInstInfo(TInstallObject& object);
void SetRegUninstInfo(TInstallObject& object, const std::string& displayName);
// After an update: the entry's version and size as the installation now has them.
void RefreshUninstallEntry(TInstallObject& object);
// Set under the product's machine key while an installation runs: a run that
// finds it completes one that was cut short.
constexpr char kInProgressValue[] = "InstallInProgress";
// Takes the lines of the system's uninstall entry out of the recorded values:
// the entry goes only once the record is gone, so that an uninstallation
// that ends before can always be started again from it.
std::vector<std::string> TakeUninstallEntry(std::vector<std::string>& lines);
// Deletes the recorded values, last first; the lines left are those that
// could not be deleted. Then removes the product keys once empty, with the
// mark of a running installation that a failed run left in the machine's.
void KillRegistryData(TInstallObject& object, std::vector<std::string>& lines, const std::string& userKey,
                      const std::string& machineKey);
// Whether a key directly below Software is one that many products share
// (Microsoft, Classes, Policies, Wow6432Node).
bool IsSharedSoftwareKey(const std::string& name);
// Reports the product's keys and the keys above them below Software (its
// maker's) that do not exist yet: the installation creates them, and they
// go again once empty.
void RecordCreatedKeys(TInstallObject& object);
// Deletes, deepest first, those of the recorded keys that are empty now; only
// the product's keys and the keys above them qualify. Returns the ones that
// still hold something.
std::vector<std::string> RemoveCreatedKeys(TInstallObject& object, const std::vector<std::string>& keys,
                                           const std::string& userKey, const std::string& machineKey);
// Deletes the uninstall entry's values that TakeUninstallEntry took.
void KillUninstallEntry(TInstallObject& object, std::vector<std::string>& lines);
