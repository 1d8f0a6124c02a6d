// An INI text read the way the system's profile functions read a file, with
// the line number of every section and entry kept for messages. Platform-free.
#pragma once

#include <string>
#include <vector>

struct ProfileEntry {
  std::string Key;    // blanks around it removed
  std::string Value;  // as written after the "=", blanks removed, quotes kept
  bool HasEquals = false;
  int Line = 0;
};

struct ProfileSection {
  std::string Name;  // between "[" and the last "]", as written
  int Line = 0;
  std::vector<ProfileEntry> Entries;  // comment and empty lines left out
};

class ProfileText {
 public:
  explicit ProfileText(const std::string& text);

  const std::vector<ProfileSection>& Sections() const { return sections_; }
  // The first section of that name (case ignored); only it is ever read.
  const ProfileSection* Find(const std::string& section) const;
  // The first entry of the key in that section, or null.
  const ProfileEntry* FindEntry(const std::string& section, const std::string& key) const;
  // The value as a read by key returns it: one pair of enclosing quotes
  // removed; fallback when the key is missing or its line has no "=".
  std::string Read(const std::string& section, const std::string& key, const std::string& fallback) const;
  // The section's lines as the installer lists them: every key in file order
  // with the value read by that key (so a repeated key repeats its first value).
  std::vector<ProfileEntry> Lines(const std::string& section) const;

 private:
  std::vector<ProfileSection> sections_;
};
