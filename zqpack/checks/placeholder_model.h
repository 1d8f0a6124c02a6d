// The installer's placeholder expansion with a stand-in for every folder, so
// that paths of different lines compare as they will on the target machine,
// and the placeholders a text uses where the installer does not know them.
// Platform-free.
#pragma once

#include <string>
#include <vector>

// Where a text is expanded; each place knows its own set of placeholders.
enum class PlaceholderScope {
  DefaultFolder,   // install.ini's defaultDir: the folders, not yet %installDir%
  ProductText,     // install.ini's [links] and programs, a ver.ini's path
  DescriptorList,  // a list section of a ver.ini: also %thisDir%
  ProductKeyList,  // a ver.ini list section expanded with the product's keys: also %userReg% and %machineReg%
};

class PlaceholderModel {
 public:
  PlaceholderModel(std::string userKey, std::string machineKey);

  // The text expanded as the installer expands it in that scope, with
  // "{thisdir}\", "{installdir}\", "{windir}\" and so on for the folders.
  std::string Expand(const std::string& text, PlaceholderScope scope) const;
  // One message per "%name%" that the expanded text still holds.
  static std::vector<std::string> UnknownPlaceholders(const std::string& expanded, PlaceholderScope scope);
  // The stand-in of the component folder in expanded texts.
  static const char* ThisFolder() { return "{thisdir}\\"; }
  // The length of the folder stand-in an expanded text begins with, or 0.
  static size_t LeadingFolderLength(const std::string& expanded);

 private:
  std::string userKey_, machineKey_;
};
