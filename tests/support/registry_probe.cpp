#include "support/registry_probe.h"

#include <windows.h>

#include <cctype>
#include <cstring>

namespace {

// Opens the key through the system's own calls, not the product's path helper.
HKEY OpenForReading(const std::string& path) {
  static const std::pair<const char*, HKEY> kRoots[] = {{"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                                                        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                                        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                                                        {"HKEY_USERS", HKEY_USERS}};
  for (const auto& [name, root] : kRoots) {
    const size_t length = std::strlen(name);
    if (_strnicmp(path.c_str(), name, length) != 0 || (path.size() > length && path[length] != '\\')) continue;
    const std::string below = path.size() > length ? path.substr(length + 1) : std::string();
    HKEY key = nullptr;
    return RegOpenKeyExA(root, below.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
  }
  return nullptr;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool RegistryKeyExists(const std::string& path) {
  HKEY key = OpenForReading(path);
  if (key) RegCloseKey(key);
  return key != nullptr;
}

std::string RegistryText(const std::string& key, const std::string& name) {
  HKEY opened = OpenForReading(key);
  if (!opened) return "<none>";
  char text[4096] = {};
  DWORD type = 0, size = sizeof text - 1;
  const LONG result = RegQueryValueExA(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return "<none>";
  return std::string(text, strnlen(text, size));
}

std::vector<std::string> PendingDeletions() {
  std::vector<std::string> paths;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return paths;
  std::vector<char> data(65536);
  DWORD size = static_cast<DWORD>(data.size());
  if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                       &size) == ERROR_SUCCESS) {
    std::vector<std::string> strings;
    for (const char* at = data.data(); at < data.data() + size; at += strings.back().size() + 1)
      strings.emplace_back(at);
    for (size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2)
      if (strings[i + 1].empty()) paths.push_back(Lower(strings[i].substr(strings[i].rfind("\\??\\", 0) == 0 ? 4 : 0)));
  }
  RegCloseKey(key);
  return paths;
}
