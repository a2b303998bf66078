#include "ui/wayland_selection_reader.h"

#include <QMetaObject>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>

#ifdef TAVRO2_HAVE_WAYLAND
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

#include "wayland/wlr-data-control-client.h"
#endif

namespace tavro2 {

#ifdef TAVRO2_HAVE_WAYLAND

namespace {

using Clock = std::chrono::steady_clock;

// The text types asked for, best first: the owner's own UTF-8, then what
// X11 programs (through XWayland) offer.
constexpr std::array<std::string_view, 5> kTextTypes = {
    "text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "TEXT", "STRING"};
constexpr int kNoText = static_cast<int>(kTextTypes.size());

int rankOf(std::string_view mimeType) {
  for (int i = 0; i < kNoText; ++i)
    if (kTextTypes[static_cast<std::size_t>(i)] == mimeType) return i;
  return kNoText;
}

int millisecondsUntil(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60'000));
}

struct Fd {
  int fd = -1;
  explicit Fd(int f = -1) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }
  void reset() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
};

}  // namespace

bool waylandSelectionSupported() { return true; }

// Everything the worker thread owns once it runs (the constructor uses it
// before, on the caller's thread, while no worker exists yet).
struct WaylandSelectionReader::Connection {
  // One offer: the best text type its owner announced (kNoText for none).
  struct Offer {
    zwlr_data_control_offer_v1* proxy = nullptr;
    int textRank = kNoText;
  };

  WaylandSelectionReader* reader;
  SelectionKind kind;
  std::chrono::milliseconds timeout;
  std::size_t maxBytes;
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_seat* seat = nullptr;
  zwlr_data_control_manager_v1* manager = nullptr;
  uint32_t managerVersion = 0;
  zwlr_data_control_device_v1* device = nullptr;
  // Offers announced whose selection event has not come yet (one, as a
  // rule: each is followed by the selection it becomes; of more, only the
  // newest few are kept), and the offer of the watched selection.
  static constexpr std::size_t kMaxIntroduced = 4;
  std::deque<Offer*> introduced;
  Offer* current = nullptr;
  bool finished = false;
  Fd wakeFd{eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};

  Connection(WaylandSelectionReader* r, SelectionKind k, int timeoutMs, std::size_t max)
      : reader(r), kind(k), timeout(timeoutMs), maxBytes(max) {}

  ~Connection() {
    for (Offer*& offer : introduced) drop(offer);
    drop(current);
    if (device != nullptr) zwlr_data_control_device_v1_destroy(device);
    if (manager != nullptr) zwlr_data_control_manager_v1_destroy(manager);
    if (seat != nullptr) wl_seat_destroy(seat);
    if (registry != nullptr) wl_registry_destroy(registry);
    if (display != nullptr) wl_display_disconnect(display);
  }

  static void drop(Offer*& offer) {
    if (offer == nullptr) return;
    zwlr_data_control_offer_v1_destroy(offer->proxy);
    delete offer;
    offer = nullptr;
  }

  bool broken() const { return display == nullptr || wl_display_get_error(display) != 0; }

  // Connects, finds the seat and the protocol, and waits (at most a second)
  // for the selection the compositor announces on binding.
  bool open() {
    if (wakeFd.fd < 0) return false;
    display = wl_display_connect(nullptr);
    if (display == nullptr) return false;
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, this);
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(1);
    if (!roundTrip(deadline) || seat == nullptr || manager == nullptr) return false;
    if (kind == SelectionKind::kPrimary && managerVersion < 2) return false;
    device = zwlr_data_control_manager_v1_get_data_device(manager, seat);
    zwlr_data_control_device_v1_add_listener(device, &kDeviceListener, this);
    return roundTrip(deadline) && !finished;
  }

  // Reads and dispatches what the compositor sent, waiting until it sends
  // something, the reader is woken, or `waitMs` passes (-1: no limit).
  // False once the connection is broken.
  bool dispatch(int waitMs) {
    while (wl_display_prepare_read(display) != 0) {
      if (wl_display_dispatch_pending(display) < 0) return false;
    }
    wl_display_flush(display);
    std::array<pollfd, 2> fds{{{wl_display_get_fd(display), POLLIN, 0}, {wakeFd.fd, POLLIN, 0}}};
    if (poll(fds.data(), fds.size(), waitMs) > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
      if (wl_display_read_events(display) < 0) return false;
    } else {
      wl_display_cancel_read(display);
    }
    if (fds[1].revents & POLLIN) {
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(wakeFd.fd, &count, sizeof count);
    }
    return wl_display_dispatch_pending(display) >= 0 && !broken();
  }

  // wl_display_roundtrip, with a deadline.
  bool roundTrip(Clock::time_point deadline) {
    bool done = false;
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &kSyncListener, &done);
    while (!done && Clock::now() < deadline) {
      if (!dispatch(millisecondsUntil(deadline))) break;
    }
    wl_callback_destroy(callback);
    return done;
  }

  // The watched selection's text, asked of its owner through a pipe.
  ClipboardReading fetch() {
    if (current == nullptr || current->textRank == kNoText || broken()) return {};
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return {};
    Fd readEnd(ends[0]), writeEnd(ends[1]);
    const std::string_view type = kTextTypes[static_cast<std::size_t>(current->textRank)];
    zwlr_data_control_offer_v1_receive(current->proxy, std::string(type).c_str(), writeEnd.fd);
    wl_display_flush(display);
    writeEnd.reset();  // the owner holds its own copy; ours would keep the pipe open

    std::string bytes;
    bool cut = false;
    const Clock::time_point deadline = Clock::now() + timeout;
    char buffer[65536];
    for (;;) {
      pollfd fd{readEnd.fd, POLLIN, 0};
      const int wait = millisecondsUntil(deadline);
      if (wait == 0 || poll(&fd, 1, wait) <= 0) return {};  // the owner took too long
      const ssize_t got = ::read(readEnd.fd, buffer, sizeof buffer);
      if (got == 0) break;
      if (got < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        return {};
      }
      const std::size_t room = maxBytes - bytes.size();
      if (static_cast<std::size_t>(got) > room) {
        bytes.append(buffer, room);
        cut = true;
        break;
      }
      bytes.append(buffer, static_cast<std::size_t>(got));
    }
    const QString text = type == "STRING"
                             ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size()))
                             : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    ClipboardReading reading = readingOf(text);
    reading.tooLong = reading.tooLong || cut;
    return reading;
  }

  // Listeners. The compositor's events come on the worker thread (or in
  // open(), before there is one).
  static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t version) {
    auto* self = static_cast<Connection*>(data);
    const std::string_view what(interface);
    if (what == wl_seat_interface.name && self->seat == nullptr) {
      self->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (what == zwlr_data_control_manager_v1_interface.name && self->manager == nullptr) {
      self->managerVersion = std::min<uint32_t>(version, 2);
      self->manager = static_cast<zwlr_data_control_manager_v1*>(wl_registry_bind(
          registry, name, &zwlr_data_control_manager_v1_interface, self->managerVersion));
    }
  }
  static void globalRemove(void*, wl_registry*, uint32_t) {}

  static void offerType(void* data, zwlr_data_control_offer_v1*, const char* mimeType) {
    auto* offer = static_cast<Offer*>(data);
    offer->textRank = std::min(offer->textRank, rankOf(mimeType));
  }

  static void dataOffer(void* data, zwlr_data_control_device_v1*,
                        zwlr_data_control_offer_v1* proxy) {
    auto* self = static_cast<Connection*>(data);
    if (self->introduced.size() == kMaxIntroduced) {
      drop(self->introduced.front());
      self->introduced.pop_front();
    }
    auto* offer = new Offer{proxy, kNoText};
    self->introduced.push_back(offer);
    zwlr_data_control_offer_v1_add_listener(proxy, &kOfferListener, offer);
  }

  // A selection event: `proxy` (null when the selection is empty) is now
  // the offer of `which`.
  void selected(SelectionKind which, zwlr_data_control_offer_v1* proxy) {
    Offer* offer = nullptr;
    const auto found = std::find_if(introduced.begin(), introduced.end(),
                                    [proxy](const Offer* o) { return o->proxy == proxy; });
    if (proxy != nullptr && found != introduced.end()) {
      offer = *found;
      introduced.erase(found);
    }
    if (which != kind) {
      drop(offer);  // the other selection's offer: not ours to keep
      return;
    }
    drop(current);
    current = offer;
    reader->announceChange();
  }
  static void clipboardSelected(void* data, zwlr_data_control_device_v1*,
                                zwlr_data_control_offer_v1* proxy) {
    static_cast<Connection*>(data)->selected(SelectionKind::kClipboard, proxy);
  }
  static void primarySelected(void* data, zwlr_data_control_device_v1*,
                              zwlr_data_control_offer_v1* proxy) {
    static_cast<Connection*>(data)->selected(SelectionKind::kPrimary, proxy);
  }
  static void deviceFinished(void* data, zwlr_data_control_device_v1*) {
    static_cast<Connection*>(data)->finished = true;
  }
  static void syncDone(void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }

  static constexpr wl_registry_listener kRegistryListener{global, globalRemove};
  static constexpr zwlr_data_control_offer_v1_listener kOfferListener{offerType};
  static constexpr zwlr_data_control_device_v1_listener kDeviceListener{
      dataOffer, clipboardSelected, deviceFinished, primarySelected};
  static constexpr wl_callback_listener kSyncListener{syncDone};
};

WaylandSelectionReader::WaylandSelectionReader(SelectionKind kind, int timeoutMs,
                                               std::size_t maxBytes)
    : w_(std::make_unique<Connection>(this, kind, timeoutMs, maxBytes)) {
  if (w_->open()) worker_ = std::thread(&WaylandSelectionReader::run, this);
}

WaylandSelectionReader::~WaylandSelectionReader() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake();
  if (worker_.joinable()) worker_.join();
}

void WaylandSelectionReader::wake() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t put = ::write(w_->wakeFd.fd, &one, sizeof one);
}

void WaylandSelectionReader::read(SelectionDone done) {
  if (!worker_.joinable()) {
    done({});
    return;
  }
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(done));
  }
  wake();
}

void WaylandSelectionReader::run() {
  bool live = true;
  for (;;) {
    SelectionDone done;
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      if (!pending_.empty()) {
        done = std::move(pending_.front());
        pending_.pop_front();
      }
    }
    if (done) {
      // Announcements already sent come first, so a read asked for after a
      // change reads that change.
      if (live) live = w_->dispatch(0);
      ClipboardReading reading = live && !w_->finished ? w_->fetch() : ClipboardReading{};
      // Back to the reader's own thread; dropped if the reader is gone (its
      // destructor joins this thread before the object dies).
      QMetaObject::invokeMethod(
          this, [done = std::move(done), reading = std::move(reading)]() mutable {
            done(std::move(reading));
          },
          Qt::QueuedConnection);
      continue;
    }
    if (live) {
      live = w_->dispatch(-1);
    } else {
      // The compositor is gone: only requests (answered with no text) and
      // the end remain.
      pollfd fd{w_->wakeFd.fd, POLLIN, 0};
      poll(&fd, 1, -1);
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(w_->wakeFd.fd, &count, sizeof count);
    }
  }
}

#else  // no libwayland-client: X11 and QClipboard serve this build

bool waylandSelectionSupported() { return false; }

struct WaylandSelectionReader::Connection {};

WaylandSelectionReader::WaylandSelectionReader(SelectionKind, int, std::size_t) {}
WaylandSelectionReader::~WaylandSelectionReader() = default;
void WaylandSelectionReader::read(SelectionDone done) { done({}); }
void WaylandSelectionReader::run() {}
void WaylandSelectionReader::wake() {}

#endif

}  // namespace tavro2
