#include "archive/oem_names.h"

#include <windows.h>

bool NeedsOemConversion(TCodePage codePage, uint8_t host, uint8_t version) {
  constexpr uint8_t kMsDos = 0, kHpfs = 6, kNtfs = 11;
  return (codePage == cpAuto && host == kMsDos) || host == kHpfs || (host == kNtfs && version == 50) ||
         codePage == cpOEM;
}

std::string ConvertEntryName(TCodePage codePage, const std::string& stored, uint8_t host, uint8_t version) {
  if (stored.empty() || !NeedsOemConversion(codePage, host, version)) return stored;
  std::string converted = stored;
  OemToCharBuffA(stored.data(), &converted[0], static_cast<DWORD>(stored.size()));
  return converted;
}
