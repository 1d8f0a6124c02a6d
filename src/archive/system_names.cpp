#include "archive/system_names.h"

#include <windows.h>

#include "sys/wide_text.h"

namespace {

bool SystemFromOem(const std::string& stored, std::string& ansi) {
  ansi = stored;
  if (!stored.empty()) OemToCharBuffA(stored.data(), &ansi[0], static_cast<DWORD>(stored.size()));
  return true;
}

// A letter the code page lacks becomes "?", never a look-alike.
bool SystemFromUtf8(const std::string& stored, std::string& ansi) { return WideToAnsi(Utf8ToWide(stored), ansi); }

}  // namespace

NameConversion SystemNameConversion(TCodePage codePage) {
  return [codePage](const std::string& stored, uint16_t flags, uint16_t madeBy) {
    static const AnsiConversions system{SystemFromOem, SystemFromUtf8};
    std::string name;
    ConvertStoredName(codePage, stored, flags, madeBy, system, name);
    return name;
  };
}
