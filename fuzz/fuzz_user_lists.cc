// A query and a user word list: the first line of the input is the search
// box text, its first byte also chooses the settings; the rest is the user
// list, given as all three lists. The lookup, its related texts and the
// phrase search run over it and a small dictionary, and their results must
// hang together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"
#include "fuzz/fuzz_util.h"

namespace {

tavro2::WordList linesOf(const char* text) { return tavro2::splitLines(text); }

const tavro2::DictionaryStore& store() {
  static tavro2::DictionaryStore* s = [] {
    auto* st = new tavro2::DictionaryStore;
    st->publish(tavro2::DataKind::kEnglish, linesOf("a\r\nbank\r\nhouse\r\nrun\r\n"),
                linesOf("kb a\r\nkb bank; tepi\r\nkb rumah\r\nkki lari\r\n"),
                tavro2::LoadState::kLoaded);
    st->publish(tavro2::DataKind::kIndonesian, linesOf("lari\r\nrumah\r\n"),
                linesOf("run\r\nhouse\r\n"), tavro2::LoadState::kLoaded);
    st->publish(tavro2::DataKind::kPhrase, linesOf("rumah besar\r\nlari cepat\r\n"),
                linesOf("big house\r\nrun fast\r\n"), tavro2::LoadState::kLoaded);
    return st;
  }();
  return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = bytes.find('\n');
  const std::string_view query = bytes.substr(0, newline);
  const std::string_view list =
      newline == std::string_view::npos ? std::string_view() : bytes.substr(newline + 1);
  for (const char* name : {"Tavro2en.dat", "Tavro2id.dat", "Tavro2phrase.dat"})
    tavro2::fuzz::putFile(name, list);

  tavro2::LookupState state(store(), tavro2::fuzz::scratchDir());
  const unsigned choice = size > 0 ? data[0] : 0;
  tavro2::LookupSettings settings;
  settings.direction = static_cast<tavro2::Direction>(1 + choice % 3);
  settings.AutoRemAlpha = choice & 4;
  settings.ShowPhrase = choice & 8;
  settings.CompactMode = choice & 16;
  settings.WordsBefore = choice & 32 ? 2 : 0;
  settings.WordsAfter = choice & 64 ? 3 : 0;
  settings.MaxContainTexts = 1 + choice % 7;
  state.setSettings(settings);
  state.searchFromBox(std::string(query));
  if (state.mainWords().count() != state.foundTranslations().count() ||
      state.relatedWords().count() != state.relatedTranslations().count() ||
      state.relatedWords().count() > state.settings().MaxContainTexts)
    std::abort();
  if (!state.mainWords().empty()) state.showSelectedEntry(state.mainWords().count() - 1);
  if (!state.relatedWords().empty()) state.showSelectedRelated(0);
  for (const tavro2::FormatRun& run : state.translationRuns())
    if (run.start + run.length > state.translationText().size()) std::abort();
  state.findPhrases(query);
  return 0;
}
