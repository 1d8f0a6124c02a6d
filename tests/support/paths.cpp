#include "support/paths.h"

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "engine/records/record_seal.h"
#include "sys/registry.h"
#include "sys/text.h"

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void SetWriteTime(const std::string& path, int dayOfMonth) {
  SYSTEMTIME time = {2024, 5, 0, static_cast<WORD>(dayOfMonth), 10, 0, 0, 0};
  FILETIME fileTime;
  SystemTimeToFileTime(&time, &fileTime);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &fileTime);
  CloseHandle(file);
}

std::string FixturePath(const std::string& name) { return WindowsPath(std::string(ZQ_FIXTURE_DIR) + "/" + name); }

std::string ScratchPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  std::string path = folder;
  if (path.back() != '\\') path += '\\';
  return path + name;
}

namespace {

// The seals of records an earlier run wrote there: a record of the same
// bytes would otherwise pass as sealed.
void ForgetSealsBelow(const std::string& folder) {
  std::vector<std::string> names;
  bool any = false;
  RegKeyHasEntries(kRecordSealKey, names, any, false);
  for (const std::string& name : names)
    if (name.rfind(LowerAscii(folder), 0) == 0) RegDeleteEntry(kRecordSealKey, name, false);
}

}  // namespace

std::string FreshScratchFolder(const std::string& name) {
  const std::string folder = ScratchPath(name);
  std::string from = folder + std::string(2, '\0');  // the list ends with two NULs
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) SHFileOperationA(&operation);
  CreateDirectoryA(folder.c_str(), nullptr);
  ForgetSealsBelow(folder + "\\");
  return folder + "\\";
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
