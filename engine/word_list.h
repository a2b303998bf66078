// WordList: an ordered list of single-byte text lines, indexed from 0.
//
// The lines live in one text buffer; each line is a [start, end) pair of
// 32-bit offsets into it, so a list costs its text plus 8 bytes a line and one
// allocation for the text. Reading a line outside 0..count()-1 gives the empty
// text. A list built from a data block keeps the block's text as it came, line
// ends included, so a scan may search text() directly and map a hit back to
// its line through lineStart() (see lineOfHit in text_search.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

class WordList {
 public:
  WordList() = default;

  std::size_t count() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }

  // The line at index i, or the empty text outside the list.
  std::string_view line(std::size_t i) const {
    if (i >= spans_.size()) return {};
    return std::string_view(text_).substr(spans_[i].start, spans_[i].end - spans_[i].start);
  }
  std::string_view operator[](std::size_t i) const { return line(i); }

  // The whole buffer that the lines point into.
  const std::string& text() const { return text_; }
  std::uint32_t lineStart(std::size_t i) const { return spans_[i].start; }
  std::uint32_t lineEnd(std::size_t i) const { return spans_[i].end; }

  // Appends one line (the working lists of a lookup grow this way).
  void append(std::string_view line);
  void clear();

  // Memory held by the list, for the benchmark's budget check.
  std::size_t memoryBytes() const {
    return text_.capacity() + spans_.capacity() * sizeof(Span);
  }

 private:
  struct Span {
    std::uint32_t start;
    std::uint32_t end;
  };
  std::string text_;
  std::vector<Span> spans_;

  friend WordList splitLines(std::string text);
};

// Splits a text into lines: a line runs up to the next CR, which is not part
// of it; one LF directly after that CR is skipped. A lone LF stays inside its
// line. An empty text has no lines, and a text ending in a line end gets no
// empty last line.
WordList splitLines(std::string text);

// How many CRs `text` holds: SplitLines makes at most one line more. Callers
// check it before building a line table for text they do not trust.
std::size_t countLineEnds(std::string_view text);

// The same line rules over a text the caller keeps: views into `text`.
std::vector<std::string_view> splitLineViews(std::string_view text);

}  // namespace tavro2
