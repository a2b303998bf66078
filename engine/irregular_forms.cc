#include "engine/irregular_forms.h"

#include <algorithm>

namespace tavro2 {

namespace {

struct IrregularForm {
  std::string_view form;
  std::string_view base;
  char part;  // of the list the pair comes from: v, n, a, r
};

// Sorted by form, byte order; the bases of one form in the lists' order.
constexpr IrregularForm kIrregularForms[] = {
#include "irregular_table.inc"
};

std::pair<const IrregularForm*, const IrregularForm*> formsOf(std::string_view word) {
  return std::equal_range(
      std::begin(kIrregularForms), std::end(kIrregularForms), IrregularForm{word, {}, 0},
      [](const IrregularForm& a, const IrregularForm& b) { return a.form < b.form; });
}

}  // namespace

std::vector<std::string> irregularBaseForms(std::string_view word) {
  const auto [first, last] = formsOf(word);
  std::vector<std::string> bases;
  for (auto it = first; it != last; ++it) bases.emplace_back(it->base);
  if (bases.empty() && word.size() > 3 && word.ends_with("men"))
    bases.push_back(std::string(word.substr(0, word.size() - 3)) + "man");
  return bases;
}

std::string_view irregularKind(std::string_view word, std::string_view base) {
  const auto [first, last] = formsOf(word);
  const auto it = std::find_if(first, last, [&](const IrregularForm& f) { return f.base == base; });
  if (it == last) return word.ends_with("men") && base.ends_with("man") ? "plural" : "";
  switch (it->part) {
    case 'n': return "plural";
    case 'v':
      if (word == "is" || word == "am" || word == "are" || word == "has" || word == "does" ||
          word == "goes")
        return "present form";
      return word.ends_with("ing") ? "-ing form" : "past form";
    case 'a':
    case 'r':
      return word.ends_with("est") || word == "best" || word == "worst" || word == "most" ||
                     word == "least"
                 ? "superlative"
                 : "comparative";
    default: return "";
  }
}

}  // namespace tavro2
