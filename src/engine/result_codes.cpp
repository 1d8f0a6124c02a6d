#include "engine/result_codes.h"

namespace {
const char* const kMessages[kResultMessageCount] = {
    "ok",
    "Es ist ein unbekannter Fehler aufgetreten.",
    "Es ist ein Initialisierungsfehler aufgetreten.",
    "Es ist ein Ausnahmefehler aufgetreten.",
    "Es ist ein Speicherfehler aufgetreten.",
    "Verzeichnis konnte nicht erstellt werden.",
    "Datei konnte nicht geöffnet werden.",
    "Keine Installationsdaten gefunden.",
    "Installationsdatei konnte nicht gelesen werden.",
    "Deinstallationsprogramm konnte nicht geschrieben werden.",
    "Dll konnte nicht gelesen werden.",
    "Dll konnte nicht geschrieben werden.",
    "Archivinfo konnte nicht gelesen werden.",
    "Archiv konnte nicht gelesen werden.",
    "Archiv konnte nicht geschrieben werden.",
    "Eine zu installierende Programmkomponente wurde nicht beendet.",
    "Für die Installation werden Administrator-Rechte benötigt.",
    "Archiv konnte nicht entpackt werden.",
    "Keine Archive zum Entpacken.",
    "Archiv konnte nicht geöfnet werden.",
    "Datei konnte nicht gefunden werden.",
    "Verzeichnis existiert nicht.",
    "Bitte erst eine Basisinstallation durchführen.",
    "Es steht nicht genug Speicherplatz auf dem Ziellaufwerk verfügbar.",
    "Es ist ein Fehler bei der Registrierung der COM Komponenten aufgetreten.",
    "Registry Eintrag für gemeinsame genutzte Datei konnte nicht erstellt werden.",
    "Temporäre Datei konnte nicht erstellt werden.",
    "Installationsinformationen konnten nicht gefunden werden.",
    "Bitte erst eine Deinstallation durchführen.",
    "Eine Deinstallation wurde bereits durchgeführt.",
    "Installationsverzeichnis konnte nicht gefunden werden.",
    "Keine Deinstallationsinformationen gefunden.",
    "Installationsinformationen wurden verändert und werden nicht verwendet.",
    "Verzeichnis ist ohne Kurznamen nicht erreichbar.",
};
}  // namespace

const char* ResultMessage(int resultCode) {
  if (resultCode > 0 || resultCode <= -kResultMessageCount) return kMessages[-rcUnknownError];
  return kMessages[-resultCode];
}
