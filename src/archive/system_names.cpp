#include "archive/system_names.h"

#include <windows.h>

#include <vector>

namespace {

bool SystemFromOem(const std::string& stored, std::string& ansi) {
  ansi = stored;
  if (!stored.empty()) OemToCharBuffA(stored.data(), &ansi[0], static_cast<DWORD>(stored.size()));
  return true;
}

bool SystemFromUtf8(const std::string& stored, std::string& ansi) {
  ansi.clear();
  if (stored.empty()) return true;
  const int size = static_cast<int>(stored.size());
  std::vector<wchar_t> wide(stored.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, stored.data(), size, wide.data(), size);
  BOOL defaulted = FALSE;
  const int needed =
      length > 0 ? WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, "?", &defaulted)
                 : 0;
  if (needed <= 0) {
    ansi.assign(stored.size(), '?');
    return false;
  }
  ansi.resize(static_cast<size_t>(needed));
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, &ansi[0], needed, "?", &defaulted);
  return !defaulted;
}

}  // namespace

NameConversion SystemNameConversion(TCodePage codePage) {
  return [codePage](const std::string& stored, uint16_t flags, uint16_t madeBy) {
    static const AnsiConversions system{SystemFromOem, SystemFromUtf8};
    std::string name;
    ConvertStoredName(codePage, stored, flags, madeBy, system, name);
    return name;
  };
}
