// A console stand-in for the installer window, for the tests: started with the
// installer's own command line, it initialises the install engine for the run
// mode, prints what the initialisation left, writes the records and the log as
// the window does, and ends with the result code as its exit code. Packed as
// the program image of an installer, it initialises from its own payload.
// With ZQ_DRIVER_OPERATION=1 in the environment it goes on, after a
// successful initialisation, with the operation of the run mode; its
// questions are answered by "-answer:yes" or "-answer:no" on the command line
// (no answer: Cancel).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "engine/records/record_file.h"
#include "engine/report_collector.h"
#include "start/command_line.h"
#include "sys/file_system.h"
#include "sys/file_version.h"
#include "sys/system_info.h"
#include "sys/text.h"

namespace {

void PrintList(const char* title, const std::vector<std::string>& lines) {
  std::printf("%s:\n", title);
  for (const std::string& line : lines) std::printf("  %s\n", line.c_str());
}

// What the initialisation left, one field or list entry a line.
void PrintState(const TInstallObject& object, int result) {
  std::printf("result: %d\n", result);
  std::printf("ProductName: %s\n", object.ProductName.c_str());
  std::printf("InstallDir: %s\n", object.InstallDir.c_str());
  std::printf("UninstDir: %s\n", object.UninstDir.c_str());
  std::printf("RegUser: %s\n", object.RegUser().c_str());
  std::printf("RegMachine: %s\n", object.RegMachine().c_str());
  std::printf("Update: %d\nBaseMissing: %d\nDeleteShared: %d\nOfferReboot: %d\n", object.Update(),
              object.BaseMissing(), object.DeleteShared(), object.OfferReboot);
  PrintList("TempFiles", object.TempFiles);
  PrintList("ArchiveFiles", object.ArchiveFiles);
  PrintList("ClearupFolders", std::vector<std::string>(object.ClearupFolders.begin(), object.ClearupFolders.end()));
  PrintList("CloseList", object.CloseList);
  std::vector<std::string> work;
  if (FolderExists(object.WorkFolder())) FindFiles(work, object.WorkFolder(), "*.*", true, true);
  PrintList("WorkFolder", work);
  std::fflush(stdout);
}

// The [Info] block as the window fills it after the initialisation.
RecordInfo WindowState(const TInstallObject& object, const RunOptions& options) {
  RecordInfo info;
  info.InstallPath = object.InstallDir;
  if (object.BaseMissing() && !options.PathArg.empty()) info.InstallPath = WithTrailingBackslash(options.PathArg);
  info.RegUser = object.RegUser();
  info.RegMachine = object.RegMachine();
  info.Version = object.InstallerVersion;
  info.Name = object.ProductName;
  info.DeleteShared = object.DeleteShared();
  return info;
}

// Answers every question alike and prints it.
class FixedAnswers : public Questions {
 public:
  explicit FixedAnswers(bool yes) : yes_(yes) {}
  bool Confirm(const std::string& text) override {
    std::printf("question: %s\n", text.c_str());
    return yes_;
  }

 private:
  bool yes_;
};

// The operation of the run mode, as the window runs it once the user confirms.
int RunOperation(TInstallObject& object, const RunOptions& options, const std::vector<std::string>& arguments) {
  FixedAnswers answers(std::find(arguments.begin(), arguments.end(), "-answer:yes") != arguments.end());
  object.Asker = &answers;
  int result = rcInitError;
  bool restart = false;
  if (options.RunMode == rmInstall) {
    // The window creates the folder before it installs.
    const std::string folder =
        object.BaseMissing() && !options.PathArg.empty() ? options.PathArg : object.InstallDir;
    result = object.PrepareInstallFolder(folder) ? object.DoInstall(folder, restart) : rcCreateFolder;
  }
  else if (options.RunMode == rmAutoInstall)
    result = object.DoAutoInstall();
  else if (options.RunMode == rmUninstall)
    result = object.DoUninstall();
  else if (options.RunMode == rmClearup)
    result = object.DoClearup();
  object.Asker = nullptr;
  std::printf("operation: %d\nrestart: %d\n", result, restart);
  std::vector<std::string> copied;
  if (object.Settings)
    for (const ComponentEntry& component : object.Settings->Components)
      copied.insert(copied.end(), component.Copy.begin(), component.Copy.end());
  PrintList("Copied", copied);
  return result;
}

}  // namespace

int main() {
  std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
  if (!arguments.empty()) arguments.erase(arguments.begin());
  ReportCollector lists;
  auto object = std::make_unique<TInstallObject>();
  const RunOptions options = ParseRunOptions(object->OwnPath, arguments);
  if (options.RunMode == rmNone) {
    std::printf("no run mode\n");
    return 0;
  }
  object->Forced = options.Forced;
  object->AutoRun = options.AutoRun;
  object->Invisible = options.Invisible;
  object->IsNT = IsNT();
  object->IsAdmin = IsAdmin();
  object->InstallerVersion = FileVersion(object->OwnPath);
  int result = object->DoInit([&lists](uint8_t kind, const std::string& text,
                                             uint8_t flags) { lists.Receive(kind, text, flags); },
                                    options.RunMode, options.ModeArg);
  PrintState(*object, result);
  char operation[4] = {};
  if (result == 0 && GetEnvironmentVariableA("ZQ_DRIVER_OPERATION", operation, sizeof operation) &&
      std::string(operation) == "1")
    result = RunOperation(*object, options, arguments);
  const std::string logPath =
      SaveRecords(lists, WindowState(*object, options), object->UninstDir, object->OwnDir, options.RunMode);
  std::printf("log: %s\n", logPath.c_str());
  object.reset();  // deletes the run's temporary files
  return result;
}
