#include "ui_test_util.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QStandardPaths>

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

bool XvfbServer::start() {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  auto fail = [this](std::string reason) {
    why = std::move(reason);
    return false;
  };
  if (xvfb.isEmpty()) return fail("Xvfb is not installed");
  process.start(xvfb, QString("-displayfd 1 -screen 0 1280x800x24 -nolisten tcp").split(' '));
  if (!process.waitForStarted(10000)) return fail("Xvfb did not start");
  QDeadlineTimer deadline(20000);
  QByteArray out;
  while (!out.contains('\n')) {
    if (deadline.hasExpired() || process.state() != QProcess::Running)
      return fail("Xvfb reported no display: " + process.readAllStandardError().toStdString());
    process.waitForReadyRead(200);
    out += process.readAllStandardOutput();
  }
  display = QStringLiteral(":") + QString::fromLatin1(out.trimmed());
  return true;
}

XvfbServer::~XvfbServer() {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(5000)) process.kill(), process.waitForFinished(5000);
}

bool putWithXclip(const char* selection, const QByteArray& text) {
  QProcess xclip;
  xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QString::fromLatin1(selection)});
  if (!xclip.waitForStarted(10000)) return false;
  xclip.write(text);
  xclip.closeWriteChannel();
  return xclip.waitForFinished(20000) && xclip.exitCode() == 0;
}

std::string runChildTests(const XvfbServer& server, const QString& filter, bool& passed) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), server.display);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("TAVRO2_XVFB_CHILD"), QStringLiteral("1"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_also_run_disabled_tests"),
               QStringLiteral("--gtest_filter=") + filter});
  passed = false;
  if (!child.waitForStarted(10000)) return "the child did not start";
  const bool finished = child.waitForFinished(240000);
  if (!finished) child.kill(), child.waitForFinished(5000);
  const std::string output = child.readAll().toStdString();
  passed = finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
           output.find("[  PASSED  ]") != std::string::npos &&
           output.find("[  PASSED  ] 0 tests") == std::string::npos &&
           output.find("[  FAILED  ]") == std::string::npos;
  return output;
}

}  // namespace tavro2::test
