#include "app/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace tavro2 {
namespace {

std::atomic<RenameFunction> renameFunction{nullptr};

int renameFile(const char* from, const char* to) {
  const RenameFunction hook = renameFunction.load();
  return hook ? hook(from, to) : std::rename(from, to);
}

// Follows a symbolic link so the rename replaces the file it points to, not
// the link. A dangling or looping link is left as the path itself.
std::string resolveTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  const auto target = std::filesystem::canonical(path, ec);
  return ec ? path : target.string();
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

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  const std::string target = resolveTarget(path);

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

std::optional<std::string> readFileBytes(const std::string& path, bool* missing) {
  if (missing) *missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (missing) *missing = (errno == ENOENT || errno == ENOTDIR);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  // The size only sizes the first read; the loop reads whatever is there, so
  // a file that changes meanwhile is still read to its end.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

RenameFunction setRenameFunctionForTesting(RenameFunction rename) {
  return renameFunction.exchange(rename);
}

}  // namespace tavro2
