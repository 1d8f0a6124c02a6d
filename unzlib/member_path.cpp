#include "member_path.h"

#include "sys/text.h"

namespace {

bool WildcardMatch(const char* pattern, const char* text) {
  // Iterative matching with one backtrack point for the last "*".
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*text) {
    if (*pattern == '*') {
      star = pattern++;
      resume = text;
    } else if (*pattern == '?' || *pattern == *text) {
      ++pattern;
      ++text;
    } else if (star) {
      pattern = star + 1;
      text = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

}  // namespace

bool CleanMemberPath(const std::string& stored, std::string& relative) {
  relative.clear();
  std::string name = stored;
  for (char& c : name)
    if (c == '/') c = '\\';
  if (name.empty() || name[0] == '\\') return false;  // rooted or UNC
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('\\', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part == ".." || part.find(':') != std::string::npos) return false;
    if (!part.empty() && part != ".") {
      if (!relative.empty()) relative += '\\';
      relative += part;
    }
    start = end + 1;
  }
  return !relative.empty();
}

bool MatchesSpecs(const std::string& member, const std::vector<std::string>& specs) {
  if (specs.empty()) return true;
  const std::string lowerMember = LowerAscii(member);
  for (const std::string& spec : specs) {
    std::string pattern = LowerAscii(Trim(spec));
    for (char& c : pattern)
      if (c == '/') c = '\\';
    if (pattern == "*.*" || pattern == "*" || WildcardMatch(pattern.c_str(), lowerMember.c_str())) return true;
  }
  return false;
}
