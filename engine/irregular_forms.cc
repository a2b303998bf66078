#include "engine/irregular_forms.h"

#include <algorithm>

namespace tavro2 {

namespace {

struct IrregularForm {
  std::string_view form;
  std::string_view base;
};

// Sorted by form, byte order; the bases of one form in the lists' order.
constexpr IrregularForm kIrregularForms[] = {
#include "irregular_table.inc"
};

}  // namespace

std::vector<std::string> irregularBaseForms(std::string_view word) {
  const auto [first, last] = std::equal_range(
      std::begin(kIrregularForms), std::end(kIrregularForms), IrregularForm{word, {}},
      [](const IrregularForm& a, const IrregularForm& b) { return a.form < b.form; });
  std::vector<std::string> bases;
  for (auto it = first; it != last; ++it) bases.emplace_back(it->base);
  if (bases.empty() && word.size() > 3 && word.ends_with("men"))
    bases.push_back(std::string(word.substr(0, word.size() - 3)) + "man");
  return bases;
}

}  // namespace tavro2
