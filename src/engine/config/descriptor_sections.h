// The list sections of a component descriptor (ver.ini), one row each: its
// name, how its lines are expanded, and where they go in the component's
// entry. The installer's descriptor reader takes its lists from this table,
// and zqpack's checks know the sections by it. A new list section is a row
// here, its list in ComponentEntry, its action and its check. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "engine/config/install_settings.h"
#include "engine/config/placeholders.h"
#include "engine/config/product_files.h"

// How a section's lines become the entry's.
enum class LineRule {
  AsWritten,      // each line as it is, into the section's list ("n=file", "key\value=data")
  SourceTarget,   // [copy]: "source=target" pairs
  NamedSections,  // [ini]: "n=file=section", whose entries stand in [AddIni<n>]
};

struct ListSection {
  const char* Name;
  LineExpansion Expansion;
  LineRule Rule;
  std::vector<std::string> ComponentEntry::*Lines;  // for AsWritten
};

inline const ListSection kListSections[] = {
    {descriptor_file::kCopy, LineExpansion::Folders, LineRule::SourceTarget, nullptr},
    {descriptor_file::kRegister, LineExpansion::Folders, LineRule::AsWritten, &ComponentEntry::Register},
    {descriptor_file::kShared, LineExpansion::Folders, LineRule::AsWritten, &ComponentEntry::Shared},
    {descriptor_file::kDotNetRegister, LineExpansion::Folders, LineRule::AsWritten, &ComponentEntry::DotNetRegister},
    {descriptor_file::kDotNetInstall, LineExpansion::Folders, LineRule::AsWritten, &ComponentEntry::DotNetInstall},
    {descriptor_file::kRegistry, LineExpansion::FoldersAndProductKeys, LineRule::AsWritten, &ComponentEntry::Registry},
    {descriptor_file::kIni, LineExpansion::Folders, LineRule::NamedSections, nullptr},
};
