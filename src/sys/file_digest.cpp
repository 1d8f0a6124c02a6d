#include "sys/file_digest.h"

#include <windows.h>
#include <wincrypt.h>

#include <vector>

namespace {

// A handle of the cryptographic provider, released when it goes out of scope.
template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class CryptHandle {
 public:
  CryptHandle() = default;
  ~CryptHandle() {
    if (handle_) Release(handle_);
  }
  CryptHandle(const CryptHandle&) = delete;
  CryptHandle& operator=(const CryptHandle&) = delete;
  Handle* out() { return &handle_; }
  Handle get() const { return handle_; }

 private:
  Handle handle_ = 0;
};

BOOL WINAPI ReleaseProvider(HCRYPTPROV provider) { return CryptReleaseContext(provider, 0); }

class File {
 public:
  explicit File(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
  ~File() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool HashFile(HCRYPTHASH hash, HANDLE file) {
  std::vector<BYTE> buffer(64 * 1024);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
    if (read == 0) return true;
    if (!CryptHashData(hash, buffer.data(), read, 0)) return false;
  }
}

}  // namespace

std::string FileSha256(const std::string& path) {
  const File file(path);
  if (file.get() == INVALID_HANDLE_VALUE) return std::string();
  CryptHandle<HCRYPTPROV, ReleaseProvider> provider;
  CryptHandle<HCRYPTHASH, CryptDestroyHash> hash;
  if (!CryptAcquireContextA(provider.out(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) ||
      !CryptCreateHash(provider.get(), CALG_SHA_256, 0, 0, hash.out()) || !HashFile(hash.get(), file.get()))
    return std::string();
  BYTE digest[32];
  DWORD length = sizeof digest;
  if (!CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &length, 0) || length != sizeof digest) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (const BYTE byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}
