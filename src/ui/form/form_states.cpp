#include "ui/form/form_states.h"

#include "engine/result_codes.h"
#include "sys/text.h"

namespace {

struct ModeTexts {
  const char* Caption;
  const char* Ready;   // the status text once ready, or nullptr
  const char* Button;
  const char* Failed;  // the operation's name in its failure text
  const char* Success;
};

const ModeTexts kModes[] = {
    {"Installation...", nullptr, "&Installieren", "Installation", ""},
    {"Installieren...", "Zum Start der Installation klicken Sie Installieren.", "&Installieren", "Installation",
     "Installation erfolgreich."},
    {"Autoinstall...", nullptr, "&Auto Install", "Installation", "Auto Installation erfolgreich."},
    {"Deinstallieren...", "Zum Start der Deinstallation klicken Sie Entfernen.", "&Entfernen", "Deinstallation",
     "Deinstallation erfolgreich."},
    {"Bereinigen...", "Zum Start der Bereinigung klicken Sie Bereinigen.", "&Bereinigen", "Deinstallation",
     "Clearup erfolgreich."},
};

const ModeTexts& TextsOf(TRunMode runMode) { return kModes[runMode <= rmClearup ? runMode : rmNone]; }

}  // namespace

ControlSettings ControlsFor(TRunMode runMode, bool finished, bool busy, bool newInstallation) {
  const ModeTexts& texts = TextsOf(runMode);
  if (finished) return {texts.Caption, nullptr, false, "Schließen", !busy, 1};
  // An update keeps the folder of the installation it updates.
  const bool folder = runMode == rmInstall && !busy && newInstallation;
  return {texts.Caption, texts.Ready, folder, texts.Button, !busy, 0};
}

std::string InitFailureText(int result) {
  return FormatText("Initialisierung konnte nicht erfolgreich abgeschlossen werden: %s\r\n", ResultMessage(result));
}

std::string OutcomeText(TRunMode runMode, int result, bool update) {
  const ModeTexts& texts = TextsOf(runMode);
  if (result != 0)
    return FormatText("%s konnte nicht erfolgreich abgeschlossen werden: %s\r\n", texts.Failed, ResultMessage(result));
  if (runMode == rmInstall && update) return "Update erfolgreich.";
  return texts.Success;
}
