#include "sys/dotnet.h"

#include <vector>

#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {
const char kFrameworkKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework";
}  // namespace

bool FindDotNet(VersionRecord& wanted, bool equalOnly, std::string& folder) {
  folder.clear();
  std::string root;
  if (!RegReadString(kFrameworkKey, "InstallRoot", root) || root.empty() || !FolderExists(root)) return false;
  std::vector<std::string> subfolders;
  ListSubfolders(subfolders, root, false, true);
  for (const std::string& candidate : subfolders) {
    const std::string name = FileNamePart(candidate);
    if (LowerAscii(name).rfind('v', 0) != 0 || !FileExists(WithTrailingBackslash(candidate) + "gacutil.exe")) continue;
    const VersionRecord found = ParseVersion(name.substr(1));
    if (!CompareVersion(wanted, found, equalOnly)) continue;
    folder = WithTrailingBackslash(candidate);
    if (!equalOnly) wanted = found;
    return true;
  }
  return false;
}

bool FindDotNet(const std::string& minimumVersion, std::string& folder) {
  VersionRecord wanted = ParseVersion(minimumVersion);
  return FindDotNet(wanted, false, folder);
}
