// tavro2: the dictionary window, or a command-line lookup.
#include "app/command_line.h"

#ifdef TAVRO2_WITH_QT
#include "ui/run_window.h"
#endif

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (auto status = tavro2::runCommandLine(argc, argv)) {
    // The command line's answer is out: the process ends here without
    // tearing down, so a Hunspell dictionary still loading for a lookup that
    // never needed it is not waited for, and nothing is freed one allocation
    // at a time that the system frees at once.
    std::fflush(nullptr);
    std::_Exit(*status);
  }
#ifdef TAVRO2_WITH_QT
  return tavro2::runWindow(argc, argv);
#else
  return 2;
#endif
}
