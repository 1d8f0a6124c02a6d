#include "engine/actions/registration.h"

#include <windows.h>

#include <algorithm>

#include "engine/actions/component_step.h"
#include "engine/actions/pending.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/records/record_entries.h"
#include "engine/records/record_format.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"
#include "sys/library_proc.h"
#include "sys/locale_order.h"
#include "sys/path_text.h"
#include "sys/run_process.h"
#include "sys/system_error.h"
#include "sys/system_library.h"
#include "sys/text.h"
#include "sys/version.h"

using namespace record_format;

namespace {

using ServerEntry = HRESULT(__stdcall*)();

// The file of a line "N=path"; a line without "=" is the file.
std::string RegistrationPath(const std::string& line) {
  const size_t equals = line.find('=');
  return Trim(equals == std::string::npos ? line : line.substr(equals + 1));
}

// Loads the DLL and calls its registration entry; error receives the
// system's error code of a failure.
bool CallServerEntry(const std::string& path, const char* entryName, DWORD& error) {
  HMODULE library = LoadLibraryWithItsFolder(path.c_str());
  if (!library) {
    error = GetLastError();
    return false;
  }
  const auto entry = LibraryProc<ServerEntry>(library, entryName);
  error = entry ? 0 : GetLastError();
  const bool registered = entry && entry() == S_OK;
  if (entry && !registered) error = GetLastError();
  FreeLibrary(library);
  return registered;
}

void EraseAt(std::vector<std::string>& list, size_t i) { list.erase(list.begin() + static_cast<std::ptrdiff_t>(i)); }

// Drops the files that wait for a restart (recorded for the completion)
// and those this installation did not write.
void FilterRegistrations(TInstallObject& object, ComponentEntry& component, std::vector<std::string>& list,
                         bool dotNet) {
  DeferWaitingFiles(object, component, list, dotNet ? kDeferredDotNetRegistration : kDeferredComRegistration);
  for (size_t i = 0; i < list.size();) {
    const std::string path = RegistrationPath(list[i]);
    if (!component.Wrote(path)) {
      // Not written by this installation: registered already.
      EraseAt(list, i);
    } else {
      ++i;
    }
  }
}

}  // namespace

bool RegisterComList(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending, bool unregister) {
  // Every DLL before the executables, which may need them.
  std::sort(list.begin(), list.end(),
            [](const std::string& a, const std::string& b) { return CompareByExtension(a, b) < 0; });
  bool all = true;
  for (size_t i = 0; i < list.size();) {
    const std::string path = RegistrationPath(list[i]);
    object.Log(FormatText(unregister ? "Deregistriere COM:     %s" : "Registriere COM:    %s", path.c_str()));
    DWORD error = 0;
    bool done;
    if (LowerAscii(FileExtension(path)) == ".exe") {
      done = RunProcess(QuotedIfBlank(FileNamePart(path)) + (unregister ? " /UNREGSERVER" : " /REGSERVER"),
                        FolderPart(path), -1);
      error = GetLastError();
    } else {
      done = CallServerEntry(path, unregister ? "DllUnregisterServer" : "DllRegisterServer", error);
    }
    if (done) {
      if (!unregister) object.Report(rkCom, path, 0);
      ++i;
      continue;
    }
    all = false;
    object.Log("Fehler:  " + SystemErrorText(error));
    pending.push_back(Pending(pkCom, path));
    EraseAt(list, i);
    LogError(object, "Komponente " + path + " ", unregister ? "deregistriert" : "registriert");
    if (!unregister) object.Report(rkErrorCom, RecordItemText(kErrorCom, kDeferredKey, path), 0);
  }
  return all;
}

bool RegisterAssemblyList(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending,
                          const std::string& netFolder, bool unregister) {
  std::sort(list.begin(), list.end(), LocaleLessText);
  bool all = true;
  for (size_t i = 0; i < list.size();) {
    const std::string path = RegistrationPath(list[i]);
    object.Log(FormatText(unregister ? "Deregistriere dotNET:  %s" : "Registriere dotNET: %s", path.c_str()));
    const std::string command = "RegAsm.exe \"" + path + "\" " + (unregister ? "/unregister" : "");
    if (RunProcess(command, netFolder, -1)) {
      if (!unregister) object.Report(rkDotNet, path, 0);
      ++i;
      continue;
    }
    all = false;
    pending.push_back(Pending(pkDotNetRegister, path));
    LogError(object, "Komponente " + path + " ", unregister ? "deregistriert" : "registriert");
    if (!unregister) object.Report(rkErrorDotNetReg, RecordItemText(kErrorDotNetReg, kDeferredKey, path), 0);
    EraseAt(list, i);
  }
  return all;
}

bool InstallAssemblyList(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending,
                         const std::string& netFolder) {
  std::sort(list.begin(), list.end(), LocaleLessText);
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string path = RegistrationPath(list[i]);
    object.Log(FormatText("Installiere dotNET: %s", path.c_str()));
    const std::string command = "gacutil.exe /i \"" + path + "\"";
    SetLastError(0);
    const bool started = RunProcess(command, netFolder, -1);
    const DWORD error = GetLastError();
    if (started) {
      object.Report(rkGlobalCache, path, 0);
      continue;
    }
    const std::string message =
        error ? SystemErrorText(error) : FormatText("call to %s in %s failed", command.c_str(), netFolder.c_str());
    pending.push_back(Pending(pkDotNetInstall, path));
    LogError(object, "Komponente " + path + " ", "installiert", "\r\n" + message);
    object.Report(rkErrorDotNetInst, RecordItemText(kErrorDotNetInst, kDeferredKey, path), 0);
    EraseAt(list, i);
    // The assemblies after it may depend on it: none is tried.
    return false;
  }
  return true;
}

void DeferWaitingFiles(TInstallObject& object, ComponentEntry& component, std::vector<std::string>& list,
                       const DeferredAction& action) {
  for (size_t i = 0; i < list.size();) {
    const std::string path = RegistrationPath(list[i]);
    if (!IsPending(component.Pending, pkCopy, path)) {
      ++i;
      continue;
    }
    // The file waits beside its target: it is registered after the restart.
    object.Report(action.Kind, RecordItemText(action.Section, kDeferredKey, path), 0);
    EraseAt(list, i);
    component.Pending.push_back(Pending(action.Pending, path));
  }
}

int RegisterComps(TInstallObject& object) {
  ComponentStep step{WeightedStep::RegisterComps, "Registriere COM Komponenten...", false,
                     [&object](ComponentEntry& component) {
                       RegisterComList(object, component.Register, component.Pending, false);
                       return rcOk;
                     }};
  step.Items = [](const ComponentEntry& component) { return component.Register.size(); };
  step.ExceptionText = "Ausnahmefehler bei der Registrierung";
  // Files that wait for a restart, and those this installation did not write, are left to others.
  step.Prepare = [&object] {
    for (ComponentEntry& component : object.Settings->Components) {
      FilterRegistrations(object, component, component.Register, false);
      FilterRegistrations(object, component, component.DotNetRegister, true);
    }
    return rcOk;
  };
  return RunComponentStep(object, step);
}

int InstallDotNet(TInstallObject& object) {
  ComponentStep step{
      WeightedStep::InstallDotNet, "Installiere dotNet Komponenten...", false, [&object](ComponentEntry& component) {
        // A component whose assemblies are not all in place is not recorded as installed.
        if (!InstallAssemblyList(object, component.DotNetInstall, component.Pending, component.DotNetDir))
          component.Name.clear();
        return rcOk;
      }};
  step.Items = [](const ComponentEntry& component) { return component.DotNetInstall.size(); };
  step.ExceptionText = "Ausnahmefehler bei der dotNet Installation";
  return RunComponentStep(object, step);
}

int RegisterDotNet(TInstallObject& object) {
  ComponentStep step{
      WeightedStep::RegisterDotNet, "Registriere dotNET Komponenten...", false, [&object](ComponentEntry& component) {
        RegisterAssemblyList(object, component.DotNetRegister, component.Pending, component.DotNetDir, false);
        return rcOk;
      }};
  step.Items = [](const ComponentEntry& component) { return component.DotNetRegister.size(); };
  step.ExceptionText = "Ausnahmefehler bei der Registrierung";
  return RunComponentStep(object, step);
}
