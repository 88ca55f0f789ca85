#include <iostream>

#include "app/CommandLine.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cl = ParseCommandLine(args);
  std::cout << UsageText();
  return 0;
}
