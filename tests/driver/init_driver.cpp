// A console stand-in for the installer window, for the tests: started with the
// installer's own command line, it runs the window's run session for the run
// mode, prints what the initialisation left, and ends with the result code as
// its exit code. Packed as
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

#include "engine/payload/payload_writer.h"
#include "engine/result_codes.h"
#include "engine/session/run_session.h"
#include "start/command_line.h"
#include "start/full_command_line.h"
#include "sys/file_system.h"
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
  std::printf("Update: %d\nBaseMissing: %d\nDeleteShared: %d\nOfferReboot: %d\n", object.Update(), object.BaseMissing(),
              object.DeleteShared(), object.OfferReboot);
  PrintList("TempFiles", object.TempFiles);
  PrintList("ArchiveFiles", object.ArchiveFiles);
  PrintList("ClearupFolders", std::vector<std::string>(object.ClearupFolders.begin(), object.ClearupFolders.end()));
  PrintList("CloseList", object.CloseList);
  std::printf("WorkDir: %s\n", object.WorkDir.c_str());
  std::vector<std::string> work;
  if (FolderExists(object.WorkDir)) FindFiles(work, object.WorkDir, "*.*", true, true);
  PrintList("WorkFolder", work);
  std::fflush(stdout);
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

// The operation of the run mode, as the window runs it once the user
// confirms, into the folder the initialisation proposed.
int RunOperation(RunSession& session, const std::vector<std::string>& arguments) {
  TInstallObject& object = session.Engine();
  FixedAnswers answers(std::find(arguments.begin(), arguments.end(), "-answer:yes") != arguments.end());
  object.Asker = &answers;
  std::string folder;
  if (session.Options().RunMode == rmInstall) session.AcceptFolder(session.ProposedFolder(), folder);
  const int result = session.RunOperation(folder);
  object.Asker = nullptr;
  std::printf("operation: %d\nrestart: %d\n", result, session.Outcome().RestartNeeded);
  std::vector<std::string> copied;
  if (object.Settings)
    for (const ComponentEntry& component : object.Settings->Components)
      for (const CopyEntry& entry : component.Copy)
        if (entry.Written) copied.push_back(LowerAscii(entry.Target));
  PrintList("Copied", copied);
  return result;
}

}  // namespace

int main() {
  std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
  if (!arguments.empty()) arguments.erase(arguments.begin());
  const RunOptions options = CommandLineOptions();
  if (options.RunMode == rmNone) {
    std::printf("no run mode\n");
    return 0;
  }
  RunSession session(options, {});
  int result = session.Initialise();
  PrintState(session.Engine(), result);
  char operation[4] = {};
  if (result == 0 && GetEnvironmentVariableA("ZQ_DRIVER_OPERATION", operation, sizeof operation) &&
      std::string(operation) == "1") {
    result = RunOperation(session, arguments);
  } else if (result == 0) {
    // The window writes nothing for a run closed before its operation; the
    // tests read what the initialisation reported.
    session.SaveRecords();
  }
  std::printf("log: %s\n", session.LogPath().c_str());
  return result;
}
