#include "sys/normal_path.h"

#include <algorithm>

namespace {

constexpr size_t kMaxPath = 259;  // MAX_PATH less the terminating NUL

// Lower case as the system compares file names of the ANSI code page.
char LowerPathChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<char>(u + 0x20);
  if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 0x10);
  if (u == 0x9F) return static_cast<char>(0xFF);
  return c;
}

bool ValidNameChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u < 0x20) return false;
  for (const char bad : std::string("*?\"<>|:"))
    if (c == bad) return false;
  return true;
}

// Splits off the root ("c:\" or "\\server\share\") of a lower-cased text
// with backslashes and without the "\\?\" prefix; false for any other text.
bool SplitRoot(const std::string& text, std::string& root, std::string& rest) {
  if (text.size() >= 3 && text[0] >= 'a' && text[0] <= 'z' && text[1] == ':' && text[2] == '\\') {
    root = text.substr(0, 3);
    rest = text.substr(3);
    return true;
  }
  if (text.size() == 2 && text[0] >= 'a' && text[0] <= 'z' && text[1] == ':') {
    root = text + "\\";
    rest.clear();
    return true;
  }
  if (text.compare(0, 2, "\\\\") != 0) return false;
  const size_t serverEnd = text.find('\\', 2);
  if (serverEnd == std::string::npos || serverEnd == 2) return false;
  size_t shareEnd = text.find('\\', serverEnd + 1);
  if (shareEnd == std::string::npos) shareEnd = text.size();
  if (shareEnd == serverEnd + 1) return false;
  const std::string server = text.substr(2, serverEnd - 2),
                    share = text.substr(serverEnd + 1, shareEnd - serverEnd - 1);
  if (server == "." || server == "?" || server == ".." || share == "." || share == "..") return false;
  root = text.substr(0, shareEnd) + "\\";
  rest = shareEnd < text.size() ? text.substr(shareEnd + 1) : std::string();
  return true;
}

// The name as the file system stores it: trailing dots and blanks dropped.
std::string StoredName(const std::string& name) {
  size_t end = name.size();
  while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
  return name.substr(0, end);
}

}  // namespace

bool ResolvedNames(const std::string& relative, std::vector<std::string>& names) {
  names.clear();
  size_t start = 0;
  while (start <= relative.size()) {
    const size_t end = std::min(relative.find_first_of("\\/", start), relative.size());
    const std::string name = relative.substr(start, end - start);
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (name != "..")
      names.push_back(name);
    else if (names.empty())
      return false;
    else
      names.pop_back();
  }
  return true;
}

std::optional<std::string> ResolvedBelowFolder(const std::string& relative) {
  std::vector<std::string> names;
  if (!ResolvedNames(relative, names)) return std::nullopt;
  std::string resolved;
  for (const std::string& name : names) resolved += (resolved.empty() ? "" : "\\") + name;
  return resolved;
}

std::string NormalPath(const std::string& path) {
  std::string text;
  text.reserve(path.size());
  for (const char c : path) text += c == '/' ? '\\' : LowerPathChar(c);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  text.erase(0, text.find_first_not_of(' '));
  if (text.compare(0, 8, "\\\\?\\unc\\") == 0)
    text.erase(2, 6);
  else if (text.compare(0, 4, "\\\\?\\") == 0 || text.compare(0, 4, "\\??\\") == 0)
    text.erase(0, 4);
  std::string root, rest;
  if (!SplitRoot(text, root, rest)) return std::string();
  std::vector<std::string> names;
  if (!ResolvedNames(rest, names)) return std::string();
  for (size_t i = 0; i < names.size(); ++i) {
    // The system drops trailing dots and blanks from the last name only; a
    // folder name in the middle that ends in one could mean two folders.
    std::string& name = names[i];
    const std::string stored = StoredName(name);
    if (stored.empty() || (i + 1 < names.size() && stored != name)) return std::string();
    name = stored;
    for (const char c : name)
      if (!ValidNameChar(c)) return std::string();
  }
  std::string normal = root;
  for (size_t i = 0; i < names.size(); ++i) normal += (i ? "\\" : "") + names[i];
  return normal.size() <= kMaxPath ? normal : std::string();
}

bool MayHoldShortNames(const std::string& normal) {
  for (size_t start = 0; start < normal.size();) {
    const size_t end = std::min(normal.find('\\', start), normal.size());
    const std::string name = normal.substr(start, end - start);
    const size_t dot = name.rfind('.');
    const size_t base = dot == std::string::npos ? name.size() : dot;
    const size_t extension = dot == std::string::npos ? 0 : name.size() - dot - 1;
    if (name.find('~') != std::string::npos && base <= 8 && extension <= 3) return true;
    start = end + 1;
  }
  return false;
}

bool IsRootPath(const std::string& normal) { return !normal.empty() && normal.back() == '\\'; }

bool LiesBelow(const std::string& inner, const std::string& outer) {
  if (outer.empty() || inner.size() <= outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
  return outer.back() == '\\' || inner[outer.size()] == '\\';
}

bool IsSameOrBelow(const std::string& inner, const std::string& outer) {
  return !outer.empty() && (inner == outer || LiesBelow(inner, outer));
}
