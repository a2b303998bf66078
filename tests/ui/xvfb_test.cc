// X11 behaviour on a real server: these disabled tests run only as the XvfbTests ctest, which
// starts an Xvfb server for them (tests/CMakeLists.txt) and has xclip play the other program.
#ifdef TAVRO2_HAVE_XCB
#include <poll.h>
#include <xcb/xcb.h>

#include <QCursor>
#include <QElapsedTimer>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "ui/clipboard_monitor.h"
#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui/x11_selection_reader.h"
#include "ui_test_util.h"

#ifdef TAVRO2_HAVE_SOUND
#include <QMediaDevices>

#include "ui/pronouncer.h"
#endif

namespace tavro2::test {
namespace {

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : 0;
  std::free(reply);
  return atom;
}

// Another X client: takes a selection and never reads its events, so every
// SelectionRequest sent to it goes unanswered.
struct SilentOwner {
  explicit SilentOwner(const char* selection) {
    c = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t atom = internAtom(c, selection);
    xcb_set_selection_owner(c, window, atom, XCB_CURRENT_TIME);
    auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom), nullptr);
    owns = owner != nullptr && owner->owner == window;
    std::free(owner);
  }
  ~SilentOwner() { xcb_disconnect(c); }
  xcb_connection_t* c;
  bool owns = false;
};

// Records every value the window's _NET_WM_WINDOW_OPACITY takes, as another
// client sees it, on a thread of its own: alpha 0..255, 255 for none.
class OpacitySampler {
 public:
  explicit OpacitySampler(xcb_window_t window) : window_(window) {
    c_ = xcb_connect(nullptr, nullptr);
    atom_ = internAtom(c_, "_NET_WM_WINDOW_OPACITY");
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c_, window_, XCB_CW_EVENT_MASK, &events);
    xcb_flush(c_);
    thread_ = std::thread([this] { run(); });
  }
  ~OpacitySampler() { stop_ = true, thread_.join(), xcb_disconnect(c_); }
  std::vector<int> values() {
    std::lock_guard lock(mutex_);
    return values_;
  }

 private:
  void run() {
    for (pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0}; !stop_; poll(&fd, 1, 20)) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
        const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && notify->atom == atom_) record();
        std::free(event);
      }
    }
  }
  void record() {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window_, atom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    int alpha = 255;
    if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
      const uint32_t value = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
      alpha = static_cast<int>(value * 255.0 / 0xffffffffu + 0.5);
    }
    std::free(reply);
    std::lock_guard lock(mutex_);
    if (values_.empty() || values_.back() != alpha) values_.push_back(alpha);
  }

  xcb_connection_t* c_;
  xcb_window_t window_;
  xcb_atom_t atom_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<int> values_;
  std::thread thread_;
};

// The keyboard walk through every command, on X11.
TEST(XvfbChild, DISABLED_EveryCommandByKeyboardAlone) {
  TempDir dir;
  writeDictionary(dir);
  walkEveryCommandByKeyboard(dir);
}

TEST(XvfbChild, DISABLED_CopiedWordIsLookedUpRecordedAndPoppedUp) {
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
  searchFor(*w.window, "zzz");  // a later search that finds nothing
  EXPECT_FALSE(popup->isVisible()) << "the popup no longer shows the current word";
  history->chooseHistoryItem(history->items()[1]);
  EXPECT_EQ(translationOf(*w.window), "can dapat");
  history->toggleMainWindow();
  EXPECT_TRUE(!w.window->isVisible() && w.window->hiddenFlag());
  history->toggleMainWindow();
  EXPECT_TRUE(w.window->isVisible() && !w.window->hiddenFlag());
  w.window->close();  // takes the history window with it
  EXPECT_TRUE(!w.host->historyWindow() && !w.window->isVisible());
}

// While a read waits on the owner, each poll returns at once (a read waiting in a nested
// loop would keep timers running but hold back the user's keys, so the poll itself is timed).
TEST(XvfbChild, DISABLED_SilentClipboardOwnerCostsTheWindowNoFrame) {
  LoadedWindow w("UseClipboard=1\r\n");
  ASSERT_TRUE(w.loaded);
  for (QTimer* timer : w.window->findChildren<QTimer*>()) {
    if (timer->interval() == 100) timer->stop();  // the clipboard timer: polled by hand here
  }
  ClipboardMonitor& monitor = w.host->clipboardMonitor();
  qint64 longest = 0;
  auto poll = [&] {
    QElapsedTimer call;
    call.start();
    w.host->pollClipboard();
    longest = std::max(longest, call.elapsed());
  };
  ASSERT_TRUE(processEventsUntil([&] { return poll(), !monitor.readPending(); }, 5000));
  const int reads = monitor.readCount();
  SilentOwner owner("CLIPBOARD");
  ASSERT_TRUE(owner.owns);
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(processEventsUntil([&] { return poll(), monitor.readCount() > reads; }, 5000));
  ASSERT_TRUE(processEventsUntil([&] { return poll(), !monitor.readPending(); }, 5000));
  EXPECT_LT(longest, 50) << "read given up after " << clock.elapsed() << " ms";
  EXPECT_FALSE(w.host->clipboardHit());
}

TEST(XvfbChild, DISABLED_EveryFadeStepReachesTheServer) {
  LoadedWindow w("AutoCloseTime=0\r\n");
  ASSERT_TRUE(w.loaded);
  searchFor(*w.window, "walk");
  FDef* popup = w.host->definitionPopup();
  popup->showNearPointer(QPoint(200, 200));
  ASSERT_TRUE(processEventsUntil([&] { return popup->isVisible(); }, 5000));
  OpacitySampler sampler(static_cast<xcb_window_t>(popup->winId()));
  w.host->setClipboardHit(true);
  ASSERT_TRUE(processEventsUntil([&] { return !popup->isVisible(); }, 10000));
  processEventsUntil([&] { return !sampler.values().empty() && sampler.values().back() == 255; },
                     2000);
  // 245, 235, ... 5, then 0 (the 26th step, -5), 255 when hidden. A busy machine may miss a
  // sample or two; a fade held back in Qt's buffer shows only a handful.
  std::vector<int> steps;
  for (int step = 1; step <= 26; ++step) steps.push_back(std::max(0, 255 - 10 * step));
  std::vector<int> seen = sampler.values();
  if (!seen.empty() && seen.back() == 255) seen.pop_back();
  std::size_t next = 0, missed = 0;
  for (int value : seen) {
    while (next < steps.size() && steps[next] != value) ++next, ++missed;
    ASSERT_LT(next, steps.size()) << "out of order or unexpected: " << value;
    ++next;
  }
  missed += steps.size() - next;
  EXPECT_LE(missed, 2u) << "seen " << ::testing::PrintToString(seen);
}

// What the X11 reader hands back: `done` is called on this thread.
ClipboardReading readOnce(X11SelectionReader& reader) {
  std::optional<ClipboardReading> got;
  reader.read([&got](ClipboardReading reading) { got = std::move(reading); });
  processEventsUntil([&] { return got.has_value(); }, 10000);
  return got.value_or(ClipboardReading{true, "no answer", true});
}

TEST(XvfbChild, DISABLED_X11ReaderTakesLargeTextsInPiecesAndStopsAtItsLimit) {
  std::string text;  // 5 MB: more than one request carries, so it comes by INCR
  for (int i = 0; text.size() < (5 << 20); ++i) text += "kata" + std::to_string(i) + ' ';
  ASSERT_TRUE(putWithXclip("clipboard", QByteArray::fromStdString(text)));
  X11SelectionReader reader(SelectionKind::kClipboard);
  ASSERT_TRUE(reader.connected());
  const ClipboardReading whole = readOnce(reader);
  EXPECT_TRUE(whole.hasText && !whole.tooLong && whole.text == text) << whole.text.size();
  // A fresh owner: the last one may still be winding up the transfer.
  ASSERT_TRUE(putWithXclip("clipboard", QByteArray::fromStdString(text)));
  X11SelectionReader small(SelectionKind::kClipboard, kSelectionTimeoutMs, 1000);
  const ClipboardReading cut = readOnce(small);
  EXPECT_TRUE(cut.hasText && cut.tooLong && cut.text == text.substr(0, 1000));
}

TEST(XvfbChild, DISABLED_SelectedTextPopsUpNearThePointer) {
  LoadedWindow w("UseSelection=1\r\n");
  ASSERT_TRUE(w.loaded);
  QCursor::setPos(400, 300);
  ASSERT_TRUE(processEventsUntil([] { return QCursor::pos() == QPoint(400, 300); }, 5000));
  ASSERT_TRUE(putWithXclip("primary", "  Walk\n"));

  FDef* popup = w.host->definitionPopup();
  ASSERT_TRUE(processEventsUntil([&] { return popup->isVisible(); }, 10000));
  EXPECT_EQ(
      std::tuple(popup->textArea()->toPlainText(), popup->pos(), searchBoxOf(*w.window)->text(),
                 readFile(w.dir.file("History.txt")), w.host->clipboardHit()),
      std::tuple("walk kk berjalan", QPoint(416, 316), "walk", "walk=walk kk berjalan\r\n", true));
}

#ifdef TAVRO2_HAVE_SOUND
// Ctrl+P on a real X server, with this machine's own synthesiser and sound devices: the word
// is made off the window's thread while its timers run on, and a machine with no sound device
// (the test machines have none) hears it said once.
TEST(XvfbChild, DISABLED_PronounceKeepsTheWindowGoing) {
  LoadedWindow w;
  ASSERT_TRUE(w.loaded);
  const bool noDevice = QMediaDevices::defaultAudioOutput().isNull();
  searchFor(*w.window, "walk");
  Pronouncer& pronouncer = w.window->pronouncer();
  QSignalSpy started(&pronouncer, &Pronouncer::synthesisStarted);
  QSignalSpy finished(&pronouncer, &Pronouncer::finished);
  QSignalSpy status(w.window.get(), &MainWindow::statusChanged);
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(1);
  for (int press = 0; press < 2; ++press) {
    QTest::keyClick(searchBoxOf(*w.window), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(finished.wait(10000));
  }
  EXPECT_EQ(started.count(), 2);
  EXPECT_GT(ticks, 0);
  int said = 0;
  for (const QList<QVariant>& call : status)
    said += call.at(0).toString() == " No sound device: Pronounce cannot play";
  EXPECT_EQ(said, noDevice ? 1 : 0);
}
#endif

}  // namespace
}  // namespace tavro2::test
#endif  // TAVRO2_HAVE_XCB
