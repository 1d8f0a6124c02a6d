// The texts a run shows and logs for the outcome of its initialisation and
// of its operation. Platform-free.
#pragma once

#include <string>

#include "engine/run_options.h"

// "Initialisierung konnte nicht erfolgreich abgeschlossen werden: <message>\r\n".
std::string InitFailureText(int result);
// The status text after the operation of the run mode ended with result.
std::string OutcomeText(TRunMode runMode, int result, bool update);
