// Program groups in the user's Programs menu and shell shortcuts, created
// from install.ini and removed again from the uninstall record. What stood
// before the installation is neither recorded nor removed.
#include <windows.h>
#include <shellapi.h>

#include "engine/install_object.h"
#include "engine/progress.h"
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
    object.LogError("Programmgruppe (" + name + ") ", "angelegt");
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
    object.LogError("Link (" + name + ") ", "angelegt");
}

}  // namespace

void TInstallObject::CreateLinks(bool openFolders) {
  const std::vector<std::string> none;
  const std::vector<std::string>& groups = Settings ? Settings->Groups : none;
  const std::vector<std::string>& links = Settings ? Settings->Links : none;
  StepProgress progress(ReportProcedure, WeightedStep::CreateLinks, static_cast<int>(groups.size() + links.size()));
  const std::string menu = ProgramsMenu();
  // Only the keys 1 to n are looked up, n being the number of lines.
  for (size_t k = 1; k <= groups.size(); ++k) {
    const std::string name = Trim(LineValue(groups, std::to_string(k)));
    if (!name.empty()) CreateGroup(*this, menu, name, openFolders);
    progress.Advance();
  }
  for (const std::string& line : links) {
    std::string link, target;
    SplitAtLast(line, '=', link, target);
    if (!Trim(link).empty() && !Trim(target).empty())
      CreateLink(*this, ExpandPlaceholders(link), ExpandPlaceholders(target));
    progress.Advance();
  }
  progress.Finish();
}

void TInstallObject::RemoveLinks() {
  const std::vector<std::string> none;
  const std::vector<std::string>& links = Uninstall ? Uninstall->Links : none;
  const std::vector<std::string>& groups = Uninstall ? Uninstall->Groups : none;
  StepProgress progress(ReportProcedure, WeightedStep::RemoveLinks, static_cast<int>(links.size() + groups.size()));
  if (!links.empty()) Report(rkMessage, "Entferne Links...", rfLog | rfStatus);
  for (const std::string& line : links) {
    std::string link, target;
    SplitAtLast(LowerAscii(line), '=', link, target);
    if (!target.empty() && FileExists(link + ".lnk")) {
      Log(FormatText("Lösche Shortcut:    %s", link.c_str()));
      if (!RemoveShortcut(OwnerWindow, link)) LogError("Link... (" + link + ") ", "gelöscht");
    }
    progress.Advance();
  }
  if (!groups.empty()) Report(rkMessage, "Entferne Programmgruppen...", rfLog | rfStatus);
  const std::string menu = ProgramsMenu(), menuFolder = ResolvedPath(menu);
  for (const std::string& name : groups) {
    // Removed only when empty: a group that holds foreign shortcuts stays.
    const std::string folder = menu + name;
    if (!LiesBelow(ResolvedPath(folder), menuFolder)) {
      Log(FormatText("Warnung: Programmgruppe %s gehört nicht zur Installation und bleibt erhalten.", name.c_str()));
      progress.Advance();
      continue;
    }
    Log(FormatText("Lösche Programmgruppe:   %s", folder.c_str()));
    KillDir(folder);
    if (FolderExists(folder)) LogWarning("Programmgruppe... (" + folder + ") ", "gelöscht");
    progress.Advance();
  }
  progress.Finish();
}
