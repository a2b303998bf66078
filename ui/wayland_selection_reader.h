// WaylandSelectionReader: reads the clipboard or the primary selection of a
// Wayland desktop through the wlroots data-control protocol, which sway and
// KWin offer to programs that are not focused. (Wayland's own clipboard
// tells only the focused program about a new selection, and lets only it
// read one, so a dictionary watching the clipboard from the background
// would otherwise see nothing until the user clicks it.)
//
// The reader has a Wayland connection of its own, served by a worker
// thread: the compositor announces every new selection there, and the
// reader passes each announcement on (tellsChanges) so the clipboard
// monitor reads only after a change. A read asks the owner for text through
// a pipe, on the worker thread; an owner that has not finished after the
// timeout reads as no text, and a text longer than the cap is cut there
// and marked too long. Nothing is allocated from a size a peer announces.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "ui/selection_reader.h"

namespace tavro2 {

class WaylandSelectionReader final : public SelectionReader {
 public:
  // Connects to the compositor named by WAYLAND_DISPLAY. Check connected()
  // before use: it is false without a compositor, without the protocol, or
  // (for the primary selection) with a version of it that has none.
  explicit WaylandSelectionReader(SelectionKind kind, int timeoutMs = kSelectionTimeoutMs,
                                  std::size_t maxBytes = kMaxSelectionBytes);
  ~WaylandSelectionReader() override;

  bool connected() const { return worker_.joinable(); }
  void read(SelectionDone done) override;
  bool tellsChanges() const override { return true; }

 private:
  struct Connection;
  void run();
  void wake();

  std::unique_ptr<Connection> w_;
  std::mutex mutex_;
  std::deque<SelectionDone> pending_;
  bool stop_ = false;
  std::thread worker_;
};

// Whether this build can talk to a Wayland compositor directly.
bool waylandSelectionSupported();

}  // namespace tavro2
