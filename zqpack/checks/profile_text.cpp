#include "checks/profile_text.h"

#include "sys/text.h"

namespace {

bool IsProfileSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

std::string TrimProfile(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool IsComment(const ProfileEntry& entry) { return !entry.Key.empty() && entry.Key[0] == ';'; }

}  // namespace

ProfileText::ProfileText(const std::string& text) {
  // Lines before the first section header belong to a section without a name.
  sections_.push_back(ProfileSection{});
  int number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = TrimProfile(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (line.empty()) continue;
    const size_t close = line.rfind(']');
    if (line[0] == '[' && close != std::string::npos) {
      sections_.push_back(ProfileSection{line.substr(1, close - 1), number, {}});
      continue;
    }
    ProfileEntry entry;
    entry.Line = number;
    const size_t equals = line.find('=');
    entry.HasEquals = equals != std::string::npos;
    entry.Key = TrimProfile(line.substr(0, equals));
    if (entry.HasEquals) entry.Value = TrimProfile(line.substr(equals + 1));
    if (!IsComment(entry)) sections_.back().Entries.push_back(entry);
  }
}

const ProfileSection* ProfileText::Find(const std::string& section) const {
  for (const ProfileSection& candidate : sections_)
    if (SameText(candidate.Name, section) && (candidate.Line > 0 || section.empty())) return &candidate;
  return nullptr;
}

const ProfileEntry* ProfileText::FindEntry(const std::string& section, const std::string& key) const {
  const ProfileSection* found = Find(section);
  if (!found) return nullptr;
  for (const ProfileEntry& entry : found->Entries)
    if (SameText(entry.Key, TrimProfile(key))) return &entry;
  return nullptr;
}

std::string ProfileText::Read(const std::string& section, const std::string& key, const std::string& fallback) const {
  const ProfileEntry* entry = FindEntry(section, key);
  return entry && entry->HasEquals ? UnquotedValue(entry->Value) : fallback;
}

std::vector<ProfileEntry> ProfileText::Lines(const std::string& section) const {
  std::vector<ProfileEntry> lines;
  const ProfileSection* found = Find(section);
  if (!found) return lines;
  for (const ProfileEntry& entry : found->Entries) {
    ProfileEntry line = entry;
    line.Value = Read(section, entry.Key, "");
    lines.push_back(line);
  }
  return lines;
}
