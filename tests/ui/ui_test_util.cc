#include "ui_test_util.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QProcess>

namespace tavro2::test {

void writeDictionary(const TempDir& dir) {
  writeDictionary(dir.path(),
                  {{"can", "hello", "rerun", "run", "runner", "walk"},
                   {"dapat", "halo; salam", "menjalankan lagi", "kk lari", "pelari", "kk berjalan"},
                   {"halo", "jalan", "lari"},
                   {"hello", "road", "run"},
                   {"saya lari cepat", "lari pagi", "halo apa kabar"},
                   {"I run fast", "morning run", "hello how are you"}});
}

LoadedWindow::LoadedWindow(const std::string& settings, const std::string& history) {
  writeDictionary(dir);
  if (!settings.empty()) writeFile(dir.file("Tavro2.ini"), "[General]\r\n" + settings);
  if (!history.empty()) writeFile(dir.file("History.txt"), history);
  window = std::make_unique<MainWindow>(dir.path());
  window->show();
  loaded = processEventsUntil([this] { return statusTextOf(*window).contains("Data OK"); }, 30000);
  host = window->historyHost();
}

UrlCatcher::UrlCatcher(QString scheme) : scheme_(std::move(scheme)) {
  QDesktopServices::setUrlHandler(scheme_, this, "open");
}

UrlCatcher::~UrlCatcher() { QDesktopServices::unsetUrlHandler(scheme_); }

bool processEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

bool putWithXclip(const char* selection, const QByteArray& text) {
  QProcess xclip;
  xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QString::fromLatin1(selection)});
  if (!xclip.waitForStarted(10000)) return false;
  xclip.write(text);
  xclip.closeWriteChannel();
  return xclip.waitForFinished(20000) && xclip.exitCode() == 0;
}

}  // namespace tavro2::test
