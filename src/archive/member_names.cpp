#include "archive/member_names.h"

#include "sys/code_pages.h"

namespace {

constexpr uint16_t kUtf8Flag = 0x0800;
constexpr uint8_t kMsDos = 0, kHpfs = 6, kNtfs = 11;

}  // namespace

TNameEncoding StoredNameEncoding(TCodePage codePage, uint16_t flags, uint8_t host, uint8_t version) {
  if (codePage == cpOEM) return neOem;
  if (codePage == cpAuto && (flags & kUtf8Flag)) return neUtf8;
  if ((codePage == cpAuto && host == kMsDos) || host == kHpfs || (host == kNtfs && version == 50)) return neOem;
  return neAsStored;
}

const AnsiConversions& GermanWindowsConversions() {
  static const AnsiConversions conversions{Oem850ToAnsi, Utf8ToAnsi};
  return conversions;
}

bool ConvertStoredName(TCodePage codePage, const std::string& stored, uint16_t flags, uint16_t madeBy,
                       const AnsiConversions& conversions, std::string& name) {
  switch (StoredNameEncoding(codePage, flags, static_cast<uint8_t>(madeBy >> 8), static_cast<uint8_t>(madeBy))) {
    case neOem:
      return conversions.FromOem(stored, name);
    case neUtf8:
      return conversions.FromUtf8(stored, name);
    case neAsStored:
      break;
  }
  name = stored;
  return true;
}
