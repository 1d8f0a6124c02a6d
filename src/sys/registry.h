// Registry access through full path strings: a root key name such as
// "HKEY_LOCAL_MACHINE", a backslash and the sub key path. Every operation opens
// the key itself, closes it before returning and answers with a success flag.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Opens the key named by path, or returns nullptr. With create, missing keys
// on the way are created.
HKEY OpenRegPath(const std::string& path, bool create, REGSAM access);

bool RegWriteString(const std::string& path, const std::string& valueName, const std::string& text);
// A missing or empty value reads as the empty text and still succeeds; only the key must exist.
bool RegReadString(const std::string& path, const std::string& valueName, std::string& text);
bool RegWriteInteger(const std::string& path, const std::string& valueName, int32_t value);
bool RegReadInteger(const std::string& path, const std::string& valueName, int32_t& value);

// With deleteKey and a sub key of that name, deletes it with all its sub keys.
// Otherwise deletes the value of that name and then the key that held it, if
// the key is left empty (one level only).
bool RegDeleteEntry(const std::string& path, const std::string& name, bool deleteKey);

// Whether the key exists; names receives its sub key names (listSubKeys) or its
// value names, and hasEntries whether it has any of them or any sub key.
bool RegKeyHasEntries(const std::string& path, std::vector<std::string>& names, bool& hasEntries,
                      bool listSubKeys);
