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

std::vector<std::string_view> IrregularBaseForms(std::string_view word) {
  const auto [first, last] = std::equal_range(
      std::begin(kIrregularForms), std::end(kIrregularForms), IrregularForm{word, {}},
      [](const IrregularForm& a, const IrregularForm& b) { return a.form < b.form; });
  std::vector<std::string_view> bases;
  for (auto it = first; it != last; ++it) bases.push_back(it->base);
  return bases;
}

}  // namespace tavro2
