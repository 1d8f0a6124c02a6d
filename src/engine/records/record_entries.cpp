#include "engine/records/record_entries.h"

#include <iterator>

#include "engine/records/record_format.h"
#include "sys/text.h"

using namespace record_format;

namespace {

// The runtime version that deferred .NET items ask for when they are carried out.
const char kDeferredDotNetVersion[] = "1.1.4322";

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
  return {
      {kInfo, kInstallPath, info.InstallPath},
      {kInfo, kRegUser, info.RegUser},
      {kInfo, kRegMachine, info.RegMachine},
      {kInfo, kVersion, info.Version},
      {kInfo, kName, info.Name},
      {kInfo, kDeleteShared, info.DeleteShared ? "1" : "0"},
  };
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
