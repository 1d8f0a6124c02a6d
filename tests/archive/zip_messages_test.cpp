#include "archive/zip_messages.h"

#include <gtest/gtest.h>

#include "archive/unzip_records.h"

namespace {

TEST(ZipMessages, TextsAreTheTablesInWindows1252) {
  EXPECT_EQ(ZipMessageText(10204), "Warnung - unbekannte Daten am Archivende!");
  EXPECT_EQ(ZipMessageText(10104), "Fehler - falsches Passwort\nPasswort ignoriert!");
  EXPECT_EQ(ZipMessageText(11036), "Dieses (SFX-) Archiv ist keine g\xFCltige ZIP-Datei");
  EXPECT_EQ(ZipMessageText(10156), "Best\xE4tigen Sie das Passwort:");
  EXPECT_EQ(ZipMessageText(11002),
            "Archivdatei kann nicht ge\xF6"
            "ffnet werden");
  EXPECT_EQ(ZipMessageText(10704), "UNZLIB.DLL nicht gefunden!");
  EXPECT_EQ(ZipMessageText(10101),
            "ZipMessages.res is probably not linked to the executable\nMissing String ID is: 10101");
}

TEST(UnzipRecords, EndMarkerAndVersionAreFixed) {
  UnzipCallRecord record = {};
  record.EndMarker = kUnzipRecordEndMarker;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
  EXPECT_EQ(bytes[144], 7);
  EXPECT_EQ(kUnzipInterfaceVersion, 160);
}

}  // namespace
