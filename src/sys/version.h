// Version records of four unsigned numbers and the sort key for file lists. Platform-free.
#pragma once

#include <cstdint>
#include <string>

struct VersionRecord {
  uint32_t Major = 0;
  uint32_t Minor = 0;
  uint32_t Release = 0;
  uint32_t Build = 0;
};

// Splits the trimmed text at each "." into at most four numbers; a part that
// is no decimal number (also an empty one) gives 0.
VersionRecord ParseVersion(const std::string& text);

// The four numbers joined by dots.
std::string VersionText(const VersionRecord& version);

// With equalOnly, whether both are equal; otherwise whether found is at least wanted.
bool CompareVersion(const VersionRecord& wanted, const VersionRecord& found, bool equalOnly);

// The key that sorts file names (or name=file name lines) by extension, then
// by name: extension + "." + name, or the trimmed text without an extension.
std::string ExtensionSortKey(const std::string& entry);

// Orders two entries by ExtensionSortKey without regard to case: negative, 0 or positive.
int CompareByExtension(const std::string& a, const std::string& b);
