#include "ui/run_window.h"

#include <QApplication>

#include <string_view>

#include "app/program_dir.h"
#include "ui/image_list.h"
#include "ui/main_window.h"

namespace tavro2 {

int RunWindow(int argc, char** argv) {
  // --dir DIR names the directory of the data, settings and history files
  // (portable use, tests); without it they live beside the program.
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string_view(argv[i]) == "--dir") SetProgramDirectory(argv[i + 1]);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setWindowIcon(ProgramIcon());

  MainWindow window(ProgramDirectory());
  window.show();
  return QApplication::exec();
}

}  // namespace tavro2
