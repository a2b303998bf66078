// Text helpers of the dictionary builder: the sources are UTF-8, the data
// files Windows-1252.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// UTF-8 to Windows-1252. A character that 1252 lacks becomes its closest
// plain letters (č -> c, ŋ -> ng, ₂ -> 2); runs of white space (control
// characters included) become one space, and the ends are trimmed. Nothing
// when a character has no stand-in or the UTF-8 is bad.
std::optional<std::string> plainText1252(std::string_view utf8);

// The key by which dataid.dat and datapr.dat are sorted: A-Z folded and
// accented 1252 letters read as their plain letter; ties go by bytes.
std::string sortKey1252(std::string_view text);

// An Indonesian term (already 1252) as a headword of dataid.dat or
// datapr.dat: bracketed optional parts dropped ("(orang) brengsek" ->
// "brengsek"), a lone word's "!" or "?" dropped, A-Z lowered. Empty when
// nothing usable is left.
std::string indonesianHeadword(std::string_view term);

// Runs of spaces as one, none at the ends.
std::string collapseSpaces(std::string_view s);
std::string join(const std::vector<std::string>& parts, std::string_view sep);
void addUnique(std::vector<std::string>& list, const std::string& item);

}  // namespace tavro2
