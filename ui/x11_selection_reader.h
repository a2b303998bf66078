// X11SelectionReader: reads CLIPBOARD or PRIMARY over an X connection of its
// own, on a worker thread, so an owner that never answers costs the
// user-interface thread nothing.
//
// One read at a time: ConvertSelection to our hidden window (UTF8_STRING,
// then STRING when the owner refuses it), then the property, following the
// INCR protocol for large texts. Every wait for the owner ends after the
// timeout; a text longer than kMaxSelectionBytes is cut there and marked
// too long. Nothing is allocated from a size the owner announces.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "ui/selection_reader.h"

namespace tavro2 {

class X11SelectionReader final : public SelectionReader {
 public:
  // Connects to the display named by DISPLAY. Check connected() before use.
  X11SelectionReader(SelectionKind kind, int timeoutMs = kSelectionTimeoutMs,
                     std::size_t maxBytes = kMaxSelectionBytes);
  ~X11SelectionReader() override;

  bool connected() const;
  void read(SelectionDone done) override;

 private:
  struct Connection;
  void run();

  std::unique_ptr<Connection> x_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<SelectionDone> pending_;
  bool stop_ = false;
  std::thread worker_;
};

// Whether this build can talk to X11 directly.
bool x11SelectionSupported();

}  // namespace tavro2
