#include "sys/ini_file.h"

#include <windows.h>

#include <climits>
#include <map>

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

bool IniFile::WriteEntries(const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& entries) const {
  std::vector<std::string> lines = StoredLines(section);
  std::map<std::string, size_t> places;  // lower-case key -> line
  for (size_t i = 0; i < lines.size(); ++i) places.emplace(LowerAscii(Trim(lines[i].substr(0, lines[i].find('=')))), i);
  for (const auto& [key, value] : entries) {
    const auto [place, added] = places.emplace(LowerAscii(Trim(key)), lines.size());
    if (added) {
      lines.push_back(key + "=" + value);
    } else {
      std::string& line = lines[place->second];  // the key keeps the spelling it has
      line = line.substr(0, line.find('=')) + "=" + value;
    }
  }
  size_t length = 1;
  for (const std::string& line : lines) length += line.size() + 1;
  std::string block;
  block.reserve(length);  // a large record's block is allocated once
  for (const std::string& line : lines) block += line + '\0';
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
  std::map<std::string, std::string> values;  // lower-case key -> its first value
  for (const std::string& line : StoredLines(section)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos)
      values.emplace(LowerAscii(Trim(line.substr(0, equals))), UnquotedValue(Trim(line.substr(equals + 1))));
  }
  std::vector<std::string> lines;
  for (const std::string& key : Keys(section)) {
    const auto value = values.find(LowerAscii(key));
    lines.push_back(key + "=" + (value == values.end() ? std::string() : value->second));
  }
  return lines;
}
