// What the installer window shows for each run mode and state, and the rules
// of its folder box.
#include <gtest/gtest.h>

#include <string>

#include "engine/result_codes.h"
#include "engine/session/outcome_texts.h"
#include "ui/form/form_states.h"
#include "ui/form/path_input.h"

namespace {

std::string Text(const char* text) { return text ? text : "<unchanged>"; }

TEST(FormStates, ControlsForEachModeAndState) {
  struct Case {
    TRunMode Mode;
    bool Finished, Busy, NewInstallation;
    const char* Caption;
    const char* Message;
    bool Folder;
    const char* Button;
    bool Enabled;
    int Tag;
  };
  const Case cases[] = {
      {rmInstall, false, false, true, "Installieren...", "Zum Start der Installation klicken Sie Installieren.", true,
       "&Installieren", true, 0},
      // An update keeps its folder; -autorun and -hide leave nothing to click.
      {rmInstall, false, false, false, "Installieren...", "Zum Start der Installation klicken Sie Installieren.", false,
       "&Installieren", true, 0},
      {rmInstall, false, true, true, "Installieren...", "Zum Start der Installation klicken Sie Installieren.", false,
       "&Installieren", false, 0},
      {rmAutoInstall, false, true, false, "Autoinstall...", nullptr, false, "&Auto Install", false, 0},
      {rmUninstall, false, false, false, "Deinstallieren...", "Zum Start der Deinstallation klicken Sie Entfernen.",
       false, "&Entfernen", true, 0},
      {rmClearup, false, false, false, "Bereinigen...", "Zum Start der Bereinigung klicken Sie Bereinigen.", false,
       "&Bereinigen", true, 0},
      // Finished: the outcome stays, the button closes.
      {rmInstall, true, false, true, "Installieren...", nullptr, false, "Schließen", true, 1},
      {rmUninstall, true, false, false, "Deinstallieren...", nullptr, false, "Schließen", true, 1},
      {rmClearup, true, true, false, "Bereinigen...", nullptr, false, "Schließen", false, 1},
  };
  for (const Case& c : cases) {
    const ControlSettings settings = ControlsFor(c.Mode, c.Finished, c.Busy, c.NewInstallation);
    SCOPED_TRACE(std::string(c.Caption) + (c.Finished ? " finished" : " ready"));
    EXPECT_EQ(std::string(settings.Caption), c.Caption);
    EXPECT_EQ(Text(settings.Message), Text(c.Message));
    EXPECT_EQ(settings.FolderEnabled, c.Folder);
    EXPECT_EQ(std::string(settings.ButtonCaption), c.Button);
    EXPECT_EQ(settings.ButtonEnabled, c.Enabled);
    EXPECT_EQ(settings.ButtonTag, c.Tag);
  }
}

TEST(FormStates, OutcomeTexts) {
  EXPECT_EQ(OutcomeText(rmInstall, 0, false), "Installation erfolgreich.");
  EXPECT_EQ(OutcomeText(rmInstall, 0, true), "Update erfolgreich.");
  EXPECT_EQ(OutcomeText(rmAutoInstall, 0, true), "Auto Installation erfolgreich.");
  EXPECT_EQ(OutcomeText(rmUninstall, 0, false), "Deinstallation erfolgreich.");
  EXPECT_EQ(OutcomeText(rmClearup, 0, false), "Clearup erfolgreich.");
  EXPECT_EQ(OutcomeText(rmInstall, rcDiskSpace, false),
            "Installation konnte nicht erfolgreich abgeschlossen werden: Es steht nicht genug Speicherplatz auf dem "
            "Ziellaufwerk verfügbar.\r\n");
  EXPECT_EQ(OutcomeText(rmClearup, rcNeedAdmin, false),
            "Deinstallation konnte nicht erfolgreich abgeschlossen werden: Für die Installation werden "
            "Administrator-Rechte benötigt.\r\n");
  EXPECT_EQ(InitFailureText(rcNoInstallData),
            "Initialisierung konnte nicht erfolgreich abgeschlossen werden: Keine Installationsdaten gefunden.\r\n");
}

TEST(PathInput, TypedCharactersAndChosenFolders) {
  for (char c : std::string("\"#*+/<>?|")) {
    EXPECT_FALSE(KeepsFolderChar(c, false)) << c;
    EXPECT_TRUE(KeepsFolderChar(c, true)) << c;
  }
  for (char c : std::string("aZ09:\\ _-.äö")) EXPECT_TRUE(KeepsFolderChar(c, false)) << c;
  EXPECT_EQ(ChosenFolderText("D:\\Programme\\", "Quotaline"), "D:\\Programme\\Quotaline");
  EXPECT_EQ(ChosenFolderText("D:\\Programme\\quotaline\\", "Quotaline"), "D:\\Programme\\quotaline");
  EXPECT_EQ(ChosenFolderText("D:\\", "Quotaline"), "D:\\Quotaline");
}

}  // namespace
