// End to end under a real X server: with the clipboard button down, xclip
// puts a word on the clipboard; the main window looks it up, records it in
// "History.txt" and shows it in the popup beside the history window. The test
// starts its own Xvfb and reruns this program on it with the X11 platform,
// selecting the disabled child test below. Without Xvfb or xclip it skips.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTextEdit>

#include <functional>

#include "test_util.h"
#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui/main_window.h"

namespace tavro2::test {
namespace {

constexpr char kChildFilter[] = "XvfbClipboardTest.DISABLED_ChildCopiedWordIsLookedUp";

// Processes events until `done` holds or the deadline passes.
bool processEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

// An Xvfb server on a display number it picks itself, stopped when the
// object goes. start() is false, with `why` set, when no server came up.
struct XvfbServer {
  bool start() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
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
  bool fail(std::string reason) {
    why = std::move(reason);
    return false;
  }
  ~XvfbServer() {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(5000)) process.kill(), process.waitForFinished(5000);
  }
  QProcess process;
  QString display;
  std::string why;
};

TEST(XvfbClipboardTest, CopiedWordIsLookedUpRecordedAndPoppedUp) {
  if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
    GTEST_SKIP() << "xclip is not installed; the clipboard test needs it";
  XvfbServer server;
  if (!server.start()) GTEST_SKIP() << "no X server for the clipboard test: " << server.why;

  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), server.display);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("TAVRO2_XVFB_CHILD"), QStringLiteral("1"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_also_run_disabled_tests"),
               QStringLiteral("--gtest_filter=") + kChildFilter});
  ASSERT_TRUE(child.waitForStarted(10000));
  const bool finished = child.waitForFinished(150000);
  if (!finished) child.kill(), child.waitForFinished(5000);
  const std::string output = child.readAll().toStdString();
  ASSERT_TRUE(finished) << "the child did not finish:\n" << output;
  EXPECT_EQ(child.exitCode(), 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// The child, run on the Xvfb display by the test above.
TEST(XvfbClipboardTest, DISABLED_ChildCopiedWordIsLookedUp) {
  ASSERT_FALSE(qEnvironmentVariableIsEmpty("TAVRO2_XVFB_CHILD")) << "run by the test above";
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));

  TempDir dir;
  writeDataFile(dir.file("dataen.dat"), {"can", "hello", "walk"},
                {"dapat", "halo; salam", "berjalan"});
  writeDataFile(dir.file("dataid.dat"), {"halo"}, {"hello"});
  writeDataFile(dir.file("datapr.dat"), {"halo apa kabar"}, {"hello how are you"});
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nUseClipboard=1\r\nHistoryFromRight=1\r\n");
  writeFile(dir.file("History.txt"), crlfJoin({"can=can dapat"}));

  MainWindow window(dir.path());
  window.show();
  ASSERT_TRUE(window.clipboardMonitoring());
  ASSERT_TRUE(processEventsUntil(
      [&] { return window.statusLine()->text().contains(QStringLiteral("Data OK")); }, 30000))
      << window.statusLine()->text().toStdString();

  // Open the history window and let it slide in on its own timer.
  window.toggleHistory();
  MainWindowHistoryHost* host = window.historyHost();
  ASSERT_NE(host, nullptr);
  ASSERT_NE(host->historyWindow(), nullptr);
  ASSERT_TRUE(processEventsUntil([&] { return host->historyWindow()->isDocked(); }, 20000));

  // Another program takes the clipboard. xclip stays in the background as
  // its owner until the X server goes.
  QProcess xclip;
  xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")});
  ASSERT_TRUE(xclip.waitForStarted(10000));
  xclip.write("  Hello\n");
  xclip.closeWriteChannel();
  ASSERT_TRUE(xclip.waitForFinished(20000));

  const std::string historyFile = dir.file("History.txt");
  ASSERT_TRUE(processEventsUntil(
      [&] { return readFile(historyFile).find("hello=") != std::string::npos; }, 30000))
      << "History.txt: " << readFile(historyFile);
  EXPECT_EQ(readFile(historyFile), crlfJoin({"can=can dapat", "hello=hello halo; salam"}));
  EXPECT_EQ(window.searchBox()->text(), QStringLiteral("hello"));
  EXPECT_EQ(window.translationPane()->toPlainText(), QStringLiteral("hello halo; salam"));
  EXPECT_TRUE(window.clipboardHit());

  FHistory* history = host->historyWindow();
  ASSERT_FALSE(history->items().empty());
  EXPECT_EQ(history->items().front()->itemText(), " hello");
  EXPECT_TRUE(history->items().front()->isMarked());
  FDef* popup = host->definitionPopup();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->textArea()->toPlainText(), QStringLiteral("hello halo; salam"));
  EXPECT_EQ(popup->x() + popup->width(), history->x());

  window.close();
}

}  // namespace
}  // namespace tavro2::test
