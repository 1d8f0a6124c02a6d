// The one frame of the steps that work through the components: what it
// logs, how it spreads the step's weight, and what a failing component
// means for the others.
#include "engine/actions/component_step.h"

#include <stdexcept>

#include "engine/actions/action_test.h"
#include "engine/result_codes.h"

namespace {

class ComponentStepTest : public ActionTest {
 protected:
  std::vector<std::string> worked;
  ComponentStep Step(bool stopAtFailure) {
    return {WeightedStep::CopyFiles, "Kopiere Dateien...", stopAtFailure, [this](ComponentEntry& component) {
              worked.push_back(component.Name);
              if (component.Name == "fails") return rcFileNotFound;
              if (component.Name == "raises") throw std::runtime_error("kaputt");
              return rcOk;
            }};
  }
  void Components(std::initializer_list<const char*> names) {
    std::vector<ComponentEntry> components;
    for (const char* name : names) {
      components.emplace_back();
      components.back().Name = name;
      components.back().Copy.assign(std::string(name) == "leer" ? 0 : 2, CopyEntry{"a", "b"});
    }
    Install(components);
  }
};

TEST_F(ComponentStepTest, AnnouncesSpreadsItsWeightAndStopsOrGoesOnAsItSays) {
  // Without settings: nothing to work on, the whole weight, -4.
  EXPECT_EQ(RunComponentStep(*object, Step(true)), rcMemoryError);
  EXPECT_EQ(progress, 50);
  EXPECT_TRUE(log.empty());

  // A step that stops: the first failure ends it and is its result.
  Components({"eins", "fails", "zwei"});
  progress = 0;
  EXPECT_EQ(RunComponentStep(*object, Step(true)), rcFileNotFound);
  EXPECT_EQ(worked, (std::vector<std::string>{"eins", "fails"}));
  EXPECT_EQ(log, std::vector<std::string>{"Kopiere Dateien..."});
  EXPECT_EQ(progress, 50);  // the rest of the weight goes at the end

  // A step that goes on: the others still work, an exception counts as -3,
  // logged with the step's text; components without items are passed over.
  Components({"raises", "leer", "zwei"});
  worked.clear();
  log.clear();
  progress = 0;
  ComponentStep goesOn = Step(false);
  goesOn.Items = [](const ComponentEntry& component) { return component.Copy.size(); };
  goesOn.ExceptionText = "Ausnahmefehler";
  EXPECT_EQ(RunComponentStep(*object, goesOn), rcException);
  EXPECT_EQ(worked, (std::vector<std::string>{"raises", "zwei"}));
  EXPECT_EQ(log, (std::vector<std::string>{"Kopiere Dateien...", "Fehler:  Ausnahmefehler"}));
  EXPECT_EQ(progress, 50);

  // A failing preparation is a failure like a component's.
  worked.clear();
  ComponentStep prepared = Step(true);
  prepared.Prepare = [] { return rcComRegistration; };
  EXPECT_EQ(RunComponentStep(*object, prepared), rcComRegistration);
  EXPECT_TRUE(worked.empty());
}

}  // namespace
