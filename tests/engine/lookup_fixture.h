// A lookup state over an in-memory store and user lists in a scratch
// directory, for the lookup and phrase tests.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"
#include "test_util.h"

namespace tavro2 {

// Readable failure messages for run comparisons.
inline void PrintTo(const FormatRun& r, std::ostream* os) {
  *os << "{" << r.start << "," << r.length << (r.bold ? ",bold" : "");
  if (r.color) *os << ",color=" << std::hex << *r.color << std::dec;
  if (r.background) *os << ",bg=" << std::hex << *r.background << std::dec;
  *os << "}";
}

}  // namespace tavro2

namespace tavro2::test {

class LookupFixture : public ::testing::Test {
 protected:
  // Each store file can be published once per test.
  void publish(DataKind kind, const std::vector<std::string>& heads,
               const std::vector<std::string>& translations) {
    store.publish(kind, SplitLines(crlfJoin(heads)), SplitLines(crlfJoin(translations)),
                  LoadState::kLoaded);
  }
  void english(const std::vector<std::string>& heads,
               const std::vector<std::string>& translations) {
    publish(DataKind::kEnglish, heads, translations);
  }
  void indonesian(const std::vector<std::string>& heads,
                  const std::vector<std::string>& translations) {
    publish(DataKind::kIndonesian, heads, translations);
  }
  void userList(const char* name, const std::vector<std::string>& lines) {
    writeFile(dir.file(name), crlfJoin(lines));
  }

  static std::vector<std::string> lines(const WordList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.count(); ++i) out.emplace_back(list.line(i));
    return out;
  }
  using Lines = std::vector<std::string>;

  TempDir dir;
  DictionaryStore store;
  LookupState state{store, dir.path()};
};

}  // namespace tavro2::test
