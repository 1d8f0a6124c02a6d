// The entries that the uninstall record and the error record are made of:
// the [Info] block and the sections built from the reported record items.
// Platform-free.
#pragma once

#include <string>
#include <vector>

// What the [Info] block of both records says about the installation.
struct RecordInfo {
  std::string InstallPath;  // with a trailing backslash
  std::string RegUser;
  std::string RegMachine;
  std::string Version;  // the installer's own file version
  std::string Name;
  bool DeleteShared = false;
  // What the uninstallation needs of install.ini, kept in the sealed record:
  // the .NET runtime the registrations need, and the programs to close
  // ("class=title" lines). Empty on the uninstall side, which leaves them as they are.
  std::string DotNetVersion;
  std::vector<std::string> CloseList;
};

struct RecordEntry {
  std::string Section;
  std::string Key;
  std::string Value;
};

// An item's text as the engine reports it and ItemEntries reads it back:
// "section|key|value".
std::string RecordItemText(const std::string& section, const std::string& key, const std::string& value);

// The [Info] entries in their written order.
std::vector<RecordEntry> InfoEntries(const RecordInfo& info);
// The [Close] entries, one a program to close.
std::vector<RecordEntry> CloseEntries(const RecordInfo& info);

// Turns "section|key|value" items, already sorted, into entries, in order. The
// deferred COM, shared, .NET registration and .NET cache items become the
// numbered keys of [register], [shared], [dotnetregister] and [dotnetinstall],
// and each .NET one also sets [component] dotNetVer. An item without a section
// or a key goes to rejected instead. The items are used up: each entry takes
// over its item's text.
std::vector<RecordEntry> ItemEntries(std::vector<std::string>& sortedItems, std::vector<std::string>& rejected);
