#include "engine/user_list_cache.h"

#include <sys/stat.h>

#include "engine/data_file.h"

namespace tavro2 {
namespace {

bool sameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool UserListCache::Stamp::operator==(const Stamp& o) const {
  return device == o.device && inode == o.inode && size == o.size &&
         sameTime(modified, o.modified) && sameTime(changed, o.changed);
}

const UserList& UserListCache::read(const std::string& path) {
  Entry& entry = entries_[path];
  struct stat st {};
  // The name is resolved as ReadUserWordList resolves it; anything but a
  // regular file reads as empty and is never kept.
  if (::stat(resolvePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    entry = Entry();
    return entry.list;
  }
  const Stamp stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  if (entry.trusted && entry.stamp == stamp) return entry.list;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  entry.stamp = stamp;
  entry.trusted = now.tv_sec - st.st_mtim.tv_sec >= settledSeconds_ &&
                  now.tv_sec - st.st_ctim.tv_sec >= settledSeconds_;
  entry.list = UserList(readUserWordList(path));
  return entry.list;
}

}  // namespace tavro2
