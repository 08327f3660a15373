// What the runner does the same on every host.
#include "testing/program_runner.h"

namespace torvane_test {

std::string Describe(const std::string& program, const std::vector<std::string>& arguments) {
  std::string text = program;
  for (const std::string& argument : arguments) text += " '" + argument + "'";
  return text.size() > 300 ? text.substr(0, 300) + "..." : text;
}

}  // namespace torvane_test
