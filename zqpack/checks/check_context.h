// What the checks of the single files share: the placeholder model and every
// file the product's [copy] lines install. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "checks/findings.h"
#include "checks/placeholder_model.h"
#include "checks/profile_text.h"
#include "checks/product_checks.h"

struct InstalledFile {
  std::string Target;  // expanded, lower case
  const ComponentFiles* Owner;
  Place Where;
};

struct CheckContext {
  PlaceholderModel Placeholders;
  std::vector<InstalledFile> Installed;
  Findings Found;
};

// What the checks of one INI file share: the file read, its name in
// messages and the product's context.
class FileCheck {
 protected:
  FileCheck(CheckContext& context, const std::string& text, std::string file)
      : context_(context), profile_(text), file_(std::move(file)) {}

  // The place of an entry, with its section's name as the file writes it.
  Place At(const std::string& section, const ProfileEntry& entry) const;
  Findings& Found() { return context_.Found; }
  // The message for a text the installer cuts to limit characters.
  static std::string TooLong(size_t length, size_t limit);

  CheckContext& context_;
  const ProfileText profile_;
  const std::string file_;
};

// Expands text in scope and reports each placeholder the installer does not
// know there, as an error or, for data written as it stands, as a warning.
std::string ExpandChecked(CheckContext& context, const Place& where, const std::string& text, PlaceholderScope scope,
                          bool dataOnly = false);

// The product's registry key paths as the installer forms them from install.ini.
std::string ProductKey(const ProfileText& settings, const char* hive);

// Checks one component's ver.ini; adds the files its [copy] lines install.
void CheckDescriptor(const ComponentFiles& component, CheckContext& context);
// Checks install.ini against the files of every component.
void CheckInstallSettings(const ComponentFiles& component, CheckContext& context);
