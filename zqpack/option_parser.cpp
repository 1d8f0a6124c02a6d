#include "option_parser.h"

#include "checks/known_names.h"

std::string TakeOptionValue(int argc, char** argv, int& i, std::string& target) {
  const std::string option = argv[i];
  if (i + 1 == argc || std::string(argv[i + 1]).compare(0, 2, "--") == 0) return option + " needs a value";
  if (!target.empty()) return option + " is given twice";
  target = argv[++i];
  return std::string();
}

std::string UnknownOption(const std::string& argument, const std::vector<std::string>& known) {
  const std::string closest = NearestName(argument, known);
  return "unknown option \"" + argument + "\"" + (closest.empty() ? std::string() : "; did you mean " + closest + "?");
}
