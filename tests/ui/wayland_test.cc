// Wayland behaviour on a real compositor: these disabled tests run only as the WaylandTests
// ctests, which start a headless sway (or weston) for them with scripts/with-wayland and have
// wl-copy play the other program.
#ifdef TAVRO2_HAVE_WAYLAND
#include <QElapsedTimer>
#include <QProcess>
#include <optional>

#include "ui/clipboard_monitor.h"
#include "ui/history_host.h"
#include "ui/wayland_selection_reader.h"
#include "ui_test_util.h"

namespace tavro2::test {
namespace {

// wl-copy takes the clipboard (or with "--primary" the primary selection) with `text`, and
// serves it from the background until another copy replaces it.
bool wlCopy(QStringList arguments, const QByteArray& text) {
  QProcess copy;
  copy.setStandardOutputFile(QProcess::nullDevice());
  copy.setStandardErrorFile(QProcess::nullDevice());
  copy.start(QStringLiteral("wl-copy"), arguments);
  if (!copy.waitForStarted(10000)) return false;
  copy.write(text);
  copy.closeWriteChannel();
  return copy.waitForFinished(30000) && copy.exitCode() == 0;
}

bool swaymsg(const QString& command) {
  QProcess sway;
  sway.setStandardOutputFile(QProcess::nullDevice());
  sway.start(QStringLiteral("swaymsg"), {command});
  return sway.waitForFinished(10000) && sway.exitCode() == 0;
}

bool historyHas(const LoadedWindow& w, const char* line) {
  return readFile(w.dir.file("History.txt")).find(line) != std::string::npos;
}

// sway, on Wayland's own Qt platform or on XWayland: the window is shown, then the user moves
// to another workspace, so another program has the focus; copies and selections there are
// looked up all the same.
TEST(WaylandChild, DISABLED_CopiesReachTheWindowWithoutFocus) {
  LoadedWindow w("UseClipboard=1\r\nUseSelection=1\r\n", crlfJoin({"can=can dapat"}));
  ASSERT_TRUE(w.loaded && w.window->clipboardMonitoring());
  EXPECT_TRUE(w.host->selectionReadable() && !w.host->clipboardNeedsFocus());
  EXPECT_NE(statusTextOf(*w.window), " Clipboard is read only while this window is active");
  // Mapped and focused first: a window mapped after the switch would open on the new workspace.
  ASSERT_TRUE(processEventsUntil([&] { return w.window->isActiveWindow(); }, 10000));
  ASSERT_TRUE(swaymsg("workspace 2"));
  ASSERT_TRUE(processEventsUntil([&] { return QGuiApplication::focusWindow() == nullptr; }, 10000));

  ASSERT_TRUE(wlCopy({}, "  Hello\n"));
  ASSERT_TRUE(processEventsUntil([&] { return historyHas(w, "hello="); }, 20000));
  ASSERT_TRUE(wlCopy({"--primary"}, "Walk"));
  ASSERT_TRUE(processEventsUntil([&] { return historyHas(w, "walk="); }, 20000));
  EXPECT_EQ(readFile(w.dir.file("History.txt")),
            crlfJoin({"can=can dapat", "hello=hello halo; salam", "walk=walk kk berjalan"}));
  EXPECT_EQ(QGuiApplication::focusWindow(), nullptr) << "a popup took the focus";

  // 20 MB on the clipboard: read on the reader's thread, judged in a moment, and no tick of
  // the window's timers comes late meanwhile.
  ClipboardMonitor& monitor = w.host->clipboardMonitor();
  const int reads = monitor.readCount();
  QElapsedTimer sinceTick;
  qint64 longestGap = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    longestGap = std::max(longestGap, sinceTick.restart());
  });
  ASSERT_TRUE(wlCopy({}, QByteArray(20 << 20, 'a')));  // this test's own wait is not timed
  ticker.start(10);
  sinceTick.start();
  ASSERT_TRUE(processEventsUntil(
      [&] { return monitor.readCount() > reads && !monitor.readPending(); }, 20000));
  processEventsUntil([] { return false; }, 100);  // a few more ticks after the reading
  EXPECT_LT(longestGap, 250);
  RecordProperty("longestGapMs", static_cast<int>(longestGap));
  ASSERT_TRUE(wlCopy({}, "run"));
  EXPECT_TRUE(processEventsUntil([&] { return historyHas(w, "run="); }, 20000));
}

// What the Wayland reader hands back: `done` is called on this thread.
ClipboardReading readOnce(WaylandSelectionReader& reader) {
  std::optional<ClipboardReading> got;
  reader.read([&got](ClipboardReading reading) { got = std::move(reading); });
  processEventsUntil([&] { return got.has_value(); }, 10000);
  return got.value_or(ClipboardReading{true, "no answer", true});
}

TEST(WaylandChild, DISABLED_ReaderHearsEveryCopyAndStopsAtItsLimit) {
  WaylandSelectionReader reader(SelectionKind::kClipboard, kSelectionTimeoutMs, 1000);
  ASSERT_TRUE(reader.connected());
  int changes = 0;
  reader.onChange([&] { ++changes; });
  const std::string text(5000, 'k');
  ASSERT_TRUE(wlCopy({}, QByteArray::fromStdString(text)));
  ASSERT_TRUE(processEventsUntil([&] { return changes > 0; }, 10000));
  const ClipboardReading cut = readOnce(reader);
  EXPECT_TRUE(cut.hasText && cut.tooLong && cut.text == text.substr(0, 1000)) << cut.text.size();

  ASSERT_TRUE(wlCopy({"--type", "image/png"}, "\x89PNG"));  // no text in any form
  ASSERT_TRUE(processEventsUntil([&] { return changes > 1; }, 10000));
  EXPECT_FALSE(readOnce(reader).hasText);
  ASSERT_TRUE(wlCopy({}, "sampai jumpa"));
  ASSERT_TRUE(processEventsUntil([&] { return changes > 2; }, 10000));
  const ClipboardReading words = readOnce(reader);
  EXPECT_TRUE(words.hasText && !words.tooLong && words.text == "sampai jumpa");
}

// weston offers no data-control: the window says once that it reads the clipboard only while
// it is active, and greys select-to-translate.
TEST(WaylandChild, DISABLED_FocusOnlyDesktopIsToldOnce) {
  ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland"));
  TempDir dir;
  writeDictionary(dir);
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nUseClipboard=1\r\n");
  MainWindow window(dir.path());
  window.show();
  const QString note = " Clipboard is read only while this window is active";
  ASSERT_TRUE(processEventsUntil([&] { return statusTextOf(window) == note; }, 30000))
      << statusTextOf(window).toStdString();  // said in place of " Data OK", once loaded
  EXPECT_TRUE(!window.historyHost()->selectionReadable() &&
              window.historyHost()->clipboardNeedsFocus());
  searchFor(window, "walk");
  auto* clipboardButton = child<QAbstractButton>(window, "clipboardButton");
  clipboardButton->click();
  clipboardButton->click();
  EXPECT_NE(statusTextOf(window), note) << "said once only";

  // What this desktop cannot do is greyed in the options, not left to do nothing.
  std::vector<bool> enabled;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    for (const char* name : {"useSelection", "alwaysOnTop", "opacity", "autoRemAlpha"})
      enabled.push_back(child(*dialog, name)->isEnabled());
    EXPECT_EQ(dialog->focusWidget(), child(*dialog, "autoRemAlpha"));
    dialog->close();
  });
  child<QAbstractButton>(window, "settingsButton")->click();
  EXPECT_EQ(enabled, std::vector<bool>({false, false, false, true}));
}

}  // namespace
}  // namespace tavro2::test
#endif  // TAVRO2_HAVE_WAYLAND
