#include "sys/ini_file.h"

#include <windows.h>

#include <climits>
#include <string_view>
#include <unordered_map>

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

// The names of a list in which each is ended by a NUL.
std::vector<std::string> SplitAtNuls(const std::string& list) {
  std::vector<std::string> names;
  for (size_t start = 0; start < list.size();) {
    const size_t end = list.find('\0', start);
    names.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return names;
}

// A stored line's key: its trimmed text before the first "=", the whole line without one.
std::string_view StoredKey(std::string_view line) { return TrimView(line.substr(0, line.find('='))); }

}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const {
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
  return SplitAtNuls(ReadGrowing(
      [&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, path_.c_str());
      },
      2));
}

std::vector<std::string> IniFile::StoredLines(const std::string& section) const {
  std::vector<std::string> lines = SplitAtNuls(ReadGrowing(
      [&](char* buffer, DWORD size) { return GetPrivateProfileSectionA(section.c_str(), buffer, size, path_.c_str()); },
      2));
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

bool IniFile::HasSection(const std::string& section) const {
  const std::vector<std::string> names = SplitAtNuls(ReadGrowing(
      [&](char* buffer, DWORD size) { return GetPrivateProfileSectionNamesA(buffer, size, path_.c_str()); }, 2));
  for (const std::string& name : names)
    if (SameText(name, section)) return true;
  return false;
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) != 0;
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) const {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteEntries(const std::string& section, const IniEntries& entries) const {
  const std::vector<std::string> stored = StoredLines(section);
  // The section's lines as views: a key as spelt and its new value, or a
  // stored line kept whole (no value). A large record is not copied again.
  struct Line {
    std::string_view head;
    const std::string_view* value;
  };
  std::vector<Line> lines;
  lines.reserve(stored.size() + entries.size());
  std::unordered_map<std::string_view, size_t, SameTextHash, SameTextEqual> places;  // key -> line
  places.reserve(stored.size() + entries.size());
  for (const std::string& line : stored) {
    places.emplace(StoredKey(line), lines.size());
    lines.push_back({line, nullptr});
  }
  for (const auto& [key, value] : entries) {
    const auto [place, added] = places.emplace(TrimView(key), lines.size());
    if (added) {
      lines.push_back({key, &value});
    } else {
      Line& line = lines[place->second];  // the key keeps the spelling it has
      line.head = line.head.substr(0, line.head.find('='));
      line.value = &value;
    }
  }
  size_t length = 1;
  for (const Line& line : lines) length += line.head.size() + (line.value ? 1 + line.value->size() : 0) + 1;
  std::string block;
  block.reserve(length);  // a large record's block is allocated once
  for (const Line& line : lines) {
    block += line.head;
    if (line.value) (block += '=') += *line.value;
    block += '\0';
  }
  block += '\0';
  return WritePrivateProfileSectionA(section.c_str(), block.c_str(), path_.c_str()) != 0;
}

bool IniFile::EraseSection(const std::string& section) const {
  return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path_.c_str()) != 0;
}

void IniFile::ReleaseCache() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()); }

std::vector<std::string> IniFile::SectionLines(const std::string& section) const {
  // Reading each value by its key opens the file each time (a second for
  // the 1,000 lines of a large record under Wine); the section's stored lines
  // hold the same values, with the quotes the key read removes.
  const std::vector<std::string> stored = StoredLines(section);
  std::unordered_map<std::string_view, std::string_view, SameTextHash, SameTextEqual> values;  // key -> first value
  values.reserve(stored.size());
  for (const std::string& line : stored) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos)
      values.emplace(StoredKey(line), TrimView(std::string_view(line).substr(equals + 1)));
  }
  std::vector<std::string> lines = Keys(section);
  for (std::string& line : lines) {  // each key becomes its line
    const auto value = values.find(line);
    line += '=';
    if (value != values.end()) line += UnquotedValue(std::string(value->second));
  }
  return lines;
}
