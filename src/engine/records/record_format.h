// The installer's own files in the installation's uninst folder: the
// uninstall record, the error record that the completion after a restart
// reads, and the two logs; the records' sections, keys and item values, and
// how much of a value the reader keeps. zqpack's new products carry the
// empty files. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/report.h"

namespace record_format {

constexpr char kUninstallRecord[] = "uninst.ini", kErrorRecord[] = "error_inst.ini";
constexpr char kInstallLog[] = "zqinstall.log", kUninstallLog[] = "zquninstall.log";

// [Info], in both records.
constexpr char kInfo[] = "Info";
constexpr char kInstallPath[] = "InstallPath", kRegUser[] = "RegUser", kRegMachine[] = "RegMachine",
               kVersion[] = "Version", kName[] = "Name", kDeleteShared[] = "DeleteShared";
constexpr size_t kNameLimit = 31, kInstallPathLimit = 260, kVersionLimit = 9, kKeyLimit = 254;
// In the uninstall record only: install.ini's checkDotNet and [close] lines,
// which the uninstallation needs and may take from no unsealed file.
constexpr char kCheckDotNet[] = "CheckDotNet", kClose[] = "Close";

// The uninstall record's sections, and the values of their items.
constexpr char kInstalledFiles[] = "InstalledFiles", kRegistry[] = "Registry", kCom[] = "COM",
               kCommonFiles[] = "CommonFiles", kLinks[] = "Links", kGroups[] = "Groups", kDirectories[] = "Directories",
               kDotNet[] = "dotNET", kFolders[] = "Folders", kKeys[] = "Keys";
constexpr char kInstalled[] = "installed", kInserted[] = "inserted", kRegistered[] = "registered",
               kCreated[] = "created", kDelete[] = "delete";
// The reported item of each kind and the uninstall record's line it becomes:
// "section|text|value". A link (kind 5) is "Links|" + its text, which names
// the link and its target.
struct UninstallItem {
  uint8_t Kind;
  const char* Section;
  const char* Value;
};
constexpr UninstallItem kUninstallItems[] = {
    {rkFile, kInstalledFiles, kInstalled},
    {rkRegistry, kRegistry, kInserted},
    {rkCom, kCom, kRegistered},
    {rkCommonFile, kCommonFiles, kInstalled},
    {rkGroup, kGroups, kCreated},
    {rkDirectory, kDirectories, kDelete},
    {rkDotNet, kDotNet, kRegistered},
    {rkCreatedFolder, kFolders, kCreated},
    {rkCreatedKey, kKeys, kCreated},
};

// The error record's items: copies waiting beside their targets, the
// registry deletions that wait for them ([Registry]), and the registrations
// and shared counts deferred under the key "~", which become numbered
// entries of a descriptor's sections.
constexpr char kCopy[] = "copy", kErrorCom[] = "error_com", kErrorCommon[] = "error_common",
               kErrorDotNetReg[] = "error_dotnet_reg", kErrorDotNetInst[] = "error_dotnet_inst";
constexpr char kDeferredKey[] = "~";

}  // namespace record_format
