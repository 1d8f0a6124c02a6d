#include "winget_package.h"

#include <cstring>
#include <stdexcept>

#include "checks/profile_text.h"
#include "engine/config/product_files.h"
#include "command_line_text.h"
#include "component_files.h"
#include "pe_version.h"
#include "sys/code_pages.h"
#include "sys/text.h"

namespace {

using namespace settings_file;

const size_t kIdentifierLimit = 128, kIdentifierPartLimit = 32, kUrlLimit = 2048;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

// The schema counts characters, not bytes.
size_t Characters(const std::string& utf8) {
  size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

void CheckLength(const std::string& where, const std::string& text, size_t least, size_t most) {
  const size_t length = Characters(text);
  if (length < least || length > most)
    Fail(where, "\"" + text + "\" has " + std::to_string(length) + " characters; the manifest takes " +
                    std::to_string(least) + " to " + std::to_string(most));
}

// Two to eight parts between dots, each of 1 to 32 characters, none of them
// a blank, a control character or \ / : * ? " < > |.
bool IsIdentifier(const std::string& text) {
  size_t parts = 0, length = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '.') {
      if (length == 0 || length > kIdentifierPartLimit) return false;
      ++parts;
      length = 0;
      continue;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    if (c <= ' ' || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return false;
    length += (c & 0xC0) != 0x80 ? 1 : 0;
  }
  return parts >= 2 && parts <= 8 && Characters(text) <= kIdentifierLimit;
}

bool IsUrl(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < ' ') return false;
  const std::string scheme = LowerAscii(text.substr(0, text.find("://")));
  return (scheme == "http" || scheme == "https") && text.size() > scheme.size() + 3 && Characters(text) <= kUrlLimit;
}

// The publisher of the uninstall entry: [install] Publisher, else (when the
// key is missing) the registry root.
std::string Publisher(const ProfileText& settings) {
  return AnsiToUtf8(settings.Read(kInstall, kPublisher, settings.Read(kInstall, kRegRoot, "")));
}

void ReadInstallSettings(const ProfileText& settings, WingetPackage& package) {
  package.ProductCode = AnsiToUtf8(settings.Read(kInstall, kName, kDefaultName));
  if (Trim(package.ProductCode).empty())
    Fail("install.ini", "[install] name is empty; the installer writes no uninstall entry");
  CheckLength("install.ini [install] name", package.ProductCode, 1, 255);
  package.DisplayName = AnsiToUtf8(settings.Read(kInstall, kUninstTitle, kDefaultUninstTitle).substr(0, kTitleLimit));
  CheckLength("install.ini [install] UninstTitle", package.DisplayName, 1, 256);
  package.Publisher = Publisher(settings);
  if (package.Publisher.empty())
    Fail("install.ini",
         "[install] sets neither Publisher nor RegRoot, and the installer names no publisher in the "
         "uninstall entry; the manifest needs one");
  CheckLength("install.ini [install] Publisher (or RegRoot)", package.Publisher, 2, 256);
}

}  // namespace

std::string* WingetOptions::Option(const std::string& argument) {
  return argument == "--winget"               ? &Folder
         : argument == "--winget-id"          ? &Identifier
         : argument == "--winget-url"         ? &Url
         : argument == "--winget-license"     ? &License
         : argument == "--winget-description" ? &Description
         : argument == "--winget-name"        ? &Name
                                              : nullptr;
}

std::string WingetOptions::Missing() const {
  if (Folder.empty())
    return (Identifier + Url + License + Description + Name).empty() ? std::string()
                                                                     : "the --winget-... options go with --winget DIR";
  const char* missing = Identifier.empty() ? "--winget-id"
                        : Url.empty()      ? "--winget-url"
                        : License.empty()  ? "--winget-license"
                                           : nullptr;
  return missing ? std::string("--winget needs ") + missing : std::string();
}

WingetPackage DescribePackage(const WingetOptions& options, const std::vector<uint8_t>& image,
                              const std::vector<Component>& components) {
  WingetPackage package;
  package.Folder = options.Folder;
  package.Identifier = CommandLineText(options.Identifier.c_str());
  if (!IsIdentifier(package.Identifier))
    Fail("--winget-id", "\"" + package.Identifier + "\" is no package identifier Publisher.Package: 2 to 8 parts " +
                            "between dots, each of 1 to 32 characters without blanks or \\ / : * ? \" < > |");
  package.Url = CommandLineText(options.Url.c_str());
  if (!IsUrl(package.Url)) Fail("--winget-url", "\"" + package.Url + "\" is no http:// or https:// address");
  VersionRecord version;
  if (!ReadImageVersion(image, version))
    throw std::runtime_error("the program image has no version resource; the installer would write no DisplayVersion");
  package.Version = VersionText(version);
  for (const Component& component : components)
    if (component.HasInstallSettings)
      ReadInstallSettings(ProfileText(ReadComponentFiles(component).InstallSettings), package);
  const std::string name = CommandLineText(options.Name.c_str());
  package.Name = name.empty() ? package.ProductCode : name;
  CheckLength(name.empty() ? "install.ini [install] name" : "--winget-name", package.Name, 2, 256);
  package.License = CommandLineText(options.License.c_str());
  CheckLength("--winget-license", package.License, 3, 512);
  // Without a description the title the system's list of programs shows stands for one.
  const std::string description = CommandLineText(options.Description.c_str());
  package.Description = description.empty() ? package.DisplayName : description;
  CheckLength(description.empty() ? "install.ini [install] UninstTitle" : "--winget-description", package.Description,
              3, 256);
  return package;
}
