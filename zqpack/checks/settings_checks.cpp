// The checks of install.ini.
#include <algorithm>
#include <iterator>

#include "checks/check_context.h"
#include "checks/known_names.h"
#include "checks/quoted.h"
#include "engine/config/product_files.h"
#include "sys/text.h"

namespace {

class SettingsCheck : FileCheck {
 public:
  SettingsCheck(const ComponentFiles& component, CheckContext& context)
      : FileCheck(context, component.InstallSettings, component.Folder + "/install.ini") {}

  void Run() {
    using namespace settings_file;
    CheckNames(profile_, file_,
               {{kInstall, {std::begin(kInstallKeys), std::end(kInstallKeys)}},
                {kClose, {}},
                {kRunProg, {}},
                {kRunProgWait, {}},
                {kBase, {kName}},
                {kGroups, {}},
                {kLinks, {}}},
               context_.Found);
    CheckInstallSection();
    CheckProgram("RunProg");
    CheckProgram("RunProgWait");
    CheckGroups();
    CheckLinks();
  }

 private:
  void CheckInstallSection() {
    using namespace settings_file;
    // Without them the product would be installed and registered as the default one.
    const ProfileSection* install = profile_.Find(kInstall);
    const auto misspelt = [](const ProfileSection& section) { return !NearestName(section.Name, {kInstall}).empty(); };
    if (!install) {
      // A misspelt [install] is reported as such.
      if (std::none_of(profile_.Sections().begin(), profile_.Sections().end(), misspelt))
        Found().Error({file_, "", "", 0}, std::string("no [install] section: the product would be installed as ") +
                                              Quoted(kDefaultName) + " into its folder");
    } else if (!profile_.FindEntry(kInstall, kName)) {
      Found().Error({file_, install->Name, kName, install->Line},
                    std::string("no name: the product would be registered as ") + Quoted(kDefaultName));
    }
    if (const ProfileEntry* title = profile_.FindEntry("install", "UninstTitle")) {
      const size_t length = profile_.Read("install", "UninstTitle", "").size();
      if (length > kTitleLimit) Found().Error(At("install", *title), TooLong(length, kTitleLimit));
    }
    const std::string userKey = ProductKey(profile_, "HKEY_CURRENT_USER");
    if (userKey.size() > kUserKeyLimit) {
      const ProfileEntry* root = profile_.FindEntry("install", "RegRoot");
      const ProfileEntry* name = profile_.FindEntry("install", "name");
      Found().Error(At("install", root ? *root : *name), "RegRoot and name give the registry key " + Quoted(userKey) +
                                                             " of " + std::to_string(userKey.size()) +
                                                             " characters; the installer keeps only the first " +
                                                             std::to_string(kUserKeyLimit));
    }
    if (const ProfileEntry* folder = profile_.FindEntry("install", "defaultDir"))
      ExpandChecked(context_, At("install", *folder), profile_.Read("install", "defaultDir", ""),
                    PlaceholderScope::DefaultFolder);
  }

  // Only the first line counts: "program=parameters" becomes "program parameters".
  void CheckProgram(const std::string& section) {
    const std::vector<ProfileEntry> lines = profile_.Lines(section);
    for (size_t i = 1; i < lines.size(); ++i)
      Found().Warning(At(section, lines[i]), "only the first line of [" + section + "] is read");
    if (lines.empty()) return;
    const ProfileEntry& line = lines.front();
    std::string program, parameters;
    SplitAtLast(line.Key + "=" + line.Value, '=', program, parameters);
    const std::string command = Trim(program + " " + parameters);
    if (command.size() > kProgramLimit) Found().Error(At(section, line), TooLong(command.size(), kProgramLimit));
    ExpandChecked(context_, At(section, line), command, PlaceholderScope::ProductText);
  }

  // Groups are read by the keys 1 to n, n being the number of lines.
  void CheckGroups() {
    const std::vector<ProfileEntry> lines = profile_.Lines("groups");
    std::vector<bool> read(lines.size(), false);
    for (size_t k = 1; k <= lines.size(); ++k) {
      const auto found = std::find_if(lines.begin(), lines.end(),
                                      [&](const ProfileEntry& line) { return SameText(line.Key, std::to_string(k)); });
      if (found != lines.end()) read[static_cast<size_t>(found - lines.begin())] = true;
    }
    for (size_t i = 0; i < lines.size(); ++i)
      if (!read[i])
        Found().Warning(At("groups", lines[i]), "never read: groups are read by the keys 1 to " +
                                                    std::to_string(lines.size()) + " and stop at a gap");
  }

  void CheckLinks() {
    for (const ProfileEntry& line : profile_.Lines("links")) {
      if (!line.HasEquals || Trim(line.Value).empty()) {
        Found().Error(At("links", line),
                      "no \"=\" between the link and its target; the installer cannot split the line");
        continue;
      }
      ExpandChecked(context_, At("links", line), line.Key, PlaceholderScope::ProductText);
      std::string link, target;
      SplitAtLast(line.Key + "=" + line.Value, '=', link, target);
      const std::string installed =
          LowerAscii(ExpandChecked(context_, At("links", line), target, PlaceholderScope::ProductText));
      if (std::none_of(context_.Installed.begin(), context_.Installed.end(),
                       [&](const InstalledFile& file) { return file.Target == installed; }))
        Found().Warning(At("links", line), "no component installs the target " + Quoted(Trim(target)));
    }
  }
};

}  // namespace

std::string ProductKey(const ProfileText& settings, const char* hive) {
  using namespace settings_file;
  return ProductKeyPath(hive, settings.Read(kInstall, kRegRoot, ""), settings.Read(kInstall, kName, kDefaultName));
}

void CheckInstallSettings(const ComponentFiles& component, CheckContext& context) {
  SettingsCheck(component, context).Run();
}
