#include "option_parser.h"

#include <algorithm>

namespace {

// How many single letters to insert, delete or replace to turn a into b.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string TakeOptionValue(int argc, char** argv, int& i, std::string& target) {
  const std::string option = argv[i];
  if (i + 1 == argc || std::string(argv[i + 1]).compare(0, 2, "--") == 0) return option + " needs a value";
  if (!target.empty()) return option + " is given twice";
  target = argv[++i];
  return std::string();
}

std::string UnknownOption(const std::string& argument, const std::vector<std::string>& known) {
  std::string closest;
  size_t distance = 3;  // a typo of at most two letters
  for (const std::string& option : known) {
    const size_t d = EditDistance(argument, option);
    if (d < distance) {
      distance = d;
      closest = option;
    }
  }
  return "unknown option \"" + argument + "\"" + (closest.empty() ? std::string() : "; did you mean " + closest + "?");
}
