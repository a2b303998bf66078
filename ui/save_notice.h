// SaveNotice: tells the user once that a file could not be saved.
//
// Settings and history are written the moment they change, many times a
// session; a read-only directory would otherwise fail every write without a
// word, or, reported each time, bury every lookup's status. The first failed
// write gives a status text naming the file; further failures say nothing
// until a write succeeds again.
#pragma once

#include <string>
#include <utility>

namespace tavro2 {

class SaveNotice {
 public:
  // `what` names the data ("Settings", "History").
  explicit SaveNotice(std::string what) : what_(std::move(what)) {}

  // The status text after a write of `path` that succeeded (`saved`) or
  // not; empty when there is nothing to say.
  std::string afterWrite(bool saved, const std::string& path) {
    const bool firstFailure = !saved && !failing_;
    failing_ = !saved;
    return firstFailure ? " " + what_ + " not saved: " + path : std::string();
  }

 private:
  std::string what_;
  bool failing_ = false;
};

}  // namespace tavro2
