// Shared test helpers: a scratch directory per test and fixture data files
// made with the data-file writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro2::test {

// A fresh directory under the system's temporary directory, removed (with
// its contents) when the object goes. path() ends with '/'.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return path_ + std::string(name); }

 private:
  std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);

// Lines joined with CR LF after every line.
std::string crlfJoin(const std::vector<std::string>& lines);

// Writes a data file of the given entries (CR LF after every line) dated
// 1 January 2009.
void writeEntries(const std::string& path, const std::vector<std::string>& headwords,
                   const std::vector<std::string>& translations);

}  // namespace tavro2::test
