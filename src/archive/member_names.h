// How an archive member's stored name becomes the name written to disk: the
// archive's own marks say how the name is encoded, the system converts it to
// its ANSI code page. Platform-free; the unzip library converts as the system
// does, zqpack as the German Windows the installer is made for.
#pragma once

#include <cstdint>
#include <string>

enum TCodePage { cpAuto, cpNone, cpOEM };

enum TNameEncoding { neAsStored, neOem, neUtf8 };

// The encoding of a name stored under these general purpose flags by that
// host (the two bytes of "version made by"). HPFS and the NTFS of version 5.0
// store names in the OEM code page. cpAuto reads the archive's marks besides:
// flag 11 means UTF-8, an MS-DOS host the OEM code page. cpOEM takes every
// name as OEM.
TNameEncoding StoredNameEncoding(TCodePage codePage, uint16_t flags, uint8_t host, uint8_t version);

// A system's conversions of a name into its ANSI code page; each returns
// false when a character had no form there.
struct AnsiConversions {
  bool (*FromOem)(const std::string& stored, std::string& ansi);
  bool (*FromUtf8)(const std::string& stored, std::string& ansi);
};

// The conversions of the installer's German Windows: OEM 850, ANSI 1252,
// "?" for a character that code page lacks.
const AnsiConversions& GermanWindowsConversions();

// The stored name converted as its encoding requires; false when a character
// had no form in the ANSI code page.
bool ConvertStoredName(TCodePage codePage, const std::string& stored, uint16_t flags, uint16_t madeBy,
                       const AnsiConversions& conversions, std::string& name);
