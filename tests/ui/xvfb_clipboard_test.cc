// End to end under a real X server: the test starts its own Xvfb and reruns this program on it
// for the disabled XvfbChild tests (here and in xvfb_selection_test.cc); without Xvfb or xclip
// it skips. Here a word xclip copies is looked up, recorded and popped up beside the history.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui_test_util.h"

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

  LoadedWindow w("UseClipboard=1\r\nHistoryFromRight=1\r\n", crlfJoin({"can=can dapat"}));
  ASSERT_TRUE(w.loaded && w.window->clipboardMonitoring()) << statusTextOf(*w.window).toStdString();
  w.window->toggleHistory();  // slides in on its own timer
  FHistory* history = w.host->historyWindow();
  ASSERT_NE(history, nullptr);
  ASSERT_TRUE(processEventsUntil([&] { return history->isDocked(); }, 20000));

  ASSERT_TRUE(putWithXclip("clipboard", "  Hello\n"));  // another program takes the clipboard
  const std::string historyFile = w.dir.file("History.txt");
  ASSERT_TRUE(processEventsUntil(
      [&] { return readFile(historyFile).find("hello=") != std::string::npos; }, 30000));
  EXPECT_EQ(readFile(historyFile), crlfJoin({"can=can dapat", "hello=hello halo; salam"}));
  FDef* popup = w.host->definitionPopup();
  EXPECT_EQ(QStringList({searchBoxOf(*w.window)->text(), popup->textArea()->toPlainText(),
                         QString::fromStdString(history->items().front()->itemText())}),
            QStringList({"hello", "hello halo; salam", " hello"}));
  EXPECT_TRUE(w.host->clipboardHit() && history->items().front()->isMarked() && popup->isVisible());
  EXPECT_EQ(popup->x() + popup->width(), history->x());
}

}  // namespace
}  // namespace tavro2::test
