#include "engine/actions/registry_actions.h"

#include <windows.h>

#include <algorithm>

#include "engine/actions/component_step.h"
#include "engine/actions/pending.h"
#include "engine/actions/uninstaller_copy.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_entries.h"
#include "engine/records/record_format.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "engine/system_keys.h"
#include "sys/file_system.h"
#include "sys/locale_order.h"
#include "sys/registry.h"
#include "sys/system_error.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// A trimmed decimal text that fits a signed 32-bit number.
bool IsRegistryNumber(const std::string& text, int32_t& number) {
  long long value = 0;
  if (!ParseDecimal(text, value) || value < INT32_MIN || value > INT32_MAX) return false;
  number = static_cast<int32_t>(value);
  return true;
}

// Splits "key\name" at its last backslash.
bool SplitValuePath(const std::string& path, std::string& key, std::string& name) {
  return SplitAtLast(path, '\\', key, name);
}

// Kilobytes of the files below folder, rounded up.
int64_t FolderKilobytes(const std::string& folder) {
  std::vector<std::string> files;
  FindFiles(files, folder, "*.*", true, true);
  int64_t bytes = 0;
  for (const std::string& file : files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data))
      bytes += static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  }
  return (bytes + 1023) / 1024;
}

void ApplyRegistryLine(TInstallObject& object, const std::string& line) {
  std::string left, value, key, name;
  if (!SplitAtLast(line, '=', left, value)) {
    LogWarning(object, "Registry Eintrag (" + line + ") ", "geschrieben");
    return;
  }
  SplitValuePath(left, key, name);
  if (Trim(value) == "@")
    RegDelete(object, key, name, false);
  else
    RegWriteNumberOrText(object, key, name, value);
}

void WriteProductInfo(TInstallObject& object, const std::string& now) {
  const std::string machine = object.RegMachine(), user = object.RegUser();
  // Values that stand already are written again, so that the record takes
  // them and the uninstallation removes them.
  std::string existing;
  if (RegReadString(user, "LastUpdate", existing) && !existing.empty())
    RegWriteNumberOrText(object, user, "LastUpdate", existing);
  // The base component's registration: an update that does not carry the
  // base component records it too.
  const std::string base = object.Settings->BaseComponent;
  if (!base.empty() && RegReadString(machine + "\\Components", base, existing) && !existing.empty())
    RegWriteNumberOrText(object, machine + "\\Components", base, existing);
  RegWriteNumberOrText(object, user, object.Update() ? "LastUpdate" : "LastInstall", now);
  RegWriteNumberOrText(object, machine, "InstallPath", object.InstallDir);
  RegWriteNumberOrText(object, user, "InstallPath", object.InstallDir);
  RegWriteNumberOrText(object, machine, "InstallerVersion", object.InstallerVersion);
}

void WriteComponentInfo(TInstallObject& object, const ComponentEntry& component, const std::string& now) {
  const std::string machineKey = object.RegMachine() + "\\" + component.Name;
  const std::string userKey = object.RegUser() + "\\" + component.Name;
  const bool waiting = HasPending(component.Pending, pkCopy);
  std::string version;
  const bool registered = RegReadString(machineKey, "Version", version) && !version.empty();
  if (registered && !component.WroteAny() && !waiting) return;

  const std::string path =
      !component.Path.empty() && FolderExists(component.Path) ? component.Path + component.ExeName : "system";
  RegWriteNumberOrText(object, userKey, "log", "0");
  RegWriteNumberOrText(object, machineKey, "InstallPath", path);
  RegWriteNumberOrText(object, userKey, "InstallPath", path);
  RegDelete(object, userKey, object.Update() ? "Install" : "Update", false);
  RegWriteNumberOrText(object, userKey, object.Update() ? "Update" : "Install", now);
  if (waiting) {
    RegWriteNumberOrText(object, machineKey, "NeedReboot", "1");
    object.Report(rkErrorRegistry, RecordItemText(kRegistry, machineKey + "\\NeedReboot", "@"), 0);
  }
  RegWriteNumberOrText(object, machineKey, "Version", component.Version);
  RegWriteNumberOrText(object, object.RegMachine() + "\\Components", component.Name, now);
}

void WriteInstallationValues(TInstallObject& object, const std::string& key) {
  // What deployment tools show of an installation besides its name and version.
  RegWriteNumberOrText(object, key, "EstimatedSize", std::to_string(FolderKilobytes(object.InstallDir)));
  const InstallSettings& settings = *object.Settings;
  // Texts as the system's list of programs reads them, even when they look like numbers.
  if (!settings.Publisher.empty()) RegWriteText(object, key, "Publisher", settings.Publisher);
  SYSTEMTIME now;
  GetLocalTime(&now);
  RegWriteText(object, key, "InstallDate", FormatText("%04u%02u%02u", now.wYear, now.wMonth, now.wDay));
  if (!settings.SupportUrl.empty()) {
    RegWriteText(object, key, "URLInfoAbout", settings.SupportUrl);
    RegWriteText(object, key, "HelpLink", settings.SupportUrl);
  }
}

// Deletes the recorded values, last first, keeping the lines of those that
// could not be deleted.
void DeleteRecordedValues(TInstallObject& object, std::vector<std::string>& lines, StepProgress* progress) {
  std::sort(lines.begin(), lines.end(), LocaleLessText);
  for (size_t i = lines.size(); i-- > 0;) {
    std::string left, value, key, name;
    if (SplitAtLast(lines[i], '=', left, value) && SplitValuePath(left, key, name) &&
        RegDelete(object, key, name, false))
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    else
      LogWarning(object, "Registry Eintrag (" + lines[i] + ") ", "gelöscht");
    if (progress) progress->Advance();
  }
}

// The product's key and the keys above it below Software, outermost first;
// none when the key lies below a key many products share.
std::vector<std::string> OwnKeys(const std::string& productKey) {
  std::vector<std::string> keys;
  const std::string lower = LowerAscii(productKey);
  const size_t software = lower.find("\\software\\");
  if (software == std::string::npos || software != lower.find('\\')) return keys;
  const size_t first = software + 10;
  if (IsSharedSoftwareKey(lower.substr(first, lower.find('\\', first) - first))) return keys;
  for (size_t at = productKey.find('\\', first); at != std::string::npos; at = productKey.find('\\', at + 1))
    keys.push_back(productKey.substr(0, at));
  keys.push_back(productKey);
  return keys;
}

// Writes the value, a DWORD when asNumber, and records it for the uninstallation.
void WriteRecorded(TInstallObject& object, const std::string& key, const std::string& name, const std::string& value,
                   bool asNumber) {
  const std::string path = Trim(key), valueName = Trim(name);
  if (path.empty() || valueName.empty()) return;
  const std::string entry = path + "\\" + valueName;
  object.Log(FormatText("Schreibe Registry:  %s", (entry + "=" + value).c_str()));
  int32_t number = 0;
  const bool written = asNumber && IsRegistryNumber(value, number) ? RegWriteInteger(path, valueName, number)
                                                                   : RegWriteString(path, valueName, value);
  if (written)
    object.Report(rkRegistry, entry, 0);
  else
    LogWarning(object, "Registry Eintrag ", "geschrieben");
}

}  // namespace

bool IsSharedSoftwareKey(const std::string& name) {
  const std::string lower = LowerAscii(name);
  return lower == "microsoft" || lower == "classes" || lower == "policies" || lower == "wow6432node";
}

void RegWriteNumberOrText(TInstallObject& object, const std::string& key, const std::string& name,
                          const std::string& value) {
  WriteRecorded(object, key, name, value, true);
}

void RegWriteText(TInstallObject& object, const std::string& key, const std::string& name, const std::string& value) {
  WriteRecorded(object, key, name, value, false);
}

bool RegDelete(TInstallObject& object, const std::string& key, const std::string& name, bool deleteKey) {
  const std::string path = Trim(key), valueName = Trim(name);
  if (path.empty()) return false;
  object.Log(FormatText("Lösche Registry:    %s", (path + "\\" + valueName).c_str()));
  if (RegDeleteEntry(path, valueName, deleteKey)) return true;
  LogWarning(object, "Registry Eintrag ", "gelöscht");
  return false;
}

int SetRegUserInfo(TInstallObject& object) {
  return RunComponentStep(object, {WeightedStep::SetRegUserInfo, "Setze Benutzer Installationsdaten...", true,
                                   [&object](ComponentEntry& component) {
                                     for (const std::string& line : component.Registry) ApplyRegistryLine(object, line);
                                     return rcOk;
                                   }});
}

int SetRegInstInfo(TInstallObject& object) {
  // Fixed formats, whatever the user's settings: tools read these values.
  const std::string now = LogTimeStamp();
  ComponentStep step{WeightedStep::SetRegInstInfo, "Setze Installationsdaten...", true,
                     [&object, &now](ComponentEntry& component) {
                       if (!component.Name.empty()) WriteComponentInfo(object, component, now);
                       return rcOk;
                     }};
  step.Prepare = [&object, &now] {
    WriteProductInfo(object, now);
    return rcOk;
  };
  return RunComponentStep(object, step);
}

void SetRegUninstInfo(TInstallObject& object, const std::string& displayName) {
  object.Report(rkMessage, "Setze Deinstallationsdaten...", rfLog | rfStatus);
  const std::string exe = UninstallerCommand(object);
  // Without a product name the entry would be written into the list's own key.
  if (!FileExists(UninstallerPath(object)) || Trim(object.ProductName).empty()) {
    object.Log("Fehler:  Uninstall Info konnte nicht gesetzt werden");
    return;
  }
  const std::string command = exe + (object.Forced ? " -force -uninstall:" : " -uninstall:") + "\"" + object.UninstDir +
                              kUninstallRecord + "\"";
  const std::string key = std::string(kUninstallKeys) + "\\" + object.ProductName;
  RegWriteNumberOrText(object, key, "UninstallString", command);
  RegWriteNumberOrText(object, key, "DisplayName", displayName);
  RegWriteNumberOrText(object, key, "DisplayIcon", UninstallerPath(object));
  // What deployment tools and the system's list of programs read besides.
  RegWriteNumberOrText(object, key, "InstallLocation", object.InstallDir);
  RegWriteNumberOrText(object, key, "DisplayVersion", object.InstallerVersion);
  RegWriteNumberOrText(object, key, "QuietUninstallString", command + " -hide");
  RegWriteNumberOrText(object, key, "NoModify", "1");
  RegWriteNumberOrText(object, key, "NoRepair", "1");
  WriteInstallationValues(object, key);
}

void RefreshUninstallEntry(TInstallObject& object) {
  const std::string key = std::string(kUninstallKeys) + "\\" + object.ProductName;
  if (Trim(object.ProductName).empty() || !OpenKey(OpenRegPath(key, false, KEY_READ))) return;
  // Deployment tools tell the installed version by DisplayVersion.
  RegWriteNumberOrText(object, key, "DisplayVersion", object.InstallerVersion);
  WriteInstallationValues(object, key);
}

std::vector<std::string> TakeUninstallEntry(std::vector<std::string>& lines) {
  const std::string below = LowerAscii(std::string(kUninstallKeys) + "\\");
  std::vector<std::string> entry;
  const auto isEntry = [&below](const std::string& line) { return LowerAscii(line).rfind(below, 0) == 0; };
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(entry), isEntry);
  lines.erase(std::remove_if(lines.begin(), lines.end(), isEntry), lines.end());
  return entry;
}

void KillRegistryData(TInstallObject& object, std::vector<std::string>& lines, const std::string& userKey,
                      const std::string& machineKey) {
  object.Report(rkMessage, "Lösche Installationsdaten...", rfLog | rfStatus);
  StepProgress progress(object.ReportProcedure, WeightedStep::KillRegistryData, static_cast<int>(lines.size()));
  DeleteRecordedValues(object, lines, &progress);
  // The mark is never recorded: a failed update sets it after the record it reads.
  int32_t mark = 0;
  if (!machineKey.empty() && RegReadInteger(machineKey, kInProgressValue, mark))
    RegDelete(object, machineKey, kInProgressValue, false);
  // Writing and deleting a last value removes the product key once nothing
  // else is left in it; the key above it stays.
  for (const std::string& key : {machineKey, userKey}) {
    if (key.empty()) continue;
    RegWriteString(key, "uninst", LogTimeStamp());
    RegDelete(object, key, "uninst", false);
  }
  progress.Finish();
}

void KillUninstallEntry(TInstallObject& object, std::vector<std::string>& lines) {
  DeleteRecordedValues(object, lines, nullptr);
}

void RecordCreatedKeys(TInstallObject& object) {
  for (const std::string& productKey : {object.RegMachine(), object.RegUser()})
    for (const std::string& key : OwnKeys(productKey)) {
      std::vector<std::string> names;
      bool any = false;
      if (!RegKeyHasEntries(key, names, any, false)) object.Report(rkCreatedKey, key, 0);
    }
}

std::vector<std::string> RemoveCreatedKeys(TInstallObject& object, const std::vector<std::string>& keys,
                                           const std::string& userKey, const std::string& machineKey) {
  std::vector<std::string> own = OwnKeys(userKey), kept;
  for (const std::string& key : OwnKeys(machineKey)) own.push_back(key);
  std::vector<std::string> deepestFirst = keys;
  std::sort(deepestFirst.begin(), deepestFirst.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& key : deepestFirst) {
    if (std::none_of(own.begin(), own.end(), [&key](const std::string& ours) { return SameText(ours, key); })) continue;
    std::vector<std::string> names;
    bool hasEntries = false;
    std::string parent, name;
    if (!RegKeyHasEntries(key, names, hasEntries, false) || !SplitAtLast(key, '\\', parent, name)) continue;
    if (hasEntries)
      kept.push_back(key);
    else
      RegDelete(object, parent, name, true);
  }
  return kept;
}
