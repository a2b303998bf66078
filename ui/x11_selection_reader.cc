#include "ui/x11_selection_reader.h"

#include <QGuiApplication>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>

#ifdef TAVRO2_HAVE_XCB
#include <poll.h>
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace tavro2 {

#ifdef TAVRO2_HAVE_XCB

namespace {

using Clock = std::chrono::steady_clock;

struct EventDeleter {
  void operator()(void* event) const { std::free(event); }
};
using Event = std::unique_ptr<xcb_generic_event_t, EventDeleter>;

}  // namespace

bool x11SelectionSupported() { return true; }

struct X11SelectionReader::Connection {
  xcb_connection_t* c = nullptr;
  xcb_window_t window = 0;
  xcb_atom_t selection = 0, utf8 = 0, incr = 0, property = 0;
  std::chrono::milliseconds timeout;
  std::size_t maxBytes;
  std::atomic<bool> stopping{false};

  Connection(SelectionKind kind, int timeoutMs, std::size_t max)
      : timeout(timeoutMs), maxBytes(max) {
    int screenNumber = 0;
    c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 1; ++i) xcb_screen_next(&screens);
    window = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;  // INCR chunks arrive as these
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    selection = kind == SelectionKind::kPrimary ? xcb_atom_t{XCB_ATOM_PRIMARY} : atom("CLIPBOARD");
    utf8 = atom("UTF8_STRING");
    incr = atom("INCR");
    property = atom("TAVRO2_SELECTION");
  }
  ~Connection() {
    if (c != nullptr) xcb_disconnect(c);
  }

  bool usable() const { return c != nullptr && !xcb_connection_has_error(c) && property != 0; }

  xcb_atom_t atom(const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, EventDeleter> reply(
        xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : 0;
  }

  // The next event of `type` that arrives before `deadline`; other events
  // are dropped. Null on timeout, on a broken connection, or when stopping.
  Event waitFor(uint8_t type, Clock::time_point deadline) {
    for (;;) {
      while (Event event{xcb_poll_for_event(c)}) {
        if ((event->response_type & 0x7f) == type) return event;
      }
      if (xcb_connection_has_error(c) || stopping) return nullptr;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return nullptr;
      pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50)));
    }
  }

  // Waits until the owner has written our property anew (the next INCR chunk).
  bool waitForNewValue() {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Event event = waitFor(XCB_PROPERTY_NOTIFY, deadline)) {
      const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
      if (notify->window == window && notify->atom == property &&
          notify->state == XCB_PROPERTY_NEW_VALUE)
        return true;
    }
    return false;
  }

  // Reads and deletes our property: at most maxBytes + 4 bytes of it, so a
  // longer value is known to be too long without being fetched whole.
  bool takeProperty(std::string& bytes, xcb_atom_t& type, bool& cut) {
    const uint32_t words = static_cast<uint32_t>(std::min<std::size_t>(maxBytes / 4 + 1, 1u << 30));
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, words);
    std::unique_ptr<xcb_get_property_reply_t, EventDeleter> reply(
        xcb_get_property_reply(c, cookie, nullptr));
    if (!reply) return false;
    type = reply->type;
    cut = reply->bytes_after > 0;
    bytes.clear();
    if (reply->format == 8) {
      const int length = xcb_get_property_value_length(reply.get());
      bytes.assign(static_cast<const char*>(xcb_get_property_value(reply.get())),
                   static_cast<std::size_t>(std::max(length, 0)));
    }
    if (bytes.size() > maxBytes) bytes.resize(maxBytes), cut = true;
    return true;
  }

  ClipboardReading readProperty() {
    std::string bytes;
    xcb_atom_t type = 0;
    bool cut = false;
    if (!takeProperty(bytes, type, cut)) return {};
    if (type == incr) {
      // Deleting the INCR property (done above) asks for the first chunk;
      // each chunk read and deleted asks for the next; an empty one ends.
      bytes.clear();
      std::string chunk;
      bool chunkCut = false;
      for (;;) {
        if (stopping || !waitForNewValue()) return {};
        if (!takeProperty(chunk, type, chunkCut)) return {};
        if (chunk.empty()) break;
        if (chunkCut || chunk.size() > maxBytes - bytes.size()) {
          bytes.append(chunk, 0, maxBytes - bytes.size());
          cut = true;
          break;
        }
        bytes += chunk;
      }
    }
    const QString text = type == utf8 ? QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))
                                      : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    ClipboardReading reading = readingOf(text);
    reading.tooLong = reading.tooLong || cut;
    return reading;
  }

  ClipboardReading fetch() {
    // Leftovers of a request given up earlier must not answer this one.
    while (Event stale{xcb_poll_for_event(c)}) {
    }
    xcb_delete_property(c, window, property);
    for (const xcb_atom_t target : {utf8, xcb_atom_t{XCB_ATOM_STRING}}) {
      xcb_convert_selection(c, window, selection, target, property, XCB_CURRENT_TIME);
      xcb_flush(c);
      const Event event = waitFor(XCB_SELECTION_NOTIFY, Clock::now() + timeout);
      if (!event) return {};  // the owner did not answer: no text
      const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
      if (notify->property != XCB_NONE) return readProperty();
    }
    return {};  // no owner, or no text in either form
  }
};

X11SelectionReader::X11SelectionReader(SelectionKind kind, int timeoutMs, std::size_t maxBytes)
    : x_(std::make_unique<Connection>(kind, timeoutMs, maxBytes)) {
  if (x_->usable()) worker_ = std::thread(&X11SelectionReader::run, this);
}

X11SelectionReader::~X11SelectionReader() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  x_->stopping = true;
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

bool X11SelectionReader::connected() const { return x_->usable(); }

void X11SelectionReader::read(SelectionDone done) {
  if (!worker_.joinable()) {
    done({});
    return;
  }
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(done));
  }
  wake_.notify_one();
}

void X11SelectionReader::run() {
  for (;;) {
    SelectionDone done;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !pending_.empty(); });
      if (stop_) return;
      done = std::move(pending_.front());
      pending_.pop_front();
    }
    ClipboardReading reading = x_->fetch();
    // Back to the reader's own thread; dropped if the reader is gone (its
    // destructor joins this thread before the object dies).
    QMetaObject::invokeMethod(
        this, [done = std::move(done), reading = std::move(reading)]() mutable {
          done(std::move(reading));
        },
        Qt::QueuedConnection);
  }
}

void flushWindowSystem() {
  auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                 : nullptr;
  if (x11 != nullptr && x11->connection() != nullptr) xcb_flush(x11->connection());
}

#else  // no xcb: QClipboard serves every platform this build runs on

bool x11SelectionSupported() { return false; }

struct X11SelectionReader::Connection {};

X11SelectionReader::X11SelectionReader(SelectionKind, int, std::size_t)
    : x_(std::make_unique<Connection>()) {}
X11SelectionReader::~X11SelectionReader() = default;
bool X11SelectionReader::connected() const { return false; }
void X11SelectionReader::read(SelectionDone done) { done({}); }
void X11SelectionReader::run() {}
void flushWindowSystem() {}

#endif

}  // namespace tavro2
