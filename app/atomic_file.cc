#include "app/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace tavro2 {
namespace {

std::atomic<RenameFunction> renameFunction{nullptr};

int renameFile(const char* from, const char* to) {
  const RenameFunction hook = renameFunction.load();
  return hook ? hook(from, to) : std::rename(from, to);
}

// Follows symbolic links so the rename replaces the file they point to, not
// the link. A dangling link yields the path of its missing target, so the
// write creates it; a loop (or a chain too long to be anything else) yields
// nothing.
std::optional<std::string> resolveTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path current = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(current, ec)) return current.string();
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) return std::nullopt;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return std::nullopt;
}

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Opens a fresh temporary file beside `target`. The name carries the process
// id and a counter so concurrent writers never share one; O_EXCL guards
// against a stale file left by a crashed run.
int openTemporary(const std::string& target, std::string* tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    *tempPath = target + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
    const int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  const std::optional<std::string> resolved = resolveTarget(path);
  if (!resolved) return false;
  const std::string& target = *resolved;

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) return false;
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    if (::access(target.c_str(), W_OK) != 0) return false;
  } else if (errno != ENOENT) {
    return false;
  }

  std::string tempPath;
  const int fd = openTemporary(target, &tempPath);
  if (fd < 0) return false;
  bool ok = true;
  if (exists) {
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    // Keeps the owner when root rewrites someone's file; harmless otherwise.
    if (ok && ::geteuid() == 0) (void)!::fchown(fd, old.st_uid, old.st_gid);
  }
  ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || renameFile(tempPath.c_str(), target.c_str()) != 0) {
    ::unlink(tempPath.c_str());
    return false;
  }
  // Makes the rename itself durable; the data is already whole either way.
  const int dirFd = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

namespace {

// Opens a regular file for reading without blocking on a FIFO or device;
// -1 when it cannot (then *missing says whether it does not exist).
int openRegular(const std::string& path, bool* missing, std::uint64_t* size) {
  if (missing) *missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (missing) *missing = (errno == ENOENT || errno == ENOTDIR);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  *size = static_cast<std::uint64_t>(st.st_size);
  return fd;
}

// Reads from fd at `offset` to its end, failing once more than maxBytes
// arrive: the size fstat gave only sizes the first read, so a file that
// grows meanwhile is still bounded.
std::optional<std::string> readRest(int fd, std::uint64_t offset, std::uint64_t expected,
                                    std::size_t maxBytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(expected, maxBytes)));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) return bytes;
    if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) return std::nullopt;
    bytes.append(buffer, static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, bool* missing,
                                         std::size_t maxBytes) {
  std::uint64_t size = 0;
  const int fd = openRegular(path, missing, &size);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  if (size <= maxBytes) bytes = readRest(fd, 0, size, maxBytes);
  ::close(fd);
  return bytes;
}

std::optional<std::string> readFileTail(const std::string& path, std::size_t maxBytes,
                                        bool* cut) {
  std::uint64_t size = 0;
  const int fd = openRegular(path, nullptr, &size);
  if (fd < 0) return std::nullopt;
  // Bytes appended between fstat and the read may push the text past
  // maxBytes; a little slack takes them rather than failing.
  const std::uint64_t from = size > maxBytes ? size - maxBytes : 0;
  if (cut) *cut = from > 0;
  std::optional<std::string> bytes = readRest(fd, from, size - from, maxBytes + 65536);
  ::close(fd);
  return bytes;
}

std::size_t removeStaleTemporaries(const std::string& target) {
  namespace fs = std::filesystem;
  const fs::path targetPath(target);
  const std::string prefix = targetPath.filename().string() + ".tmp.";
  struct stat self {};
  // This process's start: the time its /proc entry was made.
  if (::stat("/proc/self", &self) != 0) return 0;
  std::size_t removed = 0;
  std::error_code ec;
  const fs::path dir = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    // The rest must be "<pid>.<counter>", both decimal.
    const std::string rest = name.substr(prefix.size());
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos || dot + 1 == rest.size() ||
        rest.find_first_not_of("0123456789.") != std::string::npos ||
        rest.find('.', dot + 1) != std::string::npos)
      continue;
    const long pid = std::strtol(rest.c_str(), nullptr, 10);
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool older = st.st_mtim.tv_sec < self.st_mtim.tv_sec ||
                       (st.st_mtim.tv_sec == self.st_mtim.tv_sec &&
                        st.st_mtim.tv_nsec < self.st_mtim.tv_nsec);
    const bool ownerGone = pid <= 0 || pid > INT32_MAX ||
                           (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
    if (older && ownerGone && ::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

RenameFunction setRenameFunctionForTesting(RenameFunction rename) {
  return renameFunction.exchange(rename);
}

}  // namespace tavro2
