// A component's pending lines "N=path": actions that wait for the completion
// after a restart, numbered by what waits. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "sys/text.h"

enum PendingKind {
  pkCopy = 1,          // the file waits as target~
  pkCom = 2,           // COM registration
  pkShared = 3,        // shared-file count
  pkDotNetRegister = 4,
  pkDotNetInstall = 5,
};

inline std::string PendingLine(PendingKind kind, const std::string& path) {
  return std::to_string(kind) + "=" + LowerAscii(path);
}

// Whether a line of that kind names a file.
inline bool HasPending(const std::vector<std::string>& pending, PendingKind kind) {
  const std::string name = std::to_string(kind) + "=";
  for (const std::string& line : pending)
    if (line.size() > name.size() && line.compare(0, name.size(), name) == 0) return true;
  return false;
}

// Whether the file waits for that kind of action (case ignored).
inline bool IsPending(const std::vector<std::string>& pending, PendingKind kind, const std::string& path) {
  const std::string wanted = std::to_string(kind) + "=" + path;
  for (const std::string& line : pending)
    if (SameText(line, wanted)) return true;
  return false;
}
