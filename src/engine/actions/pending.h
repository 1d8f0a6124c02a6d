// A component's pending actions: what waits for the completion after a
// restart, by kind and file. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "sys/text.h"

enum PendingKind {
  pkCopy = 1,    // the file waits as target~
  pkCom = 2,     // COM registration
  pkShared = 3,  // shared-file count
  pkDotNetRegister = 4,
  pkDotNetInstall = 5,
};

struct PendingAction {
  PendingKind Kind;
  std::string Path;  // lower case
  bool operator==(const PendingAction& other) const { return Kind == other.Kind && Path == other.Path; }
};

using PendingActions = std::vector<PendingAction>;

inline PendingAction Pending(PendingKind kind, const std::string& path) { return {kind, LowerAscii(path)}; }

// Whether an action of that kind waits.
inline bool HasPending(const PendingActions& pending, PendingKind kind) {
  for (const PendingAction& action : pending)
    if (action.Kind == kind && !action.Path.empty()) return true;
  return false;
}

// Whether the file waits for that kind of action (case ignored).
inline bool IsPending(const PendingActions& pending, PendingKind kind, const std::string& path) {
  for (const PendingAction& action : pending)
    if (action.Kind == kind && SameText(action.Path, path)) return true;
  return false;
}
