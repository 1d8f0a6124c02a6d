#include "sys/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include "sys/file_system.h"
#include "sys/path_text.h"
#include "sys/text.h"
#include "sys/wide_text.h"

namespace {

// COM on this thread for the length of one shortcut operation.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComPtr {
 public:
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  Interface** out() { return &pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

bool CreateLink(ComPtr<IShellLinkA>& link) {
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(link.out())));
}

bool SameFolderText(const std::string& a, const std::string& b) {
  return SameText(WithTrailingBackslash(Trim(a)), WithTrailingBackslash(Trim(b)));
}

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

}  // namespace

bool CreateShortcut(const std::string& linkName, const std::string& target, const std::string& iconFile) {
  ComScope com;
  ComPtr<IShellLinkA> link;
  if (!CreateLink(link)) return false;
  link->SetPath(target.c_str());
  link->SetWorkingDirectory(WithTrailingBackslash(FolderPart(target)).c_str());
  link->SetIconLocation(iconFile.c_str(), 0);
  link->SetDescription("Beschreibung");
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())))) return false;
  return file->Save(AnsiToWide(linkName + ".lnk").c_str(), TRUE) == S_OK;
}

std::string ReadShortcut(HWND owner, const std::string& linkFile) {
  ComScope com;
  ComPtr<IShellLinkA> link;
  if (!CreateLink(link)) return std::string();
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) ||
      FAILED(file->Load(AnsiToWide(linkFile).c_str(), STGM_READ)) || FAILED(link->Resolve(owner, SLR_ANY_MATCH)))
    return std::string();
  char target[MAX_PATH] = {};
  char description[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH)) ||
      FAILED(link->GetDescription(description, MAX_PATH)))
    return std::string();
  // Not every shell honours the short-path flag; asking the file system makes sure.
  return ShortPath(target) + "|" + description;
}

bool RemoveShortcut(HWND owner, const std::string& linkName, const std::string& target) {
  const std::string linkFile = linkName + ".lnk";
  if (!FileExists(linkFile)) return false;
  if (!target.empty()) {
    const std::string link = ReadShortcut(owner, linkFile);
    if (link.empty() || !SameFolderText(link.substr(0, link.find('|')), ShortPath(target))) return false;
  }
  return DeleteFileA(linkFile.c_str()) != FALSE;
}
