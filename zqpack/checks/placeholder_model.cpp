#include "checks/placeholder_model.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "engine/config/descriptor_sections.h"
#include "engine/config/placeholders.h"
#include "sys/code_pages.h"
#include "sys/text.h"

namespace {

const char* const kFolders[] = {"windir",      "systemdir",      "tempdir",        "menudir",     "desktopdir",
                                "programsdir", "commonfilesdir", "allusersappdir", "allusersdir", "installdir"};

PlaceholderLines StandInTable(bool withInstallFolder) {
  PlaceholderLines table;
  for (const char* folder : kFolders) {
    const std::string name = folder;
    if (name == "installdir" && !withInstallFolder) continue;
    table.push_back("%" + name + "%={" + name + "}\\");
  }
  return table;
}

bool IsFolderName(const std::string& name) {
  return name == "thisdir" || std::find(std::begin(kFolders), std::end(kFolders), name) != std::end(kFolders);
}

// The sections whose lines the installer expands with the product's keys: "[registry]".
std::string ProductKeySections() {
  std::string names;
  for (const ListSection& list : kListSections)
    if (list.Expansion == LineExpansion::FoldersAndProductKeys)
      names += (names.empty() ? "[" : ", [") + std::string(list.Name) + "]";
  return names;
}

bool IsNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string WhyUnknown(const std::string& placeholder, PlaceholderScope scope) {
  const std::string shown = AnsiToUtf8(placeholder);
  if (SameText(placeholder, "%thisDir%"))
    return shown + " stands for the component folder only in the list sections of a ver.ini";
  if (SameText(placeholder, "%userReg%") || SameText(placeholder, "%machineReg%"))
    return shown + " is known only in a ver.ini's " + ProductKeySections() + " section";
  if (SameText(placeholder, "%installDir%") && scope == PlaceholderScope::DefaultFolder)
    return shown + " is not known yet when the installation folder is chosen";
  return shown + " is not a placeholder the installer knows; it stays as written";
}

}  // namespace

PlaceholderModel::PlaceholderModel(std::string userKey, std::string machineKey)
    : userKey_(std::move(userKey)), machineKey_(std::move(machineKey)) {}

std::string PlaceholderModel::Expand(const std::string& text, PlaceholderScope scope) const {
  std::string line = text;
  if (scope == PlaceholderScope::ProductKeyList)
    line = ReplaceAllText(ReplaceAllText(line, "%userReg%", userKey_), "%machineReg%", machineKey_);
  if (scope == PlaceholderScope::ProductKeyList || scope == PlaceholderScope::DescriptorList)
    line = ReplaceAllText(line, "%thisDir%", ThisFolder());
  return ExpandPlaceholders(StandInTable(scope != PlaceholderScope::DefaultFolder), line);
}

std::vector<std::string> PlaceholderModel::UnknownPlaceholders(const std::string& expanded, PlaceholderScope scope) {
  std::vector<std::string> messages;
  for (size_t start = expanded.find('%'); start != std::string::npos; start = expanded.find('%', start + 1)) {
    size_t end = start + 1;
    while (end < expanded.size() && IsNameCharacter(expanded[end])) ++end;
    // A name begins with a letter: "%1" and "100%" are no placeholders.
    if (end == start + 1 || end == expanded.size() || expanded[end] != '%' ||
        !std::isalpha(static_cast<unsigned char>(expanded[start + 1])))
      continue;
    messages.push_back(WhyUnknown(expanded.substr(start, end - start + 1), scope));
    start = end;
  }
  return messages;
}

size_t PlaceholderModel::LeadingFolderLength(const std::string& expanded) {
  const size_t end = expanded.find("}\\");
  if (end == std::string::npos || expanded[0] != '{' || !IsFolderName(expanded.substr(1, end - 1))) return 0;
  return end + 2;
}
