// Registry access through full path strings: a root key name such as
// "HKEY_LOCAL_MACHINE", a backslash and the sub key path. Every operation opens
// the key itself, closes it before returning and answers with a success flag.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Closes the key when it goes out of scope.
class OpenKey {
 public:
  explicit OpenKey(HKEY key) : key_(key) {}
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_;
};

// Opens the key named by path, or returns nullptr. With create, missing keys
// on the way are created.
HKEY OpenRegPath(const std::string& path, bool create, REGSAM access);

bool RegWriteString(const std::string& path, const std::string& valueName, const std::string& text);
// A missing or empty value reads as the empty text and still succeeds; only the key must exist.
bool RegReadString(const std::string& path, const std::string& valueName, std::string& text);
// Reads a string value of an open key; a missing value reads as empty (still true).
bool RegReadKeyString(HKEY key, const std::string& valueName, std::string& text);
// The same for a value that names a folder or file: read in full, handed on
// as the A functions reach it (ReachablePath).
bool RegReadKeyPath(HKEY key, const std::string& valueName, std::string& path);
// Whether the open key holds a value of that name.
bool RegValueExists(HKEY key, const std::string& valueName);
bool RegWriteInteger(const std::string& path, const std::string& valueName, int32_t value);
bool RegReadInteger(const std::string& path, const std::string& valueName, int32_t& value);

// With deleteKey and a sub key of that name, deletes it with all its sub keys.
// Otherwise deletes the value of that name and then the key that held it, if
// the key is left empty (one level only).
bool RegDeleteEntry(const std::string& path, const std::string& name, bool deleteKey);

// Whether the key exists; names receives its sub key names (listSubKeys) or its
// value names, and hasEntries whether it has any of them or any sub key.
bool RegKeyHasEntries(const std::string& path, std::vector<std::string>& names, bool& hasEntries, bool listSubKeys);
