// Files that several products use, counted in the system's register of
// shared files: counted up at installation, down at uninstallation, and
// released for deletion when no product uses them any more.
#pragma once

#include <string>
#include <vector>

#include "engine/actions/pending.h"

class TInstallObject;
struct UninstallData;

// Counts the shared files of the list up (at most 3) or down (at least 0);
// a counter that cannot be changed leaves the list and waits in pending.
void CountShared(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending, bool deleteShared,
                 bool decrement);
// Turns every path into path=yes (may be deleted) or path=no (keep).
void MarkSharedDeletable(std::vector<std::string>& list, bool deleteShared);
// The install step: every component's shared files counted up.
int SetSharedComps(TInstallObject& object);
// Counts the record's shared files down and keeps those still in use from
// being unregistered and deleted.
void ProcessUninstData(TInstallObject& object, UninstallData* record);
// Caps the counters of the maker's common files at 3.
void CapSharedCounts(TInstallObject& object);
