#include "editor/user_list_text.h"

#include <algorithm>

#include "engine/word_list.h"

namespace tavro2 {

std::vector<std::string_view> SplitEditorLines(std::string_view text) {
  return SplitLineViews(text);
}

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

int FindIncompleteLine(std::string_view text) {
  int position = 0;
  for (std::string_view line : SplitEditorLines(text)) {
    if (IsBlankLine(line)) continue;
    ++position;
    if (line.find('=') == std::string_view::npos) return position;
  }
  return 0;
}

std::string IncompleteLineMessage(int position) {
  return "Incomplete data at lines " + std::to_string(position) +
         "\nThe format for every line is : the_word=the_translation_of_word";
}

std::string SortEditorLines(std::string_view text) {
  std::vector<std::string_view> lines = SplitEditorLines(text);
  // string_view compares through char_traits<char>, which orders as unsigned
  // char, so bytes above 127 sort after ASCII as the rule wants.
  std::sort(lines.begin(), lines.end());
  std::string sorted;
  sorted.reserve(text.size() + 2 * lines.size());
  for (std::string_view line : lines) {
    sorted.append(line);
    sorted.append("\r\n");
  }
  return sorted;
}

}  // namespace tavro2
