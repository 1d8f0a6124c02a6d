// The settings of one installation run, read from install.ini or error_inst.ini.
#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/actions/pending.h"
#include "sys/text.h"

// One line of a component's [copy] section: the file to copy (from the
// payload, or after a restart the copy that waited beside its target), where
// it goes, and whether this run wrote it there.
struct CopyEntry {
  std::string Source;
  std::string Target;
  bool Written = false;
  bool Kept = false;  // not written: the file in place stays by the overwrite rule
  bool operator==(const CopyEntry& other) const {
    return Source == other.Source && Target == other.Target && Written == other.Written && Kept == other.Kept;
  }
};

// One component taking part in the installation, read from its ver.ini.
struct ComponentEntry {
  std::string Name;
  std::string ExeName;
  std::string Path;  // expanded, with a trailing backslash, or empty
  std::string Version;
  std::vector<CopyEntry> Copy;
  std::vector<std::string> Register;  // n=file
  std::vector<std::string> Shared;    // n=file
  std::vector<std::string> Registry;  // key\value=data
  std::vector<std::string> IniEdits;  // file=section=key=value
  PendingActions Pending;             // what waits for the restart
  std::vector<std::string> DotNetRegister;
  std::vector<std::string> DotNetInstall;
  std::string DotNetDir;  // runtime folder for "dotNetVer", or empty
  bool Force = false;

  // Whether this run wrote any of the component's files.
  bool WroteAny() const {
    return std::any_of(Copy.begin(), Copy.end(), [](const CopyEntry& entry) { return entry.Written; });
  }
  // Whether this run wrote the file at path (case ignored).
  bool Wrote(const std::string& path) const {
    return std::any_of(Copy.begin(), Copy.end(),
                       [&path](const CopyEntry& entry) { return entry.Written && SameText(entry.Target, path); });
  }
};

struct InstallSettings {
  std::string InstallerVersion;  // recorded by the previous installation
  bool BaseMissing = false;      // no base installation of the product yet
  std::string BaseComponent;     // install.ini [base] name: the component whose registration marks it
  bool Update = false;           // this package updates an existing installation
  bool DeleteShared = false;     // uninstalling deletes shared files
  std::string UninstTitle;
  std::string RunProg;
  std::string RunProgWait;
  std::string SupportUrl;     // the product's support page, opened by Ctrl+H
  std::string Publisher;      // named in the uninstall entry: [install] Publisher, else the RegRoot text
  std::string RegUser;        // the product's key in the user hive
  std::string RegMachine;     // the product's key in the machine hive
  uint16_t MinDiskSpace = 0;  // megabytes
  std::vector<std::string> Links;
  std::vector<std::string> Groups;
  std::vector<std::string> CommonFiles;
  std::set<std::string> InstalledBefore;  // lower case: the files the earlier sealed record lists
  std::vector<ComponentEntry> Components;
  bool DotNetPresent = false;
  std::string DotNetVersion;  // [install] checkDotNet: the runtime the registrations need
};
