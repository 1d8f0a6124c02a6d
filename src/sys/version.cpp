#include "sys/version.h"

#include <climits>

#include "sys/text.h"

namespace {

// A signed 32-bit decimal number standing alone, taken as its unsigned bits; anything else is 0.
uint32_t VersionPart(const std::string& text) {
  long long value = 0;
  if (!ParseDecimal(text, value) || value < INT32_MIN || value > INT32_MAX) return 0;
  return static_cast<uint32_t>(static_cast<int32_t>(value));
}

}  // namespace

VersionRecord ParseVersion(const std::string& text) {
  uint32_t parts[4] = {};
  const std::string trimmed = Trim(text);
  size_t begin = 0;
  for (int index = 0; index < 4 && begin <= trimmed.size(); ++index) {
    size_t dot = trimmed.find('.', begin);
    if (dot == std::string::npos) dot = trimmed.size();
    parts[index] = VersionPart(trimmed.substr(begin, dot - begin));
    begin = dot + 1;
  }
  return VersionRecord{parts[0], parts[1], parts[2], parts[3]};
}

std::string VersionText(const VersionRecord& v) {
  return std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." + std::to_string(v.Release) + "." +
         std::to_string(v.Build);
}

bool CompareVersion(const VersionRecord& wanted, const VersionRecord& found, bool equalOnly) {
  const uint32_t w[4] = {wanted.Major, wanted.Minor, wanted.Release, wanted.Build};
  const uint32_t f[4] = {found.Major, found.Minor, found.Release, found.Build};
  for (int i = 0; i < 4; ++i) {
    if (f[i] == w[i]) continue;
    return !equalOnly && f[i] > w[i];
  }
  return true;
}

std::string ExtensionSortKey(const std::string& entry) {
  const size_t equals = entry.find('=');
  const std::string file = equals == std::string::npos ? entry : entry.substr(equals + 1);
  std::string name, extension;
  if (SplitAtLast(file, '.', name, extension)) return extension + "." + name;
  return Trim(file);
}

int CompareByExtension(const std::string& a, const std::string& b) {
  return LowerAscii(ExtensionSortKey(a)).compare(LowerAscii(ExtensionSortKey(b)));
}
