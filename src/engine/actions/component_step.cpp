#include "engine/actions/component_step.h"

#include "engine/guarded.h"
#include "engine/install_object.h"
#include "engine/progress.h"
#include "engine/result_codes.h"
#include "engine/run_report.h"

int RunComponentStep(TInstallObject& object, const ComponentStep& step) {
  if (!object.Settings) return MissingSettings(object, step.Step);
  object.Report(rkMessage, step.Announcement, rfLog | rfStatus);
  int result = step.Prepare ? Guarded(step.Prepare) : rcOk;
  const auto items = [&step](const ComponentEntry& component) { return step.Items ? step.Items(component) : 1; };
  size_t total = 0;
  for (const ComponentEntry& component : object.Settings->Components) total += items(component);
  StepProgress progress(object.ReportProcedure, step.Step, static_cast<int>(total));
  for (ComponentEntry& component : object.Settings->Components) {
    if (result != rcOk && step.StopAtFailure) break;
    const size_t count = items(component);
    if (count == 0) continue;
    int outcome = rcOk;
    try {
      outcome = step.Work(component);
    } catch (...) {
      if (step.ExceptionText) object.Log(std::string("Fehler:  ") + step.ExceptionText);
      outcome = rcException;
    }
    progress.Advance(static_cast<int>(count));
    if (result == rcOk) result = outcome;
  }
  progress.Finish();
  return result;
}
