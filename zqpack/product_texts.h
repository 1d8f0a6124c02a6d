// The INI files of a product made by zqpack new: the base component's
// install.ini and ver.ini and the program component's ver.ini, in
// Windows-1252 with CRLF line ends. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "engine/config/product_files.h"
#include "engine/records/record_format.h"

constexpr char kProgramComponent[] = "program";
// The base component's files that an installation takes over empty: the
// uninstall record and the two logs.
constexpr const char* kEmptyBaseFiles[] = {record_format::kUninstallRecord, record_format::kInstallLog,
                                           record_format::kUninstallLog};

struct NewProduct {
  std::string Name, Maker;            // Windows-1252; Maker may be empty
  std::vector<std::string> Members;   // the program component's files, "\"-separated, Windows-1252
  std::vector<std::string> Programs;  // the members that are programs at its top, in name order
  std::string Version;
};

// install.ini: the product's name, registry root, publisher and folder below
// the program files, and a program group with a shortcut to each program.
std::string SettingsText(const NewProduct& product);
// uninst/ver.ini: copies install.ini, the empty record and the logs.
std::string BaseDescriptorText();
// program/ver.ini: the component with its version and a [copy] line a file.
std::string ProgramDescriptorText(const NewProduct& product);
