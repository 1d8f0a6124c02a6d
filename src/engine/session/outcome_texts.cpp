#include "engine/session/outcome_texts.h"

#include "engine/result_codes.h"
#include "sys/text.h"

namespace {

struct OutcomeNames {
  const char* Failed;  // the operation's name in its failure text
  const char* Success;
};

const OutcomeNames kModes[] = {
    {"Installation", ""},
    {"Installation", "Installation erfolgreich."},
    {"Installation", "Auto Installation erfolgreich."},
    {"Deinstallation", "Deinstallation erfolgreich."},
    {"Deinstallation", "Clearup erfolgreich."},
};

}  // namespace

std::string InitFailureText(int result) {
  return FormatText("Initialisierung konnte nicht erfolgreich abgeschlossen werden: %s\r\n", ResultMessage(result));
}

std::string OutcomeText(TRunMode runMode, int result, bool update) {
  const OutcomeNames& names = kModes[runMode <= rmClearup ? runMode : rmNone];
  if (result != 0)
    return FormatText("%s konnte nicht erfolgreich abgeschlossen werden: %s\r\n", names.Failed, ResultMessage(result));
  if (runMode == rmInstall && update) return "Update erfolgreich.";
  return names.Success;
}
