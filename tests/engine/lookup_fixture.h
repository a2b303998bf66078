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
  *os << "{" << r.start << "," << r.length << (r.bold ? ",bold" : "") << std::hex;
  if (r.color) *os << ",color=" << *r.color;
  if (r.background) *os << ",bg=" << *r.background;
  *os << std::dec << "}";
}

}  // namespace tavro2

namespace tavro2::test {

// Changes one setting of `state`.
template <class T, class V>
void setSetting(LookupState& state, T LookupSettings::*field, V value) {
  LookupSettings settings = state.settings();
  settings.*field = static_cast<T>(value);
  state.setSettings(settings);
}

using Lines = std::vector<std::string>;
using Runs = std::vector<FormatRun>;

class LookupTest : public ::testing::Test {
 protected:
  // Each store file can be published once per test.
  void publish(DataKind kind, const Lines& heads, const Lines& translations) {
    store.publish(kind, splitLines(crlfJoin(heads)), splitLines(crlfJoin(translations)),
                  LoadState::kLoaded);
  }
  void english(const Lines& heads, const Lines& translations) {
    publish(DataKind::kEnglish, heads, translations);
  }
  void indonesian(const Lines& heads, const Lines& translations) {
    publish(DataKind::kIndonesian, heads, translations);
  }
  void userList(const char* name, const Lines& text) { writeFile(dir.file(name), crlfJoin(text)); }

  // What a find leaves on show: words|their translations|related words|pane|status.
  std::string shown() const { return shown(state); }
  static std::string shown(const LookupState& s) {
    std::string out;
    for (const WordList* l : {&s.mainWords(), &s.foundTranslations(), &s.relatedWords()}) {
      for (std::size_t i = 0; i < l->count(); ++i) out += (i ? "," : "") + std::string(l->line(i));
      out += "|";
    }
    return out + s.translationText() + "|" + s.statusText();
  }

  TempDir dir;
  DictionaryStore store;
  LookupState state{store, dir.path()};
};

}  // namespace tavro2::test
