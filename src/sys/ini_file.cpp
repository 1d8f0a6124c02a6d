#include "sys/ini_file.h"

#include <windows.h>

#include <climits>

#include "sys/text.h"

namespace {

// Calls read with growing buffers until the answer fits; returns what it wrote.
template <typename Read>
std::string ReadGrowing(Read read, DWORD reserve) {
  for (DWORD size = 1024;; size *= 2) {
    std::string buffer(size, '\0');
    const DWORD length = read(&buffer[0], size);
    if (length + reserve < size || size >= (1u << 24)) {
      buffer.resize(length);
      return buffer;
    }
  }
}

}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  return ReadGrowing(
      [&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, size, path_.c_str());
      },
      1);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  long long value = 0;
  if (!ParseDecimal(ReadString(section, key, ""), value) || value < INT_MIN || value > INT_MAX) return fallback;
  return static_cast<int>(value);
}

std::vector<std::string> IniFile::Keys(const std::string& section) const {
  // With no key name the answer is every key name, each ended by a NUL.
  const std::string list = ReadGrowing(
      [&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, path_.c_str());
      },
      2);
  std::vector<std::string> keys;
  for (size_t start = 0; start < list.size();) {
    const size_t end = list.find('\0', start);
    keys.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return keys;
}

std::vector<std::string> IniFile::SectionLines(const std::string& section) const {
  std::vector<std::string> lines;
  for (const std::string& key : Keys(section)) lines.push_back(key + "=" + ReadString(section, key, ""));
  return lines;
}
