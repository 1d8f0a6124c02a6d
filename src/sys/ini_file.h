// An INI file read and written through the platform's profile-string functions, so that
// values come back as the system returns them (surrounding quotes removed).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Key and value pairs to write into one section.
using IniEntries = std::vector<std::pair<std::string_view, std::string_view>>;

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
  // A value that is no decimal number reads as fallback.
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  // The section's lines as "key=value", in file order, each value read by its key.
  std::vector<std::string> SectionLines(const std::string& section) const;
  // The key names of the section, in file order.
  std::vector<std::string> Keys(const std::string& section) const;
  // Whether the file has the section, even an empty one.
  bool HasSection(const std::string& section) const;

  // Writing creates the file and the section when missing and replaces an
  // existing key's value; every other entry stays. False when the system refuses.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;
  bool WriteInteger(const std::string& section, const std::string& key, int value) const;
  // Writes many entries of one section with a single write of the file (the
  // system rewrites the whole file for every WriteString): an existing key
  // takes its new value in its place, new keys follow in order, every other
  // entry stays as it is.
  bool WriteEntries(const std::string& section, const IniEntries& entries) const;
  // Removes the section with all its keys.
  bool EraseSection(const std::string& section) const;
  // Lets the system drop the copy of the file it keeps in memory (whole, for
  // several files at once): once a large file is read or written for good.
  void ReleaseCache() const;

  const std::string& Path() const { return path_; }

 private:
  // The section's lines as stored ("key=value", values with their quotes).
  std::vector<std::string> StoredLines(const std::string& section) const;

  std::string path_;
};
