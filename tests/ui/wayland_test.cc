// Wayland behaviour on a real compositor: these disabled tests run only as the WaylandTests
// ctests, which start a headless sway (or weston) for them with scripts/with-wayland and have
// wl-copy play the other program.
#ifdef TAVRO2_HAVE_WAYLAND
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QElapsedTimer>
#include <QProcess>
#include <atomic>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include "wayland/wlr-data-control-client.h"

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

// Another client that takes the clipboard through data-control and, asked for its text, never
// writes it (it keeps the pipe open until it goes).
class SilentSource {
 public:
  SilentSource() {
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) return;
    wl_registry* registry = wl_display_get_registry(display_);
    static constexpr wl_registry_listener kGlobals{
        [](void* data, wl_registry* r, uint32_t name, const char* interface, uint32_t) {
          auto* self = static_cast<SilentSource*>(data);
          if (std::strcmp(interface, wl_seat_interface.name) == 0 && self->seat_ == nullptr)
            self->seat_ = static_cast<wl_seat*>(wl_registry_bind(r, name, &wl_seat_interface, 1));
          if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
            self->manager_ = static_cast<zwlr_data_control_manager_v1*>(
                wl_registry_bind(r, name, &zwlr_data_control_manager_v1_interface, 1));
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry, &kGlobals, this);
    wl_display_roundtrip(display_);
    if (seat_ == nullptr || manager_ == nullptr) return;
    device_ = zwlr_data_control_manager_v1_get_data_device(manager_, seat_);
    static constexpr zwlr_data_control_device_v1_listener kDevice{
        [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
          zwlr_data_control_offer_v1_destroy(offer);
        },
        [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {},
        [](void*, zwlr_data_control_device_v1*) {},
        [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}};
    zwlr_data_control_device_v1_add_listener(device_, &kDevice, this);
    source_ = zwlr_data_control_manager_v1_create_data_source(manager_);
    static constexpr zwlr_data_control_source_v1_listener kSource{
        [](void* data, zwlr_data_control_source_v1*, const char*, int32_t fd) {
          static_cast<SilentSource*>(data)->held_.push_back(fd);  // and nothing written
        },
        [](void*, zwlr_data_control_source_v1*) {}};
    zwlr_data_control_source_v1_add_listener(source_, &kSource, this);
    zwlr_data_control_source_v1_offer(source_, "text/plain;charset=utf-8");
    zwlr_data_control_device_v1_set_selection(device_, source_);
    owns = wl_display_roundtrip(display_) >= 0;
    thread_ = std::thread([this] {
      while (!stop_) {
        while (wl_display_prepare_read(display_) != 0) wl_display_dispatch_pending(display_);
        wl_display_flush(display_);
        pollfd fd{wl_display_get_fd(display_), POLLIN, 0};
        if (poll(&fd, 1, 20) > 0) {
          wl_display_read_events(display_);
        } else {
          wl_display_cancel_read(display_);
        }
        wl_display_dispatch_pending(display_);
      }
    });
  }
  ~SilentSource() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (const int fd : held_) close(fd);
    if (display_ != nullptr) wl_display_disconnect(display_);
  }
  bool owns = false;

 private:
  wl_display* display_ = nullptr;
  wl_seat* seat_ = nullptr;
  zwlr_data_control_manager_v1* manager_ = nullptr;
  zwlr_data_control_device_v1* device_ = nullptr;
  zwlr_data_control_source_v1* source_ = nullptr;
  std::vector<int> held_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

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

  // An owner that never writes its text is given up on after the timeout, on the reader's
  // thread: the read answers "no text" and this thread was free all along.
  SilentSource silent;
  ASSERT_TRUE(silent.owns);
  ASSERT_TRUE(processEventsUntil([&] { return changes > 3; }, 10000));
  QElapsedTimer clock;
  clock.start();
  std::optional<ClipboardReading> got;
  reader.read([&got](ClipboardReading reading) { got = std::move(reading); });
  EXPECT_LT(clock.elapsed(), 50);
  ASSERT_TRUE(processEventsUntil([&] { return got.has_value(); }, 10000));
  EXPECT_GE(clock.elapsed(), kSelectionTimeoutMs - 10);
  EXPECT_FALSE(got->hasText);
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
