#include "sys/registry.h"

#include "sys/ansi_path.h"
#include "sys/text.h"
#include "sys/wide_text.h"

namespace {

constexpr REGSAM kReadAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

struct RootKey {
  const char* name;
  HKEY key;
};

const RootKey kRootKeys[] = {
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

HKEY FindRootKey(const std::string& name) {
  for (const RootKey& root : kRootKeys)
    if (name == root.name) return root.key;
  return nullptr;
}

bool DeleteKeyTree(HKEY parent, const std::string& name) {
  {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS) return false;
    OpenKey key(raw);
    char child[256];
    for (;;) {
      DWORD length = sizeof child;
      if (RegEnumKeyExA(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (!DeleteKeyTree(key.get(), child)) return false;
    }
  }
  return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

bool KeyExists(HKEY parent, const std::string& name) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  RegCloseKey(raw);
  return true;
}

// The numbers of sub keys and values of an open key.
bool CountEntries(HKEY key, DWORD& subKeys, DWORD& values) {
  subKeys = values = 0;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS;
}

bool KeyIsEmpty(HKEY key) {
  DWORD subKeys, values;
  return CountEntries(key, subKeys, values) && subKeys == 0 && values == 0;
}

std::vector<std::string> ListNames(HKEY key, bool subKeys) {
  std::vector<std::string> names;
  char name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    const LONG status = subKeys ? RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr)
                                : RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

// A string value through query (RegQueryValueExA or W); a missing value
// reads as empty, a value of another type fails.
template <typename Query, typename Char>
bool ReadStringValue(Query query, std::basic_string<Char>& text) {
  text.clear();
  DWORD type = 0;
  DWORD size = 0;
  if (query(&type, nullptr, &size) != ERROR_SUCCESS) return true;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  if (size == 0) return true;
  std::basic_string<Char> buffer((size + sizeof(Char) - 1) / sizeof(Char), Char());
  if (query(&type, reinterpret_cast<BYTE*>(&buffer[0]), &size) != ERROR_SUCCESS) return true;
  buffer.resize(size / sizeof(Char));
  text = buffer.substr(0, buffer.find(Char()));
  return true;
}

}  // namespace

HKEY OpenRegPath(const std::string& path, bool create, REGSAM access) {
  const std::string trimmed = Trim(path);
  const size_t slash = trimmed.find('\\');
  if (trimmed.empty() || slash == std::string::npos) return nullptr;
  const HKEY root = FindRootKey(trimmed.substr(0, slash));
  if (!root) return nullptr;
  std::string subKey = trimmed.substr(slash + 1);
  if (!subKey.empty() && subKey[0] == '\\') subKey.erase(0, 1);
  HKEY key = nullptr;
  LONG status;
  if (create && !subKey.empty())
    status = RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  else
    status = RegOpenKeyExA(root, subKey.empty() ? nullptr : subKey.c_str(), 0, access, &key);
  return status == ERROR_SUCCESS ? key : nullptr;
}

bool RegWriteString(const std::string& path, const std::string& valueName, const std::string& text) {
  OpenKey key(OpenRegPath(path, true, KEY_WRITE));
  if (!key) return false;
  return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool RegReadKeyString(HKEY key, const std::string& valueName, std::string& text) {
  return ReadStringValue(
      [&](DWORD* type, BYTE* data, DWORD* size) {
        return RegQueryValueExA(key, valueName.c_str(), nullptr, type, data, size);
      },
      text);
}

bool RegReadKeyPath(HKEY key, const std::string& valueName, std::string& path) {
  const std::wstring name = AnsiToWide(valueName);
  std::wstring wide;
  const bool read = ReadStringValue(
      [&](DWORD* type, BYTE* data, DWORD* size) { return RegQueryValueExW(key, name.c_str(), nullptr, type, data, size); },
      wide);
  path = read && !wide.empty() ? ReachablePath(wide) : std::string();
  return read;
}

bool RegValueExists(HKEY key, const std::string& valueName) {
  return RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegReadString(const std::string& path, const std::string& valueName, std::string& text) {
  text.clear();
  OpenKey key(OpenRegPath(path, false, kReadAccess));
  return key && RegReadKeyString(key.get(), valueName, text);
}

bool RegWriteInteger(const std::string& path, const std::string& valueName, int32_t value) {
  OpenKey key(OpenRegPath(path, true, KEY_WRITE));
  if (!key) return false;
  const DWORD data = static_cast<DWORD>(value);
  return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool RegReadInteger(const std::string& path, const std::string& valueName, int32_t& value) {
  value = 0;
  OpenKey key(OpenRegPath(path, false, kReadAccess));
  if (!key) return false;
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  value = static_cast<int32_t>(data);
  return true;
}

bool RegDeleteEntry(const std::string& path, const std::string& name, bool deleteKey) {
  std::string keyPath = Trim(path);
  const std::string entry = Trim(name);
  if (keyPath.empty()) return false;
  if (keyPath.back() == '\\') keyPath.pop_back();
  OpenKey key(OpenRegPath(keyPath, false, KEY_ALL_ACCESS));
  if (!key) return false;
  if (deleteKey && !entry.empty() && KeyExists(key.get(), entry)) return DeleteKeyTree(key.get(), entry);
  if (RegDeleteValueA(key.get(), entry.c_str()) != ERROR_SUCCESS) return false;
  if (!KeyIsEmpty(key.get())) return true;
  key.Close();
  std::string parent, keyName;
  if (!SplitAtLast(keyPath, '\\', parent, keyName)) return true;
  return RegDeleteEntry(parent, keyName, true);
}

bool RegKeyHasEntries(const std::string& path, std::vector<std::string>& names, bool& hasEntries, bool listSubKeys) {
  hasEntries = false;
  names.clear();
  std::string parentPath, keyName;
  if (!SplitAtLast(path, '\\', parentPath, keyName)) return false;
  {
    OpenKey parent(OpenRegPath(parentPath, false, KEY_READ));
    if (!parent || !KeyExists(parent.get(), keyName)) return false;
  }
  OpenKey key(OpenRegPath(path, false, KEY_READ));
  if (!key) return false;
  names = ListNames(key.get(), listSubKeys);
  DWORD subKeys, values;
  hasEntries = !names.empty() || (CountEntries(key.get(), subKeys, values) && subKeys > 0);
  return true;
}
