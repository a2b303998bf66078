#include "app/program_dir.h"

#include <unistd.h>

#include <mutex>
#include <vector>

namespace tavro2 {
namespace {

std::mutex& directoryMutex() {
  static std::mutex mutex;
  return mutex;
}

// Empty until first asked for or set; never empty afterwards.
std::string& cachedDirectory() {
  static std::string dir;
  return dir;
}

}  // namespace

std::string executableDirectory() {
  // readlink does not say whether it truncated, so grow until the answer
  // leaves room to spare. PATH_MAX is not a real limit on Linux.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "./";
    if (static_cast<std::size_t>(n) < buffer.size()) {
      std::string path(buffer.data(), static_cast<std::size_t>(n));
      const auto slash = path.rfind('/');
      if (slash == std::string::npos) return "./";
      path.resize(slash + 1);
      return path;
    }
    if (buffer.size() >= (std::size_t{1} << 20)) return "./";
    buffer.resize(buffer.size() * 2);
  }
}

const std::string& programDirectory() {
  std::lock_guard<std::mutex> lock(directoryMutex());
  std::string& dir = cachedDirectory();
  if (dir.empty()) dir = executableDirectory();
  return dir;
}

void setProgramDirectory(std::string dir) {
  if (dir.empty()) dir = "./";
  if (dir.back() != '/') dir.push_back('/');
  std::lock_guard<std::mutex> lock(directoryMutex());
  cachedDirectory() = std::move(dir);
}

}  // namespace tavro2
