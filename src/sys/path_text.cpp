#include "sys/path_text.h"

#include "sys/text.h"

std::string FolderPart(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithoutTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() != '\\') return path;
  return path.substr(0, path.size() - 1);
}

std::string ParentFolder(const std::string& folder) { return FolderPart(WithoutTrailingBackslash(folder)); }

namespace {
// Where the extension of the file name starts (at its point), or the length.
// Only a point in the file name counts; one in a folder name does not.
size_t ExtensionStart(const std::string& path) {
  const size_t point = path.find_last_of('.');
  if (point == std::string::npos || point < FolderPart(path).size()) return path.size();
  return point;
}
}  // namespace

std::string FileExtension(const std::string& path) { return path.substr(ExtensionStart(path)); }

std::string QuotedIfBlank(const std::string& name) {
  return name.find(' ') == std::string::npos ? name : "\"" + name + "\"";
}

bool IsReservedDeviceName(const std::string& name) {
  const std::string stem = LowerAscii(name.substr(0, name.find('.')));
  const std::string base = Trim(stem);
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

std::string SafeFileName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe)
    if (static_cast<unsigned char>(c) < 32 || std::string("\\/:*?\"<>|").find(c) != std::string::npos) c = '_';
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  return safe.empty() || IsReservedDeviceName(safe) ? "_" + safe : safe;
}

bool HasValidFolderNames(const std::string& path) {
  const std::string names = WithTrailingBackslash(path.size() > 3 ? path.substr(3) : std::string());
  size_t start = 0;
  for (size_t slash; (slash = names.find('\\', start)) != std::string::npos; start = slash + 1) {
    const std::string name = names.substr(start, slash - start);
    if (name.empty() || name.find_first_of("*/:<>?|") != std::string::npos) return false;
  }
  return true;
}

bool SplitQuotedProgram(const std::string& command, std::string& program, std::string& rest) {
  if (command.empty() || command[0] != '"') return false;
  const size_t close = command.find('"', 1);
  program = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  rest = close == std::string::npos ? std::string() : command.substr(close + 1);
  return true;
}

std::string CollapseBackslashPairs(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
  }
  return result;
}

std::string FileNamePart(const std::string& path) { return path.substr(FolderPart(path).size()); }
