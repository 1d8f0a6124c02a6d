#include "sys/text.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string Trim(const std::string& text) { return std::string(TrimView(text)); }

std::string_view TrimView(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string LowerAscii(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = LowerChar(c);
  return lower;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  return true;
}

size_t SameTextHash::operator()(std::string_view text) const {
  size_t hash = 2166136261u;  // FNV-1a over the lower-cased bytes
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(LowerChar(c))) * 16777619u;
  return hash;
}

bool SplitAtLast(std::string_view text, char separator, std::string_view& head, std::string_view& tail) {
  head = TrimView(text);
  tail = std::string_view();
  if (head.empty()) return false;
  if (head.back() == separator) head.remove_suffix(1);
  if (head.size() < 3) return false;
  const size_t at = head.rfind(separator);
  if (at == std::string_view::npos) return false;
  tail = head.substr(at + 1);
  head = head.substr(0, at);
  return true;
}

bool SplitAtLast(const std::string& text, char separator, std::string& head, std::string& tail) {
  std::string_view headView, tailView;
  const bool split = SplitAtLast(std::string_view(text), separator, headView, tailView);
  std::string newHead(headView), newTail(tailView);  // text may be head or tail itself
  head = std::move(newHead);
  tail = std::move(newTail);
  return split;
}

std::string WithTrailingBackslash(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\') return folder;
  return folder + '\\';
}

std::string LineValue(const std::vector<std::string>& lines, const std::string& name) {
  for (const std::string& line : lines) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos && SameText(Trim(line.substr(0, equals)), name)) return line.substr(equals + 1);
  }
  return std::string();
}

std::string UnquotedValue(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

bool ParseDecimal(const std::string& text, long long& value) {
  const std::string number = Trim(text);
  value = 0;
  if (number.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(number.c_str(), &end, 10);
  return *end == '\0' && errno != ERANGE;
}

std::string ReplaceAllText(const std::string& text, const std::string& name, const std::string& value) {
  if (name.empty()) return text;
  const std::string lowerText = LowerAscii(text);
  const std::string lowerName = LowerAscii(name);
  std::string result;
  size_t from = 0;
  for (size_t at; (at = lowerText.find(lowerName, from)) != std::string::npos; from = at + name.size())
    result.append(text, from, at - from).append(value);
  return result.append(text, from, std::string::npos);
}

std::string ReplaceFirst(const std::string& text, const std::string& what, const std::string& with) {
  const size_t at = what.empty() ? std::string::npos : text.find(what);
  if (at == std::string::npos) return text;
  return std::string(text).replace(at, what.size(), with);
}

std::string FormatText(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list counting;
  va_copy(counting, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, counting);
  va_end(counting);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, arguments);
  va_end(arguments);
  return text;
}
