// What the run reports besides its records: log lines of each kind, and
// the progress of a step that has no items to spread its weight over.
#pragma once

#include <windows.h>

#include <string>

#include "engine/step_weights.h"

class TInstallObject;

// Logs the system's text for error as a failure.
void LogSystemError(const TInstallObject& object, DWORD error);
// The local date and time as the log writes them: "dd.mm.yyyy hh:mm:ss".
std::string LogTimeStamp();
// "*********** " + title + date and time + " ***********".
void LogBanner(const TInstallObject& object, const char* title);
// Whether the file exists; a missing one is logged as not found.
bool FileFoundOrLogged(const TInstallObject& object, const std::string& path);
// "Fehler:  " or "Warnung: ", the subject, "konnte nicht <participle> werden." and detail.
void LogError(const TInstallObject& object, const std::string& subject, const char* participle,
              const std::string& detail = "");
void LogWarning(const TInstallObject& object, const std::string& subject, const char* participle,
                const std::string& detail = "");
// Ends a step that has no settings to work on: -4, with its whole weight reported.
int MissingSettings(const TInstallObject& object, WeightedStep step);
// Reports the whole weight of a step that has no items of its own.
void ReportWeight(const TInstallObject& object, WeightedStep step);
