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

// A text the system writes into a buffer, asked first for its size (ask
// answers the size it needs, or the length written); empty when it has none.
template <typename Ask>
std::wstring SystemText(Ask ask) {
  const DWORD size = ask(nullptr, 0);
  if (!size) return std::wstring();
  std::wstring text(size, L'\0');
  const DWORD length = ask(&text[0], size);
  text.resize(length < size ? length : 0);
  return text;
}

// The path in the other form GetShortPathNameW or GetLongPathNameW gives.
std::wstring OtherForm(DWORD(WINAPI* form)(LPCWSTR, LPWSTR, DWORD), const std::wstring& path) {
  return SystemText([&](LPWSTR buffer, DWORD size) { return form(path.c_str(), buffer, size); });
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
  const std::wstring value =
      SystemText([&](LPWSTR buffer, DWORD size) { return GetEnvironmentVariableW(variable.c_str(), buffer, size); });
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
  const std::wstring full =
      SystemText([&](LPWSTR buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
  return full.empty() ? path : full;
}

std::string PathShape(const std::wstring& path) {
  std::wstring shape;
  for (wchar_t letter : path) shape += HoldsEveryLetter(std::wstring(1, letter)) ? letter : L'_';
  std::string ansi;
  WideToAnsi(shape, ansi);
  return ansi;
}
