#include "installer_version.h"

#include <algorithm>
#include <stdexcept>

#include "checks/profile_text.h"
#include "engine/config/product_files.h"
#include "little_endian.h"
#include "pe_version.h"
#include "sys/code_pages.h"
#include "sys/text.h"

namespace {

// The resource's language and code page: German, Windows-1252.
constexpr uint16_t kLanguage = 0x0407, kCodePage = 1252;
constexpr char kStringTable[] = "040704E4";
constexpr uint32_t kFixedSignature = 0xFEEF04BD, kStructureVersion = 0x00010000, kFlagsMask = 0x3F, kWindows32 = 0x4,
                   kApplication = 0x1;
enum NodeType : uint16_t { kBinary = 0, kText = 1 };

void Align(std::vector<uint8_t>& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

// The UTF-16 code units of a Windows-1252 text, with the closing zero.
std::u16string Utf16(const std::string& ansi) { return AnsiToUtf16(ansi) + u'\0'; }

// One node of the resource: its length, its value's length (in code units
// for a text), its type, its key, its value and its children, each on a
// four-byte boundary.
std::vector<uint8_t> Node(const std::string& key, const std::vector<uint8_t>& value, uint16_t valueLength,
                          NodeType type, const std::vector<std::vector<uint8_t>>& children = {}) {
  std::vector<uint8_t> node(6, 0);
  for (char16_t unit : Utf16(key)) Put16(node, unit);
  Align(node);
  node.insert(node.end(), value.begin(), value.end());
  for (const std::vector<uint8_t>& child : children) {
    Align(node);
    node.insert(node.end(), child.begin(), child.end());
  }
  node[0] = static_cast<uint8_t>(node.size());
  node[1] = static_cast<uint8_t>(node.size() >> 8);
  node[2] = static_cast<uint8_t>(valueLength);
  node[3] = static_cast<uint8_t>(valueLength >> 8);
  node[4] = static_cast<uint8_t>(type);
  return node;
}

std::vector<uint8_t> TextNode(const std::string& key, const std::string& text) {
  std::vector<uint8_t> value;
  const std::u16string units = Utf16(text);
  for (char16_t unit : units) Put16(value, unit);
  return Node(key, value, static_cast<uint16_t>(units.size()), kText);
}

std::vector<uint8_t> FixedInfo(const VersionRecord& version) {
  std::vector<uint8_t> fixed;
  const uint32_t high = version.Major << 16 | (version.Minor & 0xFFFF);
  const uint32_t low = version.Release << 16 | (version.Build & 0xFFFF);
  for (uint32_t value :
       {kFixedSignature, kStructureVersion, high, low, high, low, kFlagsMask, 0u, kWindows32, kApplication, 0u, 0u, 0u})
    Put32(fixed, value);
  return fixed;
}

std::vector<uint8_t> VersionInfoBlock(const InstallerTexts& texts) {
  const std::string version = VersionText(texts.Version);
  const std::vector<uint8_t> strings =
      Node(kStringTable, {}, 0, kText,
           {TextNode("CompanyName", texts.Company), TextNode("FileDescription", texts.Description),
            TextNode("FileVersion", version), TextNode("InternalName", "setup"),
            TextNode("OriginalFilename", texts.OriginalName), TextNode("ProductName", texts.ProductName),
            TextNode("ProductVersion", version)});
  std::vector<uint8_t> translation;
  Put16(translation, kLanguage);
  Put16(translation, kCodePage);
  const std::vector<uint8_t> fixed = FixedInfo(texts.Version);
  return Node("VS_VERSION_INFO", fixed, static_cast<uint16_t>(fixed.size()), kBinary,
              {Node("StringFileInfo", {}, 0, kText, {strings}),
               Node("VarFileInfo", {}, 0, kText, {Node("Translation", translation, 4, kBinary)})});
}

// The version of the first component other than the base whose ver.ini names one.
bool ComponentVersion(const std::vector<ComponentFiles>& components, std::string& version) {
  for (const ComponentFiles& component : components) {
    if (component.HasInstallSettings) continue;
    version = Trim(ProfileText(component.Descriptor).Read(descriptor_file::kComponent, descriptor_file::kVersion, ""));
    if (IsVersionText(version)) return true;
  }
  return false;
}

}  // namespace

bool IsVersionText(const std::string& text) {
  size_t dots = 0, digits = 0;
  for (const char c : text) {
    if (c == '.') {
      if (digits == 0 || ++dots > 3) return false;
      digits = 0;
    } else if (c < '0' || c > '9' || ++digits > 5) {
      return false;
    }
  }
  const VersionRecord version = ParseVersion(text);
  return digits > 0 && text.size() <= kVersionLimit && version.Major <= 0xFFFF && version.Minor <= 0xFFFF &&
         version.Release <= 0xFFFF && version.Build <= 0xFFFF;
}

InstallerTexts ProductInstallerTexts(const std::string& versionOption, const std::vector<uint8_t>& image,
                                     const std::vector<ComponentFiles>& components, const std::string& output) {
  InstallerTexts texts;
  std::string version;
  if (!versionOption.empty()) {
    if (!IsVersionText(versionOption))
      throw std::runtime_error("--version: \"" + versionOption + "\" is no version of up to four numbers up to 65535 " +
                               "between dots (at most " + std::to_string(kVersionLimit) + " characters)");
    texts.Version = ParseVersion(versionOption);
    texts.VersionFrom = "--version";
  } else if (ComponentVersion(components, version)) {
    texts.Version = ParseVersion(version);
    texts.VersionFrom = "ver.ini";
  } else if (ReadImageVersion(image, texts.Version)) {
    texts.VersionFrom = "the program image";
  }
  std::string settings;
  for (const ComponentFiles& component : components)
    if (component.HasInstallSettings) settings = component.InstallSettings;
  using namespace settings_file;
  const ProfileText install(settings);
  texts.ProductName = Trim(install.Read(kInstall, kName, kDefaultName));
  const std::string publisher = Trim(install.Read(kInstall, kPublisher, ""));
  texts.Company = publisher.empty() ? Trim(install.Read(kInstall, kRegRoot, "")) : publisher;
  texts.Description = texts.ProductName + " Setup";
  const size_t slash = output.find_last_of("/\\");
  texts.OriginalName = slash == std::string::npos ? output : output.substr(slash + 1);
  return texts;
}

bool WriteInstallerVersion(std::vector<uint8_t>& image, const InstallerTexts& texts) {
  uint64_t offset = 0;
  uint32_t room = 0;
  if (!LocateVersionResource(image, offset, room)) return false;
  const std::vector<uint8_t> block = VersionInfoBlock(texts);
  if (block.size() > room)
    throw std::runtime_error("the product's name and maker take " + std::to_string(block.size()) +
                             " bytes in the installer's version resource, which has room for " + std::to_string(room));
  std::copy(block.begin(), block.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
  std::fill(image.begin() + static_cast<std::ptrdiff_t>(offset + block.size()),
            image.begin() + static_cast<std::ptrdiff_t>(offset + room), 0);
  return true;
}
