#include "engine/result_codes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ResultCodes, MessagesAreTheWindows1252Texts) {
  EXPECT_STREQ(ResultMessage(rcOk), "ok");
  EXPECT_STREQ(ResultMessage(rcUnknownError), "Es ist ein unbekannter Fehler aufgetreten.");
  EXPECT_STREQ(ResultMessage(rcOpenFile),
               "Datei konnte nicht ge\xF6"
               "ffnet werden.");
  EXPECT_STREQ(ResultMessage(rcNeedAdmin), "F\xFCr die Installation werden Administrator-Rechte ben\xF6tigt.");
  EXPECT_STREQ(ResultMessage(rcOpenArchive),
               "Archiv konnte nicht ge\xF6"
               "fnet werden.");
  EXPECT_STREQ(ResultMessage(rcTempFile), "Tempor\xE4re Datei konnte nicht erstellt werden.");
  EXPECT_STREQ(ResultMessage(rcNoUninstallData), "Keine Deinstallationsinformationen gefunden.");
  EXPECT_STREQ(ResultMessage(rcUntrustedRecord),
               "Installationsinformationen wurden ver\xE4ndert und werden nicht verwendet.");
}

TEST(ResultCodes, EveryCodeHasItsOwnSentence) {
  for (int code = 0; code > -kResultMessageCount; --code) {
    const std::string message = ResultMessage(code);
    EXPECT_FALSE(message.empty());
    if (code < 0) {
      EXPECT_EQ(message.back(), '.') << code;
    }
    for (int other = code - 1; other > -kResultMessageCount; --other)
      EXPECT_NE(message, ResultMessage(other)) << code << " " << other;
  }
}

TEST(ResultCodes, CodesOutsideTheTableReadAsUnknown) {
  EXPECT_STREQ(ResultMessage(-kResultMessageCount), ResultMessage(rcUnknownError));
  EXPECT_STREQ(ResultMessage(5), ResultMessage(rcUnknownError));
  EXPECT_STREQ(ResultMessage(-2147483647 - 1), ResultMessage(rcUnknownError));
}

}  // namespace
