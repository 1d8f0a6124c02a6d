#include "engine/config/component_reader.h"

#include "engine/config/descriptor_sections.h"
#include "engine/config/placeholders.h"
#include "engine/config/product_files.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/dotnet.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/locale_order.h"
#include "sys/path_text.h"
#include "sys/text.h"

using namespace descriptor_file;

int ProcessInstInis(TInstallObject& object) {
  object.Report(rkMessage, "Ermittle zu installierende Komponenten...", rfLog | rfStatus);
  // The components take the order of their descriptors' paths.
  std::sort(object.TempFiles.begin(), object.TempFiles.end(), LocaleLessText);
  if (!object.Settings) return MissingSettings(object, WeightedStep::ProcessInstInis);
  StepProgress progress(object.ReportProcedure, WeightedStep::ProcessInstInis,
                        static_cast<int>(object.TempFiles.size()));
  object.Settings->Components.clear();
  int result = rcOk;
  for (size_t i = 0; i < object.TempFiles.size() && result == rcOk; ++i) {
    if (LowerAscii(FileNamePart(object.TempFiles[i])) == "ver.ini") {
      try {
        result = ReadComponent(object, object.TempFiles[i]);
      } catch (...) {
        result = rcException;
      }
    }
    progress.Advance();
  }
  progress.Finish();
  return result;
}

namespace {

// The lists of the descriptor's sections, expanded and sorted; [ini] names
// the AddIni<n> sections whose lines become "file=section=key=value" edits.
void ReadComponentLists(const TInstallObject& object, const IniFile& ini, const std::string& descriptorFolder,
                        ComponentEntry& entry) {
  const auto section = [&](const std::string& name, LineExpansion expansion) {
    std::vector<std::string> lines = ini.SectionLines(name);
    ExpandComponentSection(object, lines, descriptorFolder, expansion);
    return lines;
  };
  for (const ListSection& list : kListSections) {
    std::vector<std::string> lines = section(list.Name, list.Expansion);
    switch (list.Rule) {
      case LineRule::AsWritten:
        entry.*list.Lines = std::move(lines);
        break;
      case LineRule::SourceTarget:
        for (const std::string& line : lines) entry.Copy.push_back(CopyEntryOf(line));
        break;
      case LineRule::NamedSections:
        for (const std::string& line : lines) {
          const size_t equals = line.find('=');
          long long number = 0;
          if (equals == std::string::npos || !ParseDecimal(line.substr(0, equals), number) || number < 0) continue;
          const std::string rest = line.substr(equals + 1);
          // The section is named by the key as written: "01" reads [AddIni01].
          for (const std::string& edit : section(kAddIni + Trim(line.substr(0, equals)), list.Expansion))
            entry.IniEdits.push_back(rest + "=" + edit);
        }
        break;
    }
  }
}

}  // namespace

int ReadComponent(TInstallObject& object, const std::string& path) {
  if (!FileExists(path)) return rcFileNotFound;
  const IniFile ini(path);
  ComponentEntry entry;
  entry.Name = ini.ReadString(kComponent, kName, "").substr(0, kComponentNameLimit);
  const std::string dotNetVersion = ini.ReadString(kComponent, kDotNetVer, "");
  if (!dotNetVersion.empty()) {
    // Without the runtime the component is left out, silently.
    if (!FindDotNet(dotNetVersion, entry.DotNetDir)) return rcOk;
    entry.DotNetDir = entry.DotNetDir.substr(0, kComponentPathLimit);
  }
  entry.Force = ini.ReadInteger(kComponent, kForce, 0) == 1;
  entry.ExeName = ini.ReadString(kComponent, kExeName, "").substr(0, kExeNameLimit);
  entry.Version = ini.ReadString(kComponent, kVersion, "").substr(0, kVersionLimit);
  const std::string folder = object.ExpandPlaceholders(ini.ReadString(kComponent, kPath, ""));
  entry.Path = Trim(folder).empty() ? folder : WithTrailingBackslash(folder).substr(0, kComponentPathLimit);
  ReadComponentLists(object, ini, FolderPart(path), entry);
  ini.ReleaseCache();
  object.Settings->Components.push_back(std::move(entry));
  return rcOk;
}

void ExpandComponentSection(const TInstallObject& object, std::vector<std::string>& lines,
                            const std::string& descriptorFolder, LineExpansion expansion) {
  const DescriptorKeys keys{WithTrailingBackslash(descriptorFolder), object.RegUser(), object.RegMachine()};
  ::ExpandDescriptorSection(lines, expansion, keys, object.PlaceholderTable, LocaleLessText);
}

CopyEntry CopyEntryOf(const std::string& line) {
  CopyEntry entry;
  SplitAtLast(line, '=', entry.Source, entry.Target);
  entry.Source = Trim(entry.Source);
  entry.Target = Trim(entry.Target);
  return entry;
}
