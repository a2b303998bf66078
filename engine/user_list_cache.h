// The user word lists, read again only when their file has changed.
//
// A lookup reads the user lists for every query, since the editor (or any
// other program) may have changed them since the last one. A list of a
// hundred thousand lines costs milliseconds to read and split, far more than
// the lookup itself, so the lines of each file are kept together with the
// file's identity, size and times, and a query whose stat finds all of them
// unchanged reuses them. File times advance in clock ticks, so a file changed
// twice within one tick could keep its stamp: a list whose modification or
// change time was recent when it was read is therefore read afresh every
// time, until it has been still for a while.
#pragma once

#include <ctime>
#include <map>
#include <string>
#include <sys/types.h>

#include "engine/user_list.h"

namespace tavro2 {

class UserListCache {
 public:
  // `settledSeconds`: how long a file must have been still when it was read
  // before its stamp is trusted; well above any file system's time
  // granularity.
  explicit UserListCache(int settledSeconds = 2) : settledSeconds_(settledSeconds) {}

  // The lines readUserWordList(path) would give now, with their index. The
  // reference stays valid until the next read of the same path.
  const UserList& read(const std::string& path);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const Stamp& o) const;
  };
  struct Entry {
    Stamp stamp;
    bool trusted = false;  // the stamp was settled when the lines were read
    UserList list;
  };
  int settledSeconds_;
  std::map<std::string, Entry> entries_;
};

}  // namespace tavro2
