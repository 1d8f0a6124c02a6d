#include "ui/form/form_states.h"

namespace {

struct ModeTexts {
  const char* Caption;
  const char* Ready;  // the status text once ready, or nullptr
  const char* Button;
};

const ModeTexts kModes[] = {
    {"Installation...", nullptr, "&Installieren"},
    {"Installieren...", "Zum Start der Installation klicken Sie Installieren.", "&Installieren"},
    {"Autoinstall...", nullptr, "&Auto Install"},
    {"Deinstallieren...", "Zum Start der Deinstallation klicken Sie Entfernen.", "&Entfernen"},
    {"Bereinigen...", "Zum Start der Bereinigung klicken Sie Bereinigen.", "&Bereinigen"},
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
