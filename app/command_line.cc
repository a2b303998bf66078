#include "app/command_line.h"

#include <cstdio>

namespace tavro2 {

// Placeholder until the command-line lookup lands.
std::optional<int> RunCommandLine(int argc, char** /*argv*/) {
  if (argc <= 1) return std::nullopt;
  std::fputs("usage: tavro2 [--dir DIR] [--lookup TEXT | --about | --help]\n", stderr);
  return 2;
}

}  // namespace tavro2
