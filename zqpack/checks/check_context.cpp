// What the checks of the single files share.
#include "checks/check_context.h"

Place FileCheck::At(const std::string& section, const ProfileEntry& entry) const {
  const ProfileSection* found = profile_.Find(section);
  return Place{file_, found ? found->Name : section, entry.Key, entry.Line};
}

std::string ExpandChecked(CheckContext& context, const Place& where, const std::string& text, PlaceholderScope scope,
                          bool dataOnly) {
  const std::string expanded = context.Placeholders.Expand(text, scope);
  for (const std::string& message : PlaceholderModel::UnknownPlaceholders(expanded, scope)) {
    if (dataOnly)
      context.Found.Warning(where, message);
    else
      context.Found.Error(where, message);
  }
  return expanded;
}

std::string FileCheck::TooLong(size_t length, size_t limit) {
  return "the value has " + std::to_string(length) + " characters; the installer keeps only the first " +
         std::to_string(limit);
}
