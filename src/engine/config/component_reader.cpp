// Reading the component descriptors (ver.ini) of an install run into
// component entries with expanded, sorted work lists.
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/result_codes.h"
#include "sys/dotnet.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"
#include "sys/path_text.h"
#include "sys/text.h"

namespace {

const char kSection[] = "component";

}  // namespace

int TInstallObject::ProcessInstInis() {
  Report(rkMessage, "Ermittle zu installierende Komponenten...", rfLog | rfStatus);
  if (!Settings) return MissingSettings("ProcessInstInis");
  StepProgress progress(ReportProcedure, "ProcessInstInis", false, static_cast<int>(TempFiles.size()));
  Settings->Components.clear();
  int result = rcOk;
  for (size_t i = 0; i < TempFiles.size() && result == rcOk; ++i) {
    if (LowerAscii(FileNamePart(TempFiles[i])) == "ver.ini") {
      try {
        result = ReadComponent(TempFiles[i]);
      } catch (...) {
        result = rcException;
      }
    }
    progress.Advance();
  }
  progress.Finish();
  return result;
}

int TInstallObject::ReadComponent(const std::string& path) {
  if (!FileExists(path)) return rcFileNotFound;
  const IniFile ini(path);
  ComponentEntry entry;
  entry.Name = ini.ReadString(kSection, "name", "").substr(0, 127);
  const std::string dotNetVersion = ini.ReadString(kSection, "dotNetVer", "");
  if (!dotNetVersion.empty()) {
    // Without the runtime the component is left out, silently.
    if (!FindDotNet(dotNetVersion, entry.DotNetDir)) return rcOk;
    entry.DotNetDir = entry.DotNetDir.substr(0, 260);
  }
  entry.Force = ini.ReadInteger(kSection, "force", 0) == 1;
  entry.ExeName = ini.ReadString(kSection, "exename", "").substr(0, 127);
  entry.Version = ini.ReadString(kSection, "version", "").substr(0, 22);
  const std::string folder = ExpandPlaceholders(ini.ReadString(kSection, "path", ""));
  entry.Path = Trim(folder).empty() ? folder : WithTrailingBackslash(folder).substr(0, 260);

  const std::string descriptorFolder = FolderPart(path);
  const auto section = [&](const char* name, bool registry = false) {
    std::vector<std::string> lines = ini.SectionLines(name);
    ExpandDescriptorSection(lines, descriptorFolder, registry);
    return lines;
  };
  entry.Copy = section("copy");
  entry.Register = section("register");
  entry.Shared = section("shared");
  entry.DotNetRegister = section("dotnetregister");
  entry.DotNetInstall = section("dotNetinstall");
  entry.Registry = section("registry", true);
  for (const std::string& line : section("ini")) {
    const size_t equals = line.find('=');
    long long number = 0;
    if (equals == std::string::npos || !ParseDecimal(line.substr(0, equals), number) || number < 0) continue;
    const std::string rest = line.substr(equals + 1);
    // The section is named by the key as written: "01" reads [AddIni01].
    for (const std::string& edit : section(("AddIni" + Trim(line.substr(0, equals))).c_str()))
      entry.IniEdits.push_back(rest + "=" + edit);
  }
  ini.ReleaseCache();
  Settings->Components.push_back(std::move(entry));
  return rcOk;
}
