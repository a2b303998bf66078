// What the fuzz targets share: a scratch directory of their own (on the
// memory file system where there is one) and a way to put bytes in a file
// there.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavro2::fuzz {

// The directory, with a trailing '/', made once per process and removed at
// its end.
inline const std::string& scratchDir() {
  // Never destroyed: the exit handler still needs it.
  static const std::string* const dir = [] {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    auto* path = new std::string((base / ("tavro2-fuzz-" + std::to_string(::getpid()))).string() + "/");
    std::filesystem::remove_all(*path);
    std::filesystem::create_directories(*path);
    std::atexit([] { std::filesystem::remove_all(*dir); });
    return path;
  }();
  return *dir;
}

// Replaces the scratch file `name` with `bytes`; returns its path.
inline std::string putFile(const char* name, std::string_view bytes) {
  const std::string path = scratchDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
    std::abort();
  return path;
}

}  // namespace tavro2::fuzz
