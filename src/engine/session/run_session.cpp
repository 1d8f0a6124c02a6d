#include "engine/session/run_session.h"

#include <windows.h>

#include "engine/actions/file_copy.h"
#include "engine/actions/uninstaller_copy.h"
#include "engine/boundary/record_trust.h"
#include "engine/config/folder_reach.h"
#include "engine/guarded.h"
#include "engine/records/record_file.h"
#include "engine/result_codes.h"
#include "engine/session/outcome_texts.h"
#include "sys/ansi_path.h"
#include "sys/file_system.h"
#include "sys/file_version.h"
#include "sys/private_folder.h"
#include "sys/path_text.h"
#include "sys/system_info.h"
#include "sys/text.h"
#include "sys/wide_text.h"

RunSession::RunSession(const RunOptions& options, std::function<void()> pump)
    : options_(options), lists_(std::move(pump)), object_(std::make_unique<TInstallObject>()) {
  installerVersion_ = FileVersion(object_->OwnPath);
  const bool isNT = IsNT();
  bool isAdmin = false;
  try {
    isAdmin = !isNT || IsAdmin();
  } catch (...) {
    isAdmin = false;  // an access check that fails grants nothing
  }
  allowed_ = isAdmin || options_.Forced;
  object_->AutoRun = options_.AutoRun;
  object_->Invisible = options_.Invisible;
  object_->Forced = options_.Forced;
  object_->IsNT = isNT;
  object_->IsAdmin = isAdmin;
  // An administrator's run shares the user's temporary folder with the
  // user's ordinary processes: its working files go where only
  // administrators can change them.
  if (isNT && isAdmin) {
    privateFolder_ = std::make_unique<PrivateFolder>(object_->WinDir + "Temp\\");
    object_->WorkDir = privateFolder_->Path();
    object_->PrivateWork = true;
  }
  // A run over many files would otherwise hold its whole log until the end.
  const std::string spillFolder = privateFolder_ ? object_->WorkDir : object_->TmpDir;
  if (!spillFolder.empty()) lists_.SpillLogTo(spillFolder + "zqlog" + std::to_string(GetCurrentProcessId()) + ".tmp");
}

RunSession::~RunSession() {
  object_.reset();
  lists_.DiscardLog();
}

int RunSession::Initialise() {
  const DWORD start = GetTickCount();
  object_->InstallerVersion = installerVersion_;
  initResult_ = Guarded([this] {
    const int result = object_->DoInit(
        [this](uint8_t kind, const std::string& text, uint8_t flags) { lists_.Receive(kind, text, flags); },
        options_.RunMode, options_.ModeArg);
    TakeOverEngineState();
    return result;
  });
  result_ = initResult_;
  if (initResult_ != rcOk) {
    // The folder that could not be reached is named where the user looks.
    const std::string unreachable = UnreachableFolder(*object_, options_.RunMode);
    lists_.Receive(rkMessage, InitFailureText(initResult_) + (initResult_ == rcUnreachableFolder ? unreachable : ""),
                   rfLog | rfStatus);
    SaveRecords();
  } else {
    Log(FormatText("Time to init: %lu ms", GetTickCount() - start));
  }
  return initResult_;
}

void RunSession::TakeOverEngineState() {
  facts_.OfferReboot = object_->OfferReboot != 0;
  facts_.UninstDir = object_->UninstDir;
  facts_.ProductName = object_->ProductName;
  facts_.BaseMissing = object_->BaseMissing();
  facts_.InstallPath = object_->InstallDir;
  facts_.DeleteShared = object_->DeleteShared();
  facts_.Update = object_->Update();
  facts_.RegUser = object_->RegUser();
  facts_.RegMachine = object_->RegMachine();
  if (object_->Settings) facts_.SupportUrl = object_->Settings->SupportUrl;
  // What the uninstallation needs of install.ini goes into the sealed record.
  if (options_.RunMode == rmInstall && object_->Settings) {
    facts_.DotNetVersion = object_->Settings->DotNetVersion;
    facts_.CloseList = object_->CloseList;
  }
  if (facts_.BaseMissing && !options_.PathArg.empty()) {
    WideToAnsi(Utf8ToWide(options_.PathArg), facts_.InstallPath);
    facts_.InstallPath = WithTrailingBackslash(facts_.InstallPath);
  }
}

std::wstring RunSession::ProposedFolder() const {
  if (facts_.BaseMissing && !options_.PathArg.empty()) return WithoutTrailingBackslash(Utf8ToWide(options_.PathArg));
  return AnsiToWide(WithoutTrailingBackslash(facts_.InstallPath));
}

FolderCheck RunSession::AcceptFolder(const std::wstring& typed, std::string& folder) {
  folder.clear();
  // The shape is checked as typed, before anything is made for it.
  folderCheck_ = FolderCheck::Unusable;
  const std::wstring trimmed = TrimWide(typed);
  if (!IsValidLocalPath(WithTrailingBackslash(PathShape(trimmed)))) return folderCheck_;
  const std::wstring full = FullWidePath(trimmed);
  std::string exact;
  // A part with a lacking letter is made before it has a short name: where
  // it would go is checked first.
  if (!WideToAnsi(full, exact) && !AllowedInstallationFolder(*object_, WithTrailingBackslash(PathShape(full))))
    return folderCheck_;
  const std::string made = ReachFolder(full, object_->CreatedFolders);
  if (made.empty()) return folderCheck_;
  const std::string reached = WithTrailingBackslash(made);
  if (IsUnreachable(reached)) {
    LogUnreachableFolder(*object_, reached);
    return folderCheck_ = FolderCheck::Unreachable;
  }
  folderCheck_ = PrepareInstallFolder(*object_, reached);
  if (folderCheck_ != FolderCheck::Ready) return folderCheck_;
  folder = reached;
  const std::string shown = LackingFullForm(folder);
  if (!shown.empty())
    Log(FormatText("Installationsverzeichnis %s über seinen Kurznamen: %s", shown.c_str(), folder.c_str()));
  return folderCheck_;
}

int RunSession::RunOperation(const std::string& folder) {
  bool restart = false;
  const int result = Operate(folder, restart);
  operationRan_ = true;
  result_ = result;
  restartNeeded_ = options_.RunMode == rmInstall && result == rcOk && restart;
  lists_.Receive(rkMessage, OutcomeText(options_.RunMode, result, facts_.Update), rfLog | rfStatus);
  if (restartNeeded_) Log("Reboot nötig");
  SaveRecords();
  return result;
}

int RunSession::Operate(const std::string& folder, bool& restart) {
  switch (options_.RunMode) {
    case rmInstall: {
      const DWORD start = GetTickCount();
      // Unattended, a folder that cannot be used fails the run.
      int result = folderCheck_ == FolderCheck::Unreachable ? rcUnreachableFolder : rcCreateFolder;
      if (!folder.empty()) {
        facts_.InstallPath = folder;
        result = rcNeedAdmin;
        if (allowed_) {
          result = Guarded([this, &folder, &restart] { return object_->DoInstall(folder, restart); });
          facts_.UninstDir = object_->UninstDir;
        } else {
          RemoveCreatedFolders(*object_, false);
        }
      }
      Log(FormatText("Time to install: %lu ms", GetTickCount() - start));
      return result;
    }
    case rmAutoInstall:
      return allowed_ ? Guarded([this] { return object_->DoAutoInstall(); }) : rcNeedAdmin;
    case rmUninstall: {
      if (!allowed_) return rcNeedAdmin;
      const int result = Guarded([this] { return object_->DoUninstall(); });
      facts_.UninstDir = object_->UninstDir;
      return result;
    }
    case rmClearup:
      return allowed_ ? Guarded([this] { return object_->DoClearup(); }) : rcNeedAdmin;
    default:
      return rcInitError;
  }
}

RunOutcome RunSession::Outcome() const { return {result_, restartNeeded_, initResult_ == rcOk && !operationRan_}; }

void RunSession::SaveRecords() {
  const RecordInfo info{facts_.InstallPath, facts_.RegUser,      facts_.RegMachine,    installerVersion_,
                        facts_.ProductName, facts_.DeleteShared, facts_.DotNetVersion, facts_.CloseList};
  logPath_ = ::SaveRecords(lists_, info, facts_.UninstDir, object_->OwnDir, object_->WorkDir, options_.RunMode);
  // Its log is written: an uninstaller whose product is gone can go too.
  if (IsUninstallSide(options_.RunMode)) RetireUninstaller(*object_);
}

void RunSession::Log(const std::string& text) { lists_.Receive(rkMessage, text, rfLog); }
