// Entry text rendering: the formatting runs of a translation pane.
//
// Markers are coloured and made bold (English-to-Indonesian entries only),
// derived word forms and note texts are made bold, the word itself last.
// Runs describe the pane text as maximal stretches of identical formatting,
// listing only stretches that differ from plain text, in text order.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tavro2 {

struct FormatRun {
  std::size_t start = 0;  // in characters (bytes) of the pane text
  std::size_t length = 0;
  bool bold = false;
  std::optional<std::uint32_t> color;       // 0xRRGGBB; none = the pane's default
  std::optional<std::uint32_t> background;  // 0xRRGGBB; none = the pane's own colour
  bool operator==(const FormatRun&) const = default;
};

// The runs of `text` rendered for `word`, as RenderEntryText styles a pane
// whose text has just been replaced (so nothing of an earlier rendering
// survives). An empty text gives no runs. An empty word matches nothing and
// has no inflected forms; markers and note texts are still marked.
std::vector<FormatRun> renderEntryText(std::string_view text, std::string_view word,
                                       bool foundInIndonesian);

// What a part-of-speech marker of the entries stands for, its Indonesian
// name and then English ("kkt": "kata kerja transitif, transitive verb"), or
// empty for any other text.
std::string_view markerMeaning(std::string_view marker);

// The 1-based position of the first whole-word occurrence of needle in
// haystack, or 0 (empty haystack gives 0, empty needle 1).
std::size_t posWholeWord(std::string_view needle, std::string_view haystack);

}  // namespace tavro2
