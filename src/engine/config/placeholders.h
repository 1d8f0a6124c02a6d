// Placeholders such as "%installDir%" in the configuration files and their
// expansion into the folders of this machine. Platform-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

// "%name%=value" lines in the order in which they are applied.
using PlaceholderLines = std::vector<std::string>;

// Orders two lines for sorting a descriptor section.
using LineOrder = std::function<bool(const std::string&, const std::string&)>;

// The folders that become the first nine placeholders, each with a trailing
// backslash or empty.
struct FolderVariables {
  std::string WinDir, SystemDir, TmpDir, MenuDir, DesktopDir, ProgramsDir, CommonFilesDir, AllUsersAppDir, AllUsersDir;
};

// Appends "%windir%=" to "%allusersdir%=" with their folders.
void AppendFolderPlaceholders(PlaceholderLines& table, const FolderVariables& folders);

// Trims the text, replaces each table placeholder (case ignored) by the value of
// its first line, then collapses every backslash pair into one.
std::string ExpandPlaceholders(const PlaceholderLines& table, const std::string& text);

// The registry placeholders of a component descriptor.
struct DescriptorKeys {
  std::string ThisDir;     // the descriptor's folder, with trailing backslash
  std::string UserReg;     // the product's user registry key path
  std::string MachineReg;  // the product's machine registry key path
};

// What a list section of a component descriptor expands: the component's
// folder ("%thisDir%") and the table's folders, and for some sections also
// the product's keys ("%userReg%", "%machineReg%").
enum class LineExpansion { Folders, FoldersAndProductKeys };

// Expands one list section of a component descriptor in place; the lines end
// sorted by order.
void ExpandDescriptorSection(std::vector<std::string>& lines, LineExpansion expansion, const DescriptorKeys& keys,
                             const PlaceholderLines& table, const LineOrder& order);
