// FileSha256 of sys/file_digest.h for zqpack's native build, through
// OpenSSL's libcrypto; zqpack.exe takes the system's provider, as the
// installer does.
#include <openssl/evp.h>

#include <fstream>
#include <memory>
#include <vector>

#include "sys/file_digest.h"

std::string FileSha256(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!file || !context || !EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr)) return std::string();
  std::vector<char> buffer(64 * 1024);
  while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || file.gcount() > 0)
    if (!EVP_DigestUpdate(context.get(), buffer.data(), static_cast<size_t>(file.gcount()))) return std::string();
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (file.bad() || !EVP_DigestFinal_ex(context.get(), digest, &length)) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}
