#include "sys/ansi_path.h"

#include <windows.h>

#include "sys/text.h"
#include "sys/wide_text.h"

namespace {

std::vector<std::wstring> Parts(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t end; (end = path.find(L'\\', start)) != std::wstring::npos; start = end + 1)
    parts.push_back(path.substr(start, end - start));
  parts.push_back(path.substr(start));
  return parts;
}

std::wstring Joined(const std::vector<std::wstring>& parts, size_t from, size_t to) {
  std::wstring path;
  for (size_t i = from; i < to; ++i) path += (i > from ? L"\\" : L"") + parts[i];
  return path;
}

bool HoldsEveryLetter(const std::wstring& text) {
  std::string ansi;
  return WideToAnsi(text, ansi);
}

// The index of the last part with a letter the code page lacks.
size_t LastLackingPart(const std::vector<std::wstring>& parts) {
  size_t last = 0;
  for (size_t i = 0; i < parts.size(); ++i)
    if (!HoldsEveryLetter(parts[i])) last = i;
  return last;
}

// The short form of head with the long name of each part the code page holds.
std::wstring MixedForm(const std::vector<std::wstring>& longParts, const std::wstring& shortHead) {
  const std::vector<std::wstring> shortParts = Parts(shortHead);
  if (shortParts.size() != longParts.size()) return shortHead;
  std::vector<std::wstring> mixed;
  for (size_t i = 0; i < longParts.size(); ++i)
    mixed.push_back(HoldsEveryLetter(longParts[i]) ? longParts[i] : shortParts[i]);
  return Joined(mixed, 0, mixed.size());
}

// The path in the other form GetShortPathNameW or GetLongPathNameW gives;
// empty when the system has none.
std::wstring OtherForm(DWORD(WINAPI* form)(LPCWSTR, LPWSTR, DWORD), const std::wstring& path) {
  const DWORD size = form(path.c_str(), nullptr, 0);
  if (!size) return std::wstring();
  std::wstring other(size, L'\0');
  const DWORD length = form(path.c_str(), &other[0], size);
  other.resize(length < size ? length : 0);
  return other;
}

}  // namespace

std::wstring SystemShortPath(const std::wstring& path) { return OtherForm(GetShortPathNameW, path); }

std::string ReachablePath(const std::wstring& path, const ShortPathLookup& shortPath) {
  std::string ansi;
  if (WideToAnsi(path, ansi)) return ansi;
  const std::vector<std::wstring> parts = Parts(path);
  const size_t last = LastLackingPart(parts);
  const std::vector<std::wstring> head(parts.begin(), parts.begin() + last + 1);
  const std::wstring shortHead = shortPath(Joined(parts, 0, last + 1));
  std::string reached;
  if (shortHead.empty() || !WideToAnsi(MixedForm(head, shortHead) + (last + 1 < parts.size() ? L"\\" : L"") +
                                           Joined(parts, last + 1, parts.size()),
                                       reached))
    return ansi;
  return reached;
}

bool IsUnreachable(const std::string& path) { return path.find('?') != std::string::npos; }

std::string LackingFullForm(const std::string& path) {
  if (path.empty() || IsUnreachable(path)) return std::string();
  const std::wstring full = OtherForm(GetLongPathNameW, AnsiToWide(path));
  std::string shown;
  return full.empty() || WideToAnsi(full, shown) ? std::string() : shown;
}

std::string LongReachableForm(const std::string& path) {
  const std::wstring full = OtherForm(GetLongPathNameW, AnsiToWide(path));
  return full.empty() ? std::string() : ReachablePath(full);
}

std::string EnvironmentPath(const char* name) {
  const std::wstring variable = AnsiToWide(name);
  const DWORD size = GetEnvironmentVariableW(variable.c_str(), nullptr, 0);
  if (!size) return std::string();
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(variable.c_str(), &value[0], size);
  value.resize(length < size ? length : 0);
  return value.empty() ? std::string() : ReachablePath(value);
}

std::string ReachFolder(const std::wstring& folder, std::vector<std::string>& created) {
  std::string reached = ReachablePath(folder);
  if (!IsUnreachable(reached)) return reached;
  const std::vector<std::wstring> parts = Parts(folder);
  const size_t last = LastLackingPart(parts);
  std::vector<std::wstring> made;
  bool madeAll = true;
  for (size_t i = 1; i <= last && madeAll; ++i) {
    const std::wstring prefix = Joined(parts, 0, i + 1);
    if (GetFileAttributesW(prefix.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    madeAll = CreateDirectoryW(prefix.c_str(), nullptr) != FALSE;
    if (madeAll) made.push_back(prefix);
  }
  reached = madeAll ? ReachablePath(folder) : std::string();
  if (reached.empty() || IsUnreachable(reached)) {
    for (auto part = made.rbegin(); part != made.rend(); ++part) RemoveDirectoryW(part->c_str());
    return reached;
  }
  for (const std::wstring& part : made) created.push_back(WithTrailingBackslash(ReachablePath(part)));
  return reached;
}

std::wstring FullWidePath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (!size) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  full.resize(length < size ? length : 0);
  return full.empty() ? path : full;
}

std::string PathShape(const std::wstring& path) {
  std::wstring shape;
  for (wchar_t letter : path) shape += HoldsEveryLetter(std::wstring(1, letter)) ? letter : L'_';
  std::string ansi;
  WideToAnsi(shape, ansi);
  return ansi;
}
