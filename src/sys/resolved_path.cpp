#include "sys/resolved_path.h"

#include <windows.h>

#include <vector>

#include "sys/ansi_path.h"
#include "sys/normal_path.h"

std::string ResolvedPath(const std::string& path) {
  const std::string normal = NormalPath(path);
  // Asking the system is slow (it lists every folder on the way): only a
  // short name needs it.
  if (normal.empty() || !MayHoldShortNames(normal)) return normal;
  // The names that do not exist (yet) are kept as written.
  std::vector<std::string> missing;
  std::string head = normal;
  for (;;) {
    const std::string existing = LongReachableForm(head);
    if (!existing.empty()) {
      std::string resolved = existing;
      for (auto name = missing.rbegin(); name != missing.rend(); ++name)
        resolved += (resolved.back() == '\\' ? "" : "\\") + *name;
      const std::string result = NormalPath(resolved);
      return result.empty() ? normal : result;
    }
    if (IsRootPath(head)) return normal;
    const size_t slash = head.find_last_of('\\');
    missing.push_back(head.substr(slash + 1));
    head = NormalPath(head + "\\..");
  }
}

bool IsReparsePoint(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
