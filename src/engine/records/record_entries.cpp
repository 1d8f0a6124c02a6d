#include "engine/records/record_entries.h"

#include <iterator>

#include "engine/config/product_files.h"
#include "engine/records/record_format.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// The runtime version that deferred .NET items ask for when they are carried out.
constexpr const char* kDeferredDotNetVersion = settings_file::kDefaultDotNetVersion;

// A deferred item's section and the numbered section it is written to.
struct NumberedSection {
  const char* item;
  const char* section;
  bool dotNet;
};

const NumberedSection kNumberedSections[] = {
    {kErrorCom, "register", false},
    {kErrorCommon, "shared", false},
    {kErrorDotNetReg, "dotnetregister", true},
    {kErrorDotNetInst, "dotnetinstall", true},
};

}  // namespace

std::vector<RecordEntry> InfoEntries(const RecordInfo& info) {
  std::vector<RecordEntry> entries{
      {kInfo, kInstallPath, info.InstallPath},
      {kInfo, kRegUser, info.RegUser},
      {kInfo, kRegMachine, info.RegMachine},
      {kInfo, kVersion, info.Version},
      {kInfo, kName, info.Name},
      {kInfo, kDeleteShared, info.DeleteShared ? "1" : "0"},
  };
  if (!info.DotNetVersion.empty()) entries.push_back({kInfo, kCheckDotNet, info.DotNetVersion});
  return entries;
}

std::vector<RecordEntry> CloseEntries(const RecordInfo& info) {
  std::vector<RecordEntry> entries;
  for (const std::string& line : info.CloseList) {
    const size_t equals = line.find('=');
    entries.push_back({kClose, line.substr(0, equals), equals == std::string::npos ? "" : line.substr(equals + 1)});
  }
  return entries;
}

std::string RecordItemText(const std::string& section, const std::string& key, const std::string& value) {
  return section + "|" + key + "|" + value;
}

std::vector<RecordEntry> ItemEntries(std::vector<std::string>& sortedItems, std::vector<std::string>& rejected) {
  int counters[std::size(kNumberedSections)] = {};
  std::vector<RecordEntry> entries;
  entries.reserve(sortedItems.size());
  for (std::string& item : sortedItems) {
    std::string_view head, section, key, value;
    SplitAtLast(item, '|', head, value);
    SplitAtLast(head, '|', section, key);
    if (section.empty() || key.empty()) {
      rejected.push_back(std::move(item));
      continue;
    }
    RecordEntry entry{std::string(section), std::string(), std::string(value)};
    // The key keeps the item's text: a large record is not held twice.
    const size_t keyStart = key.data() - item.data();
    item.erase(keyStart + key.size());
    item.erase(0, keyStart);
    entry.Key = std::move(item);
    for (size_t n = 0; n < std::size(kNumberedSections); ++n) {
      const NumberedSection& numbered = kNumberedSections[n];
      if (!SameText(entry.Section, numbered.item)) continue;
      entry.Section = numbered.section;
      entry.Key = std::to_string(++counters[n]);
      if (numbered.dotNet) entries.push_back({"component", "dotNetVer", kDeferredDotNetVersion});
      break;
    }
    entries.push_back(std::move(entry));
  }
  std::vector<std::string>().swap(sortedItems);
  return entries;
}
