#include "support/registry_probe.h"

#include <windows.h>

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
