#include "engine/run_report.h"

#include <windows.h>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "sys/file_system.h"
#include "sys/system_error.h"
#include "sys/text.h"

namespace {

std::string Failure(const std::string& subject, const char* participle) {
  return subject + FormatText("konnte nicht %s werden.", participle);
}

}  // namespace

void LogSystemError(const TInstallObject& object, DWORD error) { object.Log("Fehler:  " + SystemErrorText(error)); }

std::string LogTimeStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatText("%02u.%02u.%04u %02u:%02u:%02u", now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute,
                    now.wSecond);
}

void LogBanner(const TInstallObject& object, const char* title) {
  object.Log(FormatText("*********** %s ***********", (title + LogTimeStamp()).c_str()));
}

void LogError(const TInstallObject& object, const std::string& subject, const char* participle,
              const std::string& detail) {
  object.Log("Fehler:  " + Failure(subject, participle) + detail);
}

void LogWarning(const TInstallObject& object, const std::string& subject, const char* participle,
                const std::string& detail) {
  object.Log("Warnung: " + Failure(subject, participle) + detail);
}

int MissingSettings(const TInstallObject& object, WeightedStep step) {
  ReportWeight(object, step);
  return rcMemoryError;
}

bool FileFoundOrLogged(const TInstallObject& object, const std::string& path) {
  if (FileExists(path)) return true;
  LogError(object, "Datei " + path + " ", "gefunden");
  return false;
}

void ReportWeight(const TInstallObject& object, WeightedStep step) {
  object.Report(rkProgress, std::to_string(StepWeight(step)), 0);
}
