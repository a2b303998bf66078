#include "ui/run_window.h"

#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/qt_platform.h"
#include "app/storage.h"
#include "skin/image_list.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"

namespace tavro2 {

void bringForward(MainWindow& window, const QString& word) {
  window.bringForward();
  if (word.isEmpty()) return;
  window.setSearchText(word);
  window.search();
}

// Qt's scale is fixed when it starts: for a desktop set to large text the
// program starts once more, scaled (windowScaleForFont), before it shows or
// claims anything. Returns only when no restart is needed or it failed.
void restartScaledForLargeText(char** originalArgv) {
  constexpr char kChosen[] = "TAVRO2_SCALE_CHOSEN";  // set for the restarted program
  if (std::getenv(kChosen) != nullptr) return;
  // The main window's full size, with room for the desktop's panels.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  const double fit = std::min(room.width() / 360.0, room.height() / 450.0);
  const double scale = windowScaleForFont(QApplication::font().pointSizeF(),
                                          std::getenv("QT_SCALE_FACTOR") != nullptr, fit);
  if (scale <= 1.0) return;
  ::setenv("QT_SCALE_FACTOR", QByteArray::number(scale).constData(), 1);
  ::setenv(kChosen, "1", 1);
  ::execv("/proc/self/exe", originalArgv);
  ::unsetenv("QT_SCALE_FACTOR");  // the restart failed: go on unscaled
}

int runWindow(int argc, char** argv) {
  // X11 (XWayland on a Wayland desktop) unless the user chose (see there).
  if (const auto platform = chosenQtPlatform(currentPlatformEnvironment(argc, argv)))
    ::setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
  // Qt takes its own options (-platform, -style, ...) out of argv first;
  // the restart needs them.
  std::vector<char*> originalArgv(argv, argv + argc);
  originalArgv.push_back(nullptr);
  QApplication app(argc, argv);
  restartScaledForLargeText(originalArgv.data());
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setApplicationVersion(kVersion);
  QApplication::setDesktopFileName("org.tavro2.Tavro2");
  QApplication::setWindowIcon(programIcon());

  std::vector<std::string> rest;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) rest.push_back(arguments[i].toStdString());
  WindowArguments parsed;
  if (auto err = parseWindowArguments(rest, parsed)) return *err;
  if (parsed.dir) setStorage(storageIn(*parsed.dir));
  const StoragePlaces places = currentStorage();
  const QString word = QString::fromStdString(parsed.word);

  const QString serverName = instanceServerName(places.identity());
  if (handToRunningInstance(serverName, word)) return 0;
  InstanceServer server;
  if (!server.listen(serverName)) {
    // Another window started at the very same moment: hand over to it.
    if (handToRunningInstance(serverName, word)) return 0;
    std::fputs("tavro2: cannot claim the single-instance socket; running anyway\n", stderr);
  }

  prepareStorage(places);
  MainWindow window(places);
  QObject::connect(&server, &InstanceServer::activated, &window,
                   [&window](const QString& w) { bringForward(window, w); });
  if (!word.isEmpty()) {
    // The word is looked up once the dictionary is in, as if typed then.
    window.setSearchText(word);
    QObject::connect(
        &window, &MainWindow::loadFinished, &window, [&window] { window.search(); },
        Qt::SingleShotConnection);
  }
  window.show();
  return QApplication::exec();
}

}  // namespace tavro2
