#include "support/paths.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string FixturePath(const std::string& name) { return WindowsPath(std::string(ZQ_FIXTURE_DIR) + "/" + name); }

std::string ScratchPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  std::string path = folder;
  if (path.back() != '\\') path += '\\';
  return path + name;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
