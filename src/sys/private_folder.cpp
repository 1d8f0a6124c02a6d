#include "sys/private_folder.h"

#include <windows.h>
#include <wincrypt.h>

#include <vector>

#include "sys/file_system.h"
#include "sys/folder_rights.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

constexpr int kAttempts = 8;

// 16 hexadecimal digits from the system's random source; empty without one.
std::string RandomName() {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return std::string();
  BYTE bytes[8] = {};
  const bool made = CryptGenRandom(provider, sizeof bytes, bytes) != FALSE;
  CryptReleaseContext(provider, 0);
  if (!made) return std::string();
  std::string name;
  for (BYTE byte : bytes) name += FormatText("%02x", byte);
  return name;
}

}  // namespace

PrivateFolder::PrivateFolder(const std::string& parent) {
  if (!FolderExists(parent)) ForceFolders(parent);
  FolderSecurity security(FolderRights::AdministratorsOnly);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string name = RandomName();
    if (name.empty()) return;
    const std::string folder = WithTrailingBackslash(parent) + kPrivateFolderPrefix + name;
    // CreateDirectory fails on anything that is there already, a link included:
    // the folder is always one this process made.
    if (CreateDirectoryA(folder.c_str(), security.Attributes())) {
      path_ = folder + "\\";
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return;
  }
}

PrivateFolder::~PrivateFolder() {
  if (path_.empty()) return;
  // Nobody but this run could put anything here; what it left goes.
  std::vector<std::string> files;
  FindFiles(files, path_, "*", true, true);
  for (const std::string& file : files) {
    SetFileAttributesA(file.c_str(), 0);
    DeleteFileA(file.c_str());
  }
  std::vector<std::string> folders{path_};
  ListSubfolders(folders, path_, true, true);
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) RemoveDirectoryA(folder->c_str());
}
