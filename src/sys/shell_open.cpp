#include "sys/shell_open.h"

#include <windows.h>

#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {
const char kClassesRoot[] = "HKEY_CLASSES_ROOT\\";

std::string DefaultValue(const std::string& path) {
  std::string value;
  RegReadString(path, "", value);
  return value;
}
}  // namespace

std::string ShellOpenCommand(const std::string& extension, const std::string& verb) {
  std::string type = Trim(extension);
  const std::string action = Trim(verb);
  if (type.empty() || action.empty()) return std::string();
  if (type[0] != '.') type.insert(0, ".");
  const std::string typeName = DefaultValue(kClassesRoot + type);
  if (typeName.empty()) return std::string();
  return DefaultValue(kClassesRoot + typeName + "\\shell\\" + action + "\\command");
}

bool OpenWithAssociatedProgram(const std::string& file, const std::string& extension, bool allowMissing) {
  const std::string name = Trim(file);
  if (name.empty() || (!allowMissing && !FileExists(name))) return false;
  const std::string type = Trim(extension).empty() ? FileExtension(name) : extension;
  std::string command = ShellOpenCommand(type, "open");
  if (command.empty()) return false;
  if (command.find("%1") != std::string::npos)
    command = ReplaceFirst(command, "%1", name);
  else
    command += " \"" + name + "\"";
  return WinExec(command.c_str(), SW_SHOWNORMAL) > 31;
}
