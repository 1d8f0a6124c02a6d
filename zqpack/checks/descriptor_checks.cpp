// The checks of one component's ver.ini.
#include <algorithm>
#include <iterator>
#include <optional>

#include "checks/check_context.h"
#include "checks/known_names.h"
#include "checks/quoted.h"
#include "engine/config/descriptor_sections.h"
#include "engine/config/product_files.h"
#include "sys/normal_path.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

using namespace descriptor_file;

struct ComponentField {
  const char* Key;
  size_t Limit;  // the installer keeps this many characters
};
const ComponentField kComponentFields[] = {{descriptor_file::kName, kComponentNameLimit},
                                           {descriptor_file::kExeName, kExeNameLimit},
                                           {descriptor_file::kPath, kComponentPathLimit},
                                           {descriptor_file::kVersion, kVersionLimit}};

// The sections whose files the installer acts on only when a [copy] line of
// the same component wrote them in the run, with what it does to them.
struct FileList {
  const char* Section;
  const char* Action;
};
const FileList kFileLists[] = {{kRegister, "registers"},
                               {kShared, "counts"},
                               {kDotNetRegister, "registers"},
                               {kDotNetInstall, "installs into the assembly cache"}};

class DescriptorCheck : FileCheck {
 public:
  DescriptorCheck(const ComponentFiles& component, CheckContext& context)
      : FileCheck(context, component.Descriptor, component.Folder + "/ver.ini"), component_(component) {}

  void Run() {
    CheckNames(profile_, file_, KnownSections(), context_.Found);
    CheckComponentSection();
    CheckCopy();
    for (const FileList& list : kFileLists) CheckFileList(list);
    CheckRegistry();
    CheckIniEdits();
  }

 private:
  std::vector<KnownSection> KnownSections() const {
    std::vector<KnownSection> known = {{kComponent, {std::begin(kComponentKeys), std::end(kComponentKeys)}}};
    for (const ListSection& list : kListSections) known.push_back({list.Name, {}});
    for (const ProfileEntry& line : profile_.Lines(kIni)) {
      long long number = 0;
      if (ParseDecimal(line.Key, number) && number >= 0) known.push_back({kAddIni + Trim(line.Key), {}});
    }
    return known;
  }

  void CheckComponentSection() {
    for (const ComponentField& field : kComponentFields) {
      const ProfileEntry* entry = profile_.FindEntry(kComponent, field.Key);
      const std::string value = profile_.Read(kComponent, field.Key, "");
      if (entry && value.size() > field.Limit)
        Found().Error(At(kComponent, *entry), TooLong(value.size(), field.Limit));
    }
    if (const ProfileEntry* path = profile_.FindEntry(kComponent, kPath))
      ExpandChecked(context_, At(kComponent, *path), profile_.Read(kComponent, kPath, ""),
                    PlaceholderScope::ProductText);
  }

  // The line expanded as the installer expands it, or empty when it lacks
  // the "=" it needs (reported).
  std::string ExpandedLine(const std::string& section, const ProfileEntry& line, const std::string& needs,
                           PlaceholderScope scope = PlaceholderScope::DescriptorList) {
    if (!line.HasEquals || Trim(line.Value).empty()) {
      Found().Error(At(section, line), "no \"=\" " + needs + "; the installer cannot split the line");
      return std::string();
    }
    return ExpandChecked(context_, At(section, line), line.Key + "=" + line.Value, scope);
  }

  void CheckCopy() {
    for (const ProfileEntry& line : profile_.Lines(kCopy)) {
      const std::string expanded = ExpandedLine(kCopy, line, "between source and destination");
      std::string source, target, writtenSource, writtenTarget;
      if (expanded.empty() || !SplitAtLast(expanded, '=', source, target)) continue;
      SplitAtLast(line.Key + "=" + line.Value, '=', writtenSource, writtenTarget);
      const Place where = At(kCopy, line);
      CheckSource(where, Trim(writtenSource), Trim(source));
      target = Trim(target);
      BelowItsFolder(where, "target", Trim(writtenTarget), target);
      context_.Installed.push_back({LowerAscii(target), &component_, where});
    }
  }

  void CheckSource(const Place& where, const std::string& written, const std::string& source) {
    const std::optional<std::string> relative = BelowItsFolder(where, "source", written, source);
    const std::string thisFolder = PlaceholderModel::ThisFolder();
    if (relative && SameText(source.substr(0, thisFolder.size()), thisFolder) && !IsMember(*relative))
      Found().Error(where, "the source " + Quoted(written) + " is not in the component folder");
  }

  // The part of an expanded path below the folder its leading placeholder
  // stands for, "." and ".." resolved. Nothing without such a placeholder or
  // when a ".." climbs above that folder (reported: the installer would reach
  // outside it).
  std::optional<std::string> BelowItsFolder(const Place& where, const char* role, const std::string& written,
                                            const std::string& path) {
    const size_t folder = PlaceholderModel::LeadingFolderLength(path);
    if (folder == 0) return std::nullopt;
    std::optional<std::string> below = ResolvedBelowFolder(path.substr(folder));
    if (!below)
      Found().Error(where, std::string("the ") + role + " " + Quoted(written) + " leaves the folder of " +
                               AnsiToUtf8(written.substr(0, written.find('%', 1) + 1)) + " through \"..\"");
    return below;
  }

  bool IsMember(const std::string& relative) const {
    return std::any_of(component_.Members.begin(), component_.Members.end(),
                       [&](const std::string& member) { return SameText(member, relative); });
  }

  bool InstalledHere(const std::string& path) const {
    const std::string target = LowerAscii(Trim(path));
    return std::any_of(context_.Installed.begin(), context_.Installed.end(),
                       [&](const InstalledFile& file) { return file.Owner == &component_ && file.Target == target; });
  }

  void CheckFileList(const FileList& list) {
    for (const ProfileEntry& line : profile_.Lines(list.Section)) {
      // A line "n=file" names the file after its "="; a line without one is the file.
      const std::string expanded =
          ExpandChecked(context_, At(list.Section, line), line.Key + (line.HasEquals ? "=" + line.Value : ""),
                        PlaceholderScope::DescriptorList);
      const size_t equals = expanded.find('=');
      const std::string file = equals == std::string::npos ? expanded : expanded.substr(equals + 1);
      if (!InstalledHere(file))
        Found().Error(At(list.Section, line),
                      "no [copy] line of this component installs " + Quoted(line.HasEquals ? line.Value : line.Key) +
                          ", and the installer " + list.Action + " only files it wrote in the run");
    }
  }

  void CheckRegistry() {
    for (const ProfileEntry& line : profile_.Lines(kRegistry)) {
      const Place where = At(kRegistry, line);
      if (!line.HasEquals) {
        Found().Error(where, "no \"=\" before the value; the installer cannot split the line");
        continue;
      }
      // The key path and name must be known placeholders; the value is data.
      const std::string path = ExpandChecked(context_, where, line.Key, PlaceholderScope::ProductKeyList);
      const std::string value = ExpandChecked(context_, where, line.Value, PlaceholderScope::ProductKeyList, true);
      std::string key, name;
      if (!SplitAtLast(path, '\\', key, name))
        Found().Error(where, "no \"\\\" between the key path and the value name; the installer cannot split the line");
      if (path.find('|') != std::string::npos || value.find('|') != std::string::npos)
        Found().Warning(where, "the uninstall record cannot hold a \"|\"; the uninstallation would not find the value");
    }
  }

  void CheckIniEdits() {
    for (const ProfileEntry& line : profile_.Lines(kIni)) {
      long long number = 0;
      if (!ParseDecimal(line.Key, number) || number < 0) {
        Found().Warning(At(kIni, line), "the key is not a number; the installer ignores the line");
        continue;
      }
      const std::string expanded = ExpandedLine(kIni, line, "after the number");
      if (expanded.empty()) continue;
      if (expanded.find('=', expanded.find('=') + 1) == std::string::npos)
        Found().Error(At(kIni, line),
                      "no \"=\" between the INI file and its section; the installer passes the edits over");
      const std::string section = "AddIni" + Trim(line.Key);
      if (!profile_.Find(section))
        Found().Warning(At(kIni, line), "there is no section [" + section + "] with the entries to write");
      for (const ProfileEntry& entry : profile_.Lines(section)) {
        if (!entry.HasEquals || Trim(entry.Value).empty())
          Found().Error(At(section, entry), "no value after \"=\"; the installer passes the entry over");
        else
          ExpandChecked(context_, At(section, entry), entry.Key + "=" + entry.Value, PlaceholderScope::DescriptorList,
                        true);
      }
    }
  }

  const ComponentFiles& component_;
};

}  // namespace

void CheckDescriptor(const ComponentFiles& component, CheckContext& context) {
  DescriptorCheck(component, context).Run();
}
