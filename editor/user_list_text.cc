#include "editor/user_list_text.h"

#include <algorithm>

#include "engine/word_list.h"

namespace tavro2 {

std::vector<std::string_view> splitEditorLines(std::string_view text) {
  return splitLineViews(text);
}

bool isBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

int findIncompleteLine(std::string_view text) {
  int position = 0;
  for (std::string_view line : splitEditorLines(text)) {
    if (isBlankLine(line)) continue;
    ++position;
    if (line.find('=') == std::string_view::npos) return position;
  }
  return 0;
}

std::string incompleteLineMessage(int position) {
  return "Incomplete data at lines " + std::to_string(position) +
         "\nThe format for every line is : the_word=the_translation_of_word";
}

std::string sortEditorLines(std::string_view text) {
  std::vector<std::string_view> lines = splitEditorLines(text);
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
