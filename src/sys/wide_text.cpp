#include "sys/wide_text.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int length = size ? MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0) : 0;
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], length);
  return wide;
}

}  // namespace

std::wstring AnsiToWide(const std::string& ansi) { return ToWide(CP_ACP, ansi); }

std::wstring Utf8ToWide(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }

std::string WideToUtf8(const std::wstring& wide) {
  const int size = static_cast<int>(wide.size());
  const int length = size ? WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr) : 0;
  std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &utf8[0], length, nullptr, nullptr);
  return utf8;
}

bool WideToAnsi(const std::wstring& wide, std::string& ansi) {
  ansi.clear();
  const int size = static_cast<int>(wide.size());
  if (!size) return true;
  // A system whose ANSI code page is UTF-8 holds every letter, and takes
  // neither the flag nor a default character.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = utf8 ? nullptr : "?";
  BOOL defaulted = FALSE;
  BOOL* usedDefault = utf8 ? nullptr : &defaulted;
  const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, fallback, usedDefault);
  if (length <= 0) {
    ansi.assign(wide.size(), '?');
    return false;
  }
  ansi.resize(static_cast<size_t>(length));
  WideCharToMultiByte(CP_ACP, flags, wide.data(), size, &ansi[0], length, fallback, usedDefault);
  return !defaulted;
}

std::wstring TrimWide(const std::wstring& text) {
  size_t start = 0, end = text.size();
  while (start < end && text[start] <= L' ') ++start;
  while (end > start && text[end - 1] <= L' ') --end;
  return text.substr(start, end - start);
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}
