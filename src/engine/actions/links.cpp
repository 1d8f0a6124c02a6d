#include "engine/actions/links.h"

#include <windows.h>

#include <shellapi.h>

#include "engine/actions/file_copy.h"
#include "engine/boundary/record_trust.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/run_report.h"
#include "sys/file_system.h"
#include "sys/normal_path.h"
#include "sys/path_text.h"
#include "sys/resolved_path.h"
#include "sys/shell_folders.h"
#include "sys/shortcuts.h"
#include "sys/text.h"

namespace {

// The current user's Programs menu, with a trailing backslash; empty when unknown.
std::string ProgramsMenu() { return WithTrailingBackslash(ReadShellFolder("Programs", false)); }

void CreateGroup(TInstallObject& object, const std::string& menu, const std::string& name, bool openFolder) {
  const std::string folder = menu + name;
  if (!menu.empty() && FolderExists(folder)) return;
  object.Log(FormatText("Erzeuge Programmgruppe:  %s", name.c_str()));
  if (menu.empty() || !ForceFolders(folder) || !FolderExists(folder)) {
    LogError(object, "Programmgruppe (" + name + ") ", "angelegt");
    return;
  }
  object.Report(rkGroup, name, 0);
  if (openFolder) ShellExecuteA(object.OwnerWindow, nullptr, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CreateLink(TInstallObject& object, const std::string& link, const std::string& target) {
  if (FileExists(link + ".lnk")) return;
  const std::string name = FileNamePart(link);
  object.Log(FormatText("Erzeuge Shortcut:   %s", name.c_str()));
  if (CreateShortcut(link, target, target))
    object.Report(rkLink, link + "|" + target, 0);
  else
    LogError(object, "Link (" + name + ") ", "angelegt");
}

}  // namespace

void CreateLinks(TInstallObject& object, bool openFolders) {
  const std::vector<std::string> none;
  const std::vector<std::string>& groups = object.Settings ? object.Settings->Groups : none;
  const std::vector<std::string>& links = object.Settings ? object.Settings->Links : none;
  StepProgress progress(object.ReportProcedure, WeightedStep::CreateLinks,
                        static_cast<int>(groups.size() + links.size()));
  const std::string menu = ProgramsMenu();
  // Only the keys 1 to n are looked up, n being the number of lines.
  for (size_t k = 1; k <= groups.size(); ++k) {
    const std::string name = Trim(LineValue(groups, std::to_string(k)));
    if (!name.empty()) CreateGroup(object, menu, name, openFolders);
    progress.Advance();
  }
  for (const std::string& line : links) {
    std::string link, target;
    SplitAtLast(line, '=', link, target);
    if (!Trim(link).empty() && !Trim(target).empty())
      CreateLink(object, object.ExpandPlaceholders(link), object.ExpandPlaceholders(target));
    progress.Advance();
  }
  progress.Finish();
}

void RemoveLinks(TInstallObject& object) {
  const std::vector<std::string> none;
  const std::vector<std::string>& links = object.Uninstall ? object.Uninstall->Links : none;
  const std::vector<std::string>& groups = object.Uninstall ? object.Uninstall->Groups : none;
  StepProgress progress(object.ReportProcedure, WeightedStep::RemoveLinks,
                        static_cast<int>(links.size() + groups.size()));
  if (!links.empty()) object.Report(rkMessage, "Entferne Links...", rfLog | rfStatus);
  for (const std::string& line : links) {
    std::string link, target;
    SplitAtLast(LowerAscii(line), '=', link, target);
    if (!target.empty() && FileExists(link + ".lnk")) {
      object.Log(FormatText("Lösche Shortcut:    %s", link.c_str()));
      if (!RemoveShortcut(object.OwnerWindow, link)) LogError(object, "Link... (" + link + ") ", "gelöscht");
    }
    progress.Advance();
  }
  if (!groups.empty()) object.Report(rkMessage, "Entferne Programmgruppen...", rfLog | rfStatus);
  const std::string menu = ProgramsMenu(), menuFolder = ResolvedPath(menu);
  const DeletionBoundary boundary = Boundary(object);
  for (const std::string& name : groups) {
    // Removed only when empty: a group that holds foreign shortcuts stays.
    const std::string folder = menu + name;
    if (!LiesBelow(ResolvedPath(folder), menuFolder)) {
      object.Log(
          FormatText("Warnung: Programmgruppe %s gehört nicht zur Installation und bleibt erhalten.", name.c_str()));
      progress.Advance();
      continue;
    }
    object.Log(FormatText("Lösche Programmgruppe:   %s", folder.c_str()));
    KillDir(object, folder, boundary);
    if (FolderExists(folder)) LogWarning(object, "Programmgruppe... (" + folder + ") ", "gelöscht");
    progress.Advance();
  }
  progress.Finish();
}
