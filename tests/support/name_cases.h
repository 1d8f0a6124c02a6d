// The member names of the test archives names.zip and unwritable_names.zip,
// with the outcome make_test_archives.py expects of each, in member order.
// Platform-free.
#pragma once

#include <fstream>
#include <string>
#include <vector>

struct NameCase {
  std::string DiskName;    // Windows-1252, below the top folder; empty when none can be written
  std::string Finding;     // zqpack check's: "none", "warning" or "error"
  bool LookAlike = false;  // the name on disk holds the system's look-alikes for the stored one
};

inline std::vector<NameCase> ReadNameCases(const std::string& archives) {
  std::vector<NameCase> cases;
  std::ifstream table(archives + "/names.txt");
  std::string hex, finding, fidelity;
  while (table >> hex >> finding >> fidelity) {
    NameCase named{"", finding, fidelity == "look-alike"};
    for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
      named.DiskName += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    cases.push_back(named);
  }
  return cases;
}
