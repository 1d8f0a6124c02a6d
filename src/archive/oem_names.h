// Conversion of stored entry names from the OEM to the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

enum TCodePage { cpAuto, cpNone, cpOEM };

// Whether names stored by that host (the two bytes of "version made by") are
// in the OEM code page.
bool NeedsOemConversion(TCodePage codePage, uint8_t host, uint8_t version);

// The name converted as the code page and the host require.
std::string ConvertEntryName(TCodePage codePage, const std::string& stored, uint8_t host, uint8_t version);
