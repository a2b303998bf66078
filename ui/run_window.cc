#include "ui/run_window.h"

#include <QApplication>

namespace tavro2 {

// Placeholder until the main window lands.
int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}

}  // namespace tavro2
