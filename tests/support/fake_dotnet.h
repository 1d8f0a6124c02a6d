// A stand-in .NET framework tree for the tests that probe for a runtime. The
// registered InstallRoot it replaces comes back when it goes out of scope.
#pragma once

#include <string>

class FakeDotNet {
 public:
  explicit FakeDotNet(std::string root);
  ~FakeDotNet();
  FakeDotNet(const FakeDotNet&) = delete;
  FakeDotNet& operator=(const FakeDotNet&) = delete;

  // Creates the version folder below the root, with or without gacutil.exe.
  bool AddVersion(const std::string& name, bool withGacUtil) const;
  // Registers path as the InstallRoot.
  bool Register(const std::string& path) const;

  const std::string Root;  // with a trailing backslash

 private:
  std::string saved_;
  bool hadKey_;
};
