#include "engine/folded_words.h"

#include "engine/cp1252.h"

namespace tavro2 {

std::size_t FoldedWords::add(std::string_view word) {
  lengths_.set(bucketOf(word.size()));
  const auto [it, added] = slots_.try_emplace(foldAscii(word), slots_.size());
  return it->second;
}

std::size_t FoldedWords::find(std::string_view word) const {
  if (!lengths_.test(bucketOf(word.size()))) return npos;
  scratch_.assign(word);
  for (char& c : scratch_) c = foldAscii(c);
  const auto it = slots_.find(scratch_);
  return it == slots_.end() ? npos : it->second;
}

std::vector<std::string_view> firstTranslations(const WordList& list, const FoldedWords& words) {
  std::vector<std::string_view> out(words.size());
  std::vector<bool> answered(words.size(), false);
  std::size_t open = words.size();
  // The empty word never has a translation, so it counts as answered.
  if (const std::size_t empty = words.find({}); empty != FoldedWords::npos) {
    answered[empty] = true;
    --open;
  }
  for (std::size_t i = 0; i < list.count() && open > 0; ++i) {
    const std::string_view line = list.line(i);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;  // only "word=..." lines answer
    const std::size_t slot = words.find(line.substr(0, eq));
    if (slot == FoldedWords::npos || answered[slot]) continue;
    out[slot] = line.substr(eq + 1);
    answered[slot] = true;
    --open;
  }
  return out;
}

}  // namespace tavro2
