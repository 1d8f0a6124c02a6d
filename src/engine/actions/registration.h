// COM servers and .NET assemblies: self-registration of DLL and executable
// servers, RegAsm and gacutil runs, and the three install steps over the
// components' lists. A file that waits for a restart is registered then.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/actions/pending.h"
#include "engine/records/record_format.h"
#include "engine/report.h"

class TInstallObject;
struct ComponentEntry;

// What a registration of a file that waits for a restart becomes: its
// error record item and its pending line.
struct DeferredAction {
  uint8_t Kind;
  const char* Section;
  PendingKind Pending;
};
constexpr DeferredAction kDeferredComRegistration{rkErrorCom, record_format::kErrorCom, pkCom};
constexpr DeferredAction kDeferredDotNetRegistration{rkErrorDotNetReg, record_format::kErrorDotNetReg,
                                                     pkDotNetRegister};
constexpr DeferredAction kDeferredDotNetInstallation{rkErrorDotNetInst, record_format::kErrorDotNetInst,
                                                     pkDotNetInstall};
// Takes the files that wait for a restart off the list and records the
// action for the completion.
void DeferWaitingFiles(TInstallObject& object, ComponentEntry& component, std::vector<std::string>& list,
                       const DeferredAction& action);
// Registers (or unregisters) COM servers, DLLs before executables; failed
// ones leave the list and wait in pending. True when all succeeded.
bool RegisterComList(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending, bool unregister);
bool RegisterAssemblyList(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending,
                          const std::string& netFolder, bool unregister);
// Puts assemblies into the global cache, stopping at the first failure.
bool InstallAssemblyList(TInstallObject& object, std::vector<std::string>& list, PendingActions& pending,
                         const std::string& netFolder);
// The install steps over the components' COM servers and assemblies.
int RegisterComps(TInstallObject& object);
int InstallDotNet(TInstallObject& object);
int RegisterDotNet(TInstallObject& object);
