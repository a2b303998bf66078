// End to end under a real X server. The test starts its own Xvfb and reruns
// this program on it with the X11 platform, selecting the disabled child
// tests (XvfbChild, here and in xvfb_selection_test.cc). Without Xvfb or
// xclip it skips. Here: with the clipboard button down, xclip puts a word on
// the clipboard; the main window looks it up, records it in "History.txt"
// and shows it in the popup beside the history window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTextEdit>

#include "test_util.h"
#include "ui_test_util.h"
#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui/main_window.h"

namespace tavro2::test {
namespace {

// Every XvfbChild test runs in one child process on one Xvfb server.
TEST(XvfbClipboardTest, ChildTestsPassOnARealXServer) {
  if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
    GTEST_SKIP() << "xclip is not installed; the clipboard tests need it";
  XvfbServer server;
  if (!server.start()) GTEST_SKIP() << "no X server for the clipboard tests: " << server.why;
  bool passed = false;
  const std::string output = runChildTests(server, QStringLiteral("XvfbChild.*"), passed);
  EXPECT_TRUE(passed) << output;
}

// The children, run on the Xvfb display by the test above.
TEST(XvfbChild, DISABLED_CopiedWordIsLookedUpRecordedAndPoppedUp) {
  ASSERT_FALSE(qEnvironmentVariableIsEmpty("TAVRO2_XVFB_CHILD")) << "run by the test above";
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));

  TempDir dir;
  writeDictionary(dir);
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nUseClipboard=1\r\nHistoryFromRight=1\r\n");
  writeFile(dir.file("History.txt"), crlfJoin({"can=can dapat"}));

  MainWindow window(dir.path());
  window.show();
  ASSERT_TRUE(window.clipboardMonitoring());
  ASSERT_TRUE(processEventsUntil(
      [&] { return statusTextOf(window).contains(QStringLiteral("Data OK")); }, 30000))
      << statusTextOf(window).toStdString();

  // Open the history window and let it slide in on its own timer.
  window.toggleHistory();
  MainWindowHistoryHost* host = window.historyHost();
  ASSERT_NE(host, nullptr);
  ASSERT_NE(host->historyWindow(), nullptr);
  ASSERT_TRUE(processEventsUntil([&] { return host->historyWindow()->isDocked(); }, 20000));

  // Another program takes the clipboard.
  ASSERT_TRUE(putWithXclip("clipboard", "  Hello\n"));

  const std::string historyFile = dir.file("History.txt");
  ASSERT_TRUE(processEventsUntil(
      [&] { return readFile(historyFile).find("hello=") != std::string::npos; }, 30000))
      << "History.txt: " << readFile(historyFile);
  EXPECT_EQ(readFile(historyFile), crlfJoin({"can=can dapat", "hello=hello halo; salam"}));
  EXPECT_EQ(searchBoxOf(window)->text(), QStringLiteral("hello"));
  EXPECT_EQ(translationOf(window), QStringLiteral("hello halo; salam"));
  EXPECT_TRUE(host->clipboardHit());

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
