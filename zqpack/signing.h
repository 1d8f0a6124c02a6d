// Signing a finished installer with osslsigncode (Authenticode). The
// signature covers the program image and the whole payload behind it; the
// installer never reads past its integrity trailer, where the signature goes.
#pragma once

#include <string>

struct SigningOptions {
  std::string Pkcs12;        // the certificate and key; empty: no signing
  std::string PasswordFile;  // the PKCS#12 password, or empty
  std::string TimestampUrl;  // a time-stamping server, or empty
};

// Signs path in place; raises std::runtime_error (and deletes path) when
// osslsigncode fails or cannot be started, so that no unsigned installer
// is left where a signed one was asked for.
void SignInstaller(const std::string& path, const SigningOptions& options);
