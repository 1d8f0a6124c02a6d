#include "support/fake_dotnet.h"

#include "support/paths.h"
#include "sys/file_system.h"
#include "sys/registry.h"

namespace {
const char kFrameworkKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework";
}  // namespace

FakeDotNet::FakeDotNet(std::string root)
    : Root(std::move(root)), hadKey_(RegReadString(kFrameworkKey, "InstallRoot", saved_)) {}

FakeDotNet::~FakeDotNet() {
  if (hadKey_)
    RegWriteString(kFrameworkKey, "InstallRoot", saved_);
  else
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft", ".NETFramework", true);
}

bool FakeDotNet::AddVersion(const std::string& name, bool withGacUtil) const {
  return ForceFolders(Root + name) && (!withGacUtil || WriteTextFile(Root + name + "\\gacutil.exe", "MZ"));
}

bool FakeDotNet::Register(const std::string& path) const { return RegWriteString(kFrameworkKey, "InstallRoot", path); }
