// The names and limits of the files a product is made of, install.ini and
// each component's ver.ini: the installer reads them by these names and
// keeps texts up to these lengths, and zqpack checks them against the same.
// Platform-free.
#pragma once

#include <cstddef>
#include <string>

// The payload's base component, which holds install.ini; [base] name names another.
constexpr char kBaseComponent[] = "uninst";

// The product's registry key below hive: "<hive>\Software\[<RegRoot>\]<name>".
inline std::string ProductKeyPath(const std::string& hive, const std::string& root, const std::string& name) {
  return hive + "\\Software\\" + (root.empty() ? std::string() : root + "\\") + name;
}

// install.ini's sections and the keys of [install].
namespace settings_file {
constexpr char kInstall[] = "install", kClose[] = "close", kRunProg[] = "RunProg", kRunProgWait[] = "RunProgWait",
               kBase[] = "base", kGroups[] = "groups", kLinks[] = "links";
constexpr char kUpdate[] = "update", kReboot[] = "reboot", kName[] = "name", kDefaultDir[] = "defaultDir",
               kMinDiskSpace[] = "MinDiskSpace", kRegRoot[] = "RegRoot", kUninstTitle[] = "UninstTitle",
               kDeleteShared[] = "DeleteShared", kCheckDotNet[] = "checkDotNet", kSupportUrl[] = "SupportUrl",
               kPublisher[] = "Publisher";
// What the installer takes when [install] lacks name, UninstTitle or checkDotNet.
constexpr char kDefaultName[] = "Quotaline", kDefaultUninstTitle[] = "Quotaline Komponenten",
               kDefaultDotNetVersion[] = "1.1.4322";
constexpr const char* kInstallKeys[] = {kUpdate,      kReboot,       kName,        kDefaultDir, kMinDiskSpace, kRegRoot,
                                        kUninstTitle, kDeleteShared, kCheckDotNet, kSupportUrl, kPublisher};
}  // namespace settings_file

// ver.ini's sections and the keys of [component]; [ini] names AddIni<n> sections
// besides. What each list section holds is in descriptor_sections.h.
namespace descriptor_file {
constexpr char kComponent[] = "component", kCopy[] = "copy", kRegister[] = "register", kShared[] = "shared",
               kDotNetRegister[] = "dotnetregister", kDotNetInstall[] = "dotNetinstall", kRegistry[] = "registry",
               kIni[] = "ini", kAddIni[] = "AddIni";
constexpr char kName[] = "name", kExeName[] = "exename", kPath[] = "path", kVersion[] = "version",
               kDotNetVer[] = "dotNetVer", kForce[] = "force";
constexpr const char* kComponentKeys[] = {kName, kExeName, kPath, kVersion, kDotNetVer, kForce};
}  // namespace descriptor_file

// How many characters of a text the installer keeps.
constexpr size_t kComponentNameLimit = 127, kExeNameLimit = 127, kComponentPathLimit = 260, kVersionLimit = 22;
constexpr size_t kTitleLimit = 63, kProgramLimit = 386;
// "HKEY_CURRENT_USER\Software\" + RegRoot + "\" + name, and the machine's key.
constexpr size_t kUserKeyLimit = 254, kMachineKeyLimit = 255;
