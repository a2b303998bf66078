// tavro2: the dictionary window, or a command-line lookup.
#include "app/command_line.h"

#ifdef TAVRO2_WITH_QT
#include "ui/run_window.h"
#endif

int main(int argc, char** argv) {
  if (auto status = tavro2::runCommandLine(argc, argv)) return *status;
#ifdef TAVRO2_WITH_QT
  return tavro2::runWindow(argc, argv);
#else
  return 2;
#endif
}
