#include "support/registry_probe.h"

#include "sys/registry.h"

bool RegistryKeyExists(const std::string& path) {
  OpenKey key(OpenRegPath(path, false, KEY_READ));
  return static_cast<bool>(key);
}

std::string RegistryText(const std::string& key, const std::string& name) {
  std::string text;
  return RegReadString(key, name, text) ? text : "<none>";
}
