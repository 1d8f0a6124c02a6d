#include "checks/product_checks.h"

#include <algorithm>

#include "checks/check_context.h"
#include "checks/quoted.h"
#include "engine/config/product_files.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

const char kSettingsTarget[] = "%installDir%uninst\\install.ini";

const ComponentFiles* SettingsHolder(const std::vector<ComponentFiles>& components) {
  for (const ComponentFiles& component : components)
    if (component.HasInstallSettings) return &component;
  return nullptr;
}

void CheckSettingsCopied(const ComponentFiles& holder, CheckContext& context) {
  const std::string target = LowerAscii(context.Placeholders.Expand(kSettingsTarget, PlaceholderScope::ProductText));
  for (const InstalledFile& file : context.Installed)
    if (file.Target == target) return;
  context.Found.Error({holder.Folder + "/ver.ini", "copy", "", 0},
                      std::string("no [copy] line installs install.ini as ") + kSettingsTarget);
}

// Two components that put a file at the same place: the one installed later
// overwrites the other's under the overwrite rule, and both count it as theirs.
void CheckSharedTargets(CheckContext& context) {
  const std::vector<InstalledFile>& installed = context.Installed;
  for (size_t i = 0; i < installed.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (installed[j].Owner != installed[i].Owner && installed[j].Target == installed[i].Target) {
        context.Found.Warning(installed[i].Where, "the component " + installed[j].Owner->Folder +
                                                      " copies to the same target (line " +
                                                      std::to_string(installed[j].Where.Line) + " of its ver.ini)");
        break;
      }
}

// The installer names each file as a German Windows converts its stored name.
// Names the system keeps for devices: a file named so cannot be written.
void CheckDeviceNames(const ComponentFiles& component, CheckContext& context) {
  for (const std::string& member : component.Members) {
    size_t start = 0;
    for (size_t end = 0; end != std::string::npos; start = end + 1) {
      end = member.find('\\', start);
      const std::string name = member.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!IsReservedDeviceName(name)) continue;
      context.Found.Error({component.Folder, "", "", 0}, "the member \"" + member + "\" is named " + Quoted(name) +
                                                             ", which Windows keeps for a device; the installer "
                                                             "cannot write it: rename it");
      break;
    }
  }
}

// A [base] name must name a component of the product.
void CheckBaseNamed(const ComponentFiles& holder, const std::vector<ComponentFiles>& components,
                    CheckContext& context) {
  using namespace settings_file;
  const ProfileText settings(holder.InstallSettings);
  const ProfileEntry* base = settings.FindEntry(kBase, kName);
  if (!base) return;
  // Both as the installer keeps them.
  const auto kept = [](const std::string& name) { return Trim(name).substr(0, kComponentNameLimit); };
  const std::string named = kept(settings.Read(kBase, kName, ""));
  for (const ComponentFiles& component : components)
    if (SameText(kept(ProfileText(component.Descriptor).Read(descriptor_file::kComponent, descriptor_file::kName, "")),
                 named))
      return;
  context.Found.Error({holder.Folder + "/install.ini", settings.Find(kBase)->Name, base->Key, base->Line},
                      "no component of the product is named " + Quoted(named));
}

void CheckMemberNames(const ComponentFiles& component, CheckContext& context) {
  CheckDeviceNames(component, context);
  for (const InexactName& name : component.InexactNames) {
    const Place where{component.Folder, "", "", 0};
    const std::string member = "the member \"" + name.Member + "\" ";
    const std::string lacking = member + "has characters that Windows-1252 lacks";
    if (name.Fidelity == nfUnmarkedUtf8)
      context.Found.Warning(where, member +
                                       "is named in UTF-8, but the archive does not say so: the installer "
                                       "reads the name in Windows-1252; repack it with a tool that marks "
                                       "UTF-8 names, or give zqpack the folder");
    else if (name.Fidelity == nfLookAlike)
      context.Found.Warning(where, lacking + "; Windows writes \"" + name.Written + "\" with look-alikes for them");
    else
      context.Found.Error(where, lacking + "; the installer cannot write it: rename it");
  }
}

}  // namespace

Findings CheckProduct(const std::vector<ComponentFiles>& components) {
  const ComponentFiles* holder = SettingsHolder(components);
  const ProfileText settings(holder ? holder->InstallSettings : std::string());
  CheckContext context{
      PlaceholderModel(ProductKey(settings, "HKEY_CURRENT_USER"), ProductKey(settings, "HKEY_LOCAL_MACHINE")), {}, {}};
  for (const ComponentFiles& component : components) {
    CheckMemberNames(component, context);
    CheckDescriptor(component, context);
  }
  CheckSharedTargets(context);
  if (holder) {
    CheckSettingsCopied(*holder, context);
    CheckInstallSettings(*holder, context);
    CheckBaseNamed(*holder, components, context);
  } else {
    const auto misnamed = std::find_if(components.begin(), components.end(),
                                       [](const ComponentFiles& component) { return component.MisnamedBase; });
    context.Found.Error({"uninst/install.ini", "", "", 0},
                        MissingSettingsText(misnamed == components.end() ? std::string() : misnamed->Folder));
  }
  context.Found.SortByPlace();
  return context.Found;
}

std::string MissingSettingsText(const std::string& misnamedBase) {
  std::string text = "no component holds it; the installer cannot start without it";
  if (!misnamedBase.empty())
    text +=
        " (" + misnamedBase + " holds install.ini: the base component's folder must be named " + kBaseComponent + ")";
  return text;
}
