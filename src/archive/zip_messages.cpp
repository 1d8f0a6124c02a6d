#include "archive/zip_messages.h"

namespace {

struct Message {
  int number;
  const char* text;
};

const Message kMessages[] = {
    {10102, "Fehler - keine Archivdatei angegeben!"},
    {10103, "Angeforderter Speicher konnte nicht reserviert werden!"},
    {10104, "Fehler - falsches Passwort\nPasswort ignoriert!"},
    {10150, "Fehler - kein Passwort zum Hinzufügen angegeben!"},
    {10151, "Fehler - kein Passwort zum Entpacken angegeben!"},
    {10154, "Passwort"},
    {10155, "Geben Sie bitte das Passwort ein:"},
    {10156, "Bestätigen Sie das Passwort:"},
    {10201, "Suchfehler beim Lesen des Archivs!"},
    {10202, "Unbekannter Fehler in List()-Funktion!"},
    {10203, "Warnung - Fehler in Archiv-Struktur!"},
    {10204, "Warnung - unbekannte Daten am Archivende!"},
    {10501, "Fataler Fehler in UNZLIB.DLL: Aktion abgebrochen!"},
    {10502, "Warnung - Automatisches Entpacken : Möglicherweise wurden nicht alle Dateien entpackt!"},
    {10503, "Fehler - Ihre UNZLIB.DLL kann nicht mit Streams umgehen, ein Update auf Version >= 1.60 ist notwendig!"},
    {10701, "UNZLIB geladen"},
    {10702, "UnzLibExec-Funktion in UNZLIB.DLL nicht gefunden!"},
    {10703, "GetUnzLibVersion-Funktion in UNZLIB.DLL nicht gefunden!"},
    {10704, "UNZLIB.DLL nicht gefunden!"},
    {11001, "Zu lesende Datei nicht gefunden"},
    {11002, "Archivdatei kann nicht geöffnet werden"},
    {11003, "Unbekanntes Laufwerk: %s"},
    {11004, "Laufwerk %s ist nicht verfügbar"},
    {11007, "Abbruch der Operation durch den Benutzer"},
    {11008, "Suchfehler in Eingabedatei"},
    {11011, "Fehler beim Lesen der EOC-Struktur"},
    {11013, "Fehler beim Lesen eines zentralen Headers"},
    {11015, "Fehlerhafte Signatur eines zentralen Headers"},
    {11017, "Fehler beim Lesen eines zentralen Dateinamens"},
    {11022, "Fehler beim Lesen eines Dateikommentars"},
    {11025, "Unbeaufsichtigtes Verteilen auf mehrere Datenträger ist nicht implementiert"},
    {11033, "Bitte legen Sie die letzte Diskette ein"},
    {11034, "Bitte legen Sie Diskette %.1d von %.1d ein"},
    {11035, "\nin Laufwerk: %s"},
    {11036, "Dieses (SFX-) Archiv ist keine gültige ZIP-Datei"},
    {11037, "Dies ist die erste Diskette des Archivsatzes,\nbitte legen Sie die letzte Diskette des Satzes ein"},
    {11038, "Dies ist Diskette Nr. %d des Archiv-Satzes,\nbitte legen Sie die letzte Diskette des Satzes ein"},
    {11045, "Dies ist die erste Datei des Archivsatzes,\nbitte wählen Sie die letzte Datei des Satzes"},
    {11046, "Legen Sie bitte die %.1d Diskette ein"},
};

}  // namespace

std::string ZipMessageText(int number) {
  for (const Message& message : kMessages)
    if (message.number == number) return message.text;
  return "ZipMessages.res is probably not linked to the executable\nMissing String ID is: " + std::to_string(number);
}
