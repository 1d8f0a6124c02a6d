#include "sys/restart_deletion.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "sys/path_text.h"
#include "sys/wide_text.h"

namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingValue[] = L"PendingFileRenameOperations";

std::wstring Lower(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

// The list's pairs of a source and a target (empty for a deletion); an
// empty source ends it.
std::vector<std::pair<std::wstring, std::wstring>> Pairs(const std::vector<wchar_t>& data) {
  std::vector<std::wstring> strings;
  for (size_t start = 0; start < data.size();) {
    size_t end = start;
    while (end < data.size() && data[end] != L'\0') ++end;
    strings.emplace_back(data.data() + start, end - start);
    start = end + 1;
  }
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  for (size_t i = 0; i < strings.size() && !strings[i].empty(); i += 2)
    pairs.emplace_back(strings[i], i + 1 < strings.size() ? strings[i + 1] : std::wstring());
  return pairs;
}

}  // namespace

bool DeleteAtRestart(const std::string& path) {
  return MoveFileExA(WithoutTrailingBackslash(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

// The list holds other programs' paths, in full: it is read and written
// through the wide functions, so that no name the code page lacks is lost.
void KeepAtRestart(const std::string& folder) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  DWORD type = 0, size = 0;
  std::vector<wchar_t> data;
  if (RegQueryValueExW(key, kPendingValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_MULTI_SZ &&
      size > 0) {
    data.resize(size / sizeof(wchar_t) + 1);
    if (RegQueryValueExW(key, kPendingValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
      data.clear();
    data.resize(size / sizeof(wchar_t));
  }
  const std::wstring own = Lower(AnsiToWide(WithoutTrailingBackslash(folder)));
  const auto ours = [&own](const std::wstring& source) {
    const std::wstring path = Lower(source.compare(0, 4, L"\\??\\") == 0 ? source.substr(4) : source);
    return path == own ||
           (path.size() > own.size() && path.compare(0, own.size(), own) == 0 && path[own.size()] == L'\\');
  };
  std::vector<wchar_t> kept;
  bool changed = false;
  for (const auto& [source, target] : Pairs(data)) {
    if (target.empty() && ours(source)) {
      changed = true;
      continue;
    }
    for (const std::wstring* text : {&source, &target}) {
      kept.insert(kept.end(), text->begin(), text->end());
      kept.push_back(L'\0');
    }
  }
  if (changed) {
    if (kept.empty()) {
      RegDeleteValueW(key, kPendingValue);
    } else {
      kept.push_back(L'\0');
      RegSetValueExW(key, kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                     static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
    }
  }
  RegCloseKey(key);
}
