// The SHA-256 digest of a file's bytes, through the system's cryptographic
// provider.
#pragma once

#include <string>

// 64 lower-case hexadecimal digits; empty when the file cannot be read or the
// system has no SHA-256 provider (before Windows XP SP3).
std::string FileSha256(const std::string& path);
