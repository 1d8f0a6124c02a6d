// Small text helpers shared by every part of the installer. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Removes blanks and control characters (everything up to ' ') from both ends.
std::string Trim(const std::string& text);
std::string_view TrimView(std::string_view text);

// Converts the ASCII letters A to Z to lower case and leaves every other byte as it is.
std::string LowerAscii(const std::string& text);

// Compares two texts without regard to the case of A to Z.
bool SameText(std::string_view a, std::string_view b);

// Hash and equality of keys compared as SameText does, for indexes over views
// that need no lower-case copy of every key.
struct SameTextHash {
  size_t operator()(std::string_view text) const;
};
struct SameTextEqual {
  bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};

// Trims text, drops one trailing separator and splits at the last separator:
// head is what stands before it, tail what follows. Returns false when there is
// no separator or the trimmed text is shorter than 3 characters; head then keeps
// the trimmed text and tail is empty.
bool SplitAtLast(const std::string& text, char separator, std::string& head, std::string& tail);
// The same on views into text, which must outlive them.
bool SplitAtLast(std::string_view text, char separator, std::string_view& head, std::string_view& tail);

// The value after the first "=" of the first "name=value" line whose name
// (trimmed, case ignored) is name; empty when there is none.
std::string LineValue(const std::vector<std::string>& lines, const std::string& name);

// A value of an INI file as the profile functions return it: one pair of
// enclosing quotes (both " or both ') removed.
std::string UnquotedValue(const std::string& value);
// Reads the trimmed text as a decimal integer with an optional sign; false when
// it is empty, holds anything else or does not fit 64 bits.
bool ParseDecimal(const std::string& text, long long& value);

// Appends a backslash unless the text is empty or already ends with one.
std::string WithTrailingBackslash(const std::string& folder);

// Replaces every occurrence of name (compared without regard to the case of A
// to Z) by value, left to right; inserted text is not scanned again.
std::string ReplaceAllText(const std::string& text, const std::string& name, const std::string& value);

// Replaces the first occurrence of what (exact case) by with.
std::string ReplaceFirst(const std::string& text, const std::string& what, const std::string& with);

// printf-style formatting into a string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
