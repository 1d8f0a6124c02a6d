#include "product_names.h"

#include <stdexcept>

#include "sys/code_pages.h"

namespace {

[[noreturn]] void Refuse(const std::string& where, const std::string& utf8, const std::string& why) {
  throw std::runtime_error(where + ": the name \"" + utf8 + "\" " + why);
}

// The text through code page 850 into Windows-1252, refused when either lacks
// one of its characters or it holds a control character.
std::string InstallerText(const std::string& utf8, const std::string& where) {
  std::string oem, ansi;
  if (utf8.empty()) Refuse(where, utf8, "is empty");
  if (!Utf8ToOem(utf8, oem))
    Refuse(where, utf8, "has a character that code page 850 lacks, in which the installer's archives store names");
  if (!Oem850ToAnsi(oem, ansi)) Refuse(where, utf8, "has a character that Windows-1252 lacks");
  for (const char c : ansi)
    if (static_cast<unsigned char>(c) < ' ') Refuse(where, utf8, "has a control character");
  return ansi;
}

}  // namespace

std::string FileNameText(const std::string& utf8, const std::string& where) {
  const std::string ansi = InstallerText(utf8, where);
  if (ansi.find_first_of("\\/:*?\"<>|") != std::string::npos)
    Refuse(where, utf8, "has a character that Windows does not allow in file names");
  if (ansi.find_first_of("=%") != std::string::npos)
    Refuse(where, utf8, "has \"=\" or \"%\", at which the installer splits and expands its lines");
  if (ansi.back() == ' ' || ansi.back() == '.' || ansi.front() == ' ')
    Refuse(where, utf8, "begins with a blank or ends with a blank or a dot, which Windows drops");
  return ansi;
}

std::string MakerText(const std::string& utf8, const std::string& where) {
  const std::string ansi = InstallerText(utf8, where);
  if (ansi.find('\\') != std::string::npos) Refuse(where, utf8, "has a \"\\\", which would nest the registry key");
  if (ansi.front() == ' ' || ansi.back() == ' ' || ansi.front() == '"' || ansi.front() == '\'')
    Refuse(where, utf8, "begins or ends with a blank or begins with a quote, which install.ini drops");
  return ansi;
}
