// Substring search over a word list's text buffer.
//
// A lookup tests every headword for containment of the query, and the phrase
// search every phrase for a whole-word occurrence. Both are done here as one
// pass over the list's buffer, with each hit mapped back to its line. The
// result is exactly that of testing the lines one by one: a hit counts only
// when it lies inside one line (so it cannot span a line end, whatever the
// list's buffer holds between lines), and each line is reported at most once,
// in line order.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/cp1252.h"
#include "engine/word_list.h"

namespace tavro2 {

// Position of the first occurrence of needle in hay at or after `from`, or
// npos. An empty needle is found at `from` (when from <= hay.size()).
std::size_t FindText(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Position of the first whole-word occurrence at or after `from`, or npos: the
// byte before it (if any) and the byte after it (if any) are not
// alphanumeric (isAlnum1252). Only bytes of `hay` count, so the ends of hay
// are boundaries. An empty needle matches nothing.
std::size_t FindWholeWord(std::string_view hay, std::string_view needle, std::size_t from = 0);

namespace detail {
// The last line in [lo, n) whose start is at or before pos; lineStart(lo)
// must be at or before pos. Gallops forward from lo, so a scan whose hits
// come in order pays little per hit, dense or sparse.
std::size_t lineOfHit(const WordList& list, std::size_t lo, std::size_t n, std::size_t pos);
}  // namespace detail

// Calls visit(i) for each line i below `limit` (and below list.count()) that
// contains the non-empty `needle`, in increasing order; visit returns false
// to end the scan.
template <class Visit>
void ForEachLineContaining(const WordList& list, std::size_t limit, std::string_view needle,
                           Visit&& visit) {
  const std::size_t n = limit < list.count() ? limit : list.count();
  if (n == 0 || needle.empty()) return;
  const std::string_view text = std::string_view(list.text()).substr(0, list.lineEnd(n - 1));
  // Invariant: `from` is at or after the start of `line`, so every hit maps
  // to `line` or a later one.
  std::size_t line = 0;
  std::size_t from = list.lineStart(0);
  while (line < n) {
    const std::size_t pos = FindText(text, needle, from);
    if (pos == std::string_view::npos) return;
    line = detail::lineOfHit(list, line, n, pos);
    if (pos + needle.size() <= list.lineEnd(line) && !visit(line)) return;
    // Either the line is done or the hit ran past its end, and so would any
    // later hit starting in it: go on with the next line.
    if (++line >= n) return;
    from = list.lineStart(line);
  }
}

// Calls visit(i) for each line i below `limit` in which the non-empty
// `needle` occurs as a whole word (PosWholeWord(needle, line) > 0), in
// increasing order; visit returns false to end the scan.
template <class Visit>
void ForEachLineWithWholeWord(const WordList& list, std::size_t limit, std::string_view needle,
                              Visit&& visit) {
  const std::size_t n = limit < list.count() ? limit : list.count();
  if (n == 0 || needle.empty()) return;
  const std::string_view all = list.text();
  const std::string_view text = all.substr(0, list.lineEnd(n - 1));
  // Invariant: `from` is at or after the start of `line`, so every hit maps
  // to `line` or a later one.
  std::size_t line = 0;
  std::size_t from = list.lineStart(0);
  while (line < n) {
    const std::size_t pos = FindText(text, needle, from);
    if (pos == std::string_view::npos) return;
    line = detail::lineOfHit(list, line, n, pos);
    const std::size_t start = list.lineStart(line);
    const std::size_t end = list.lineEnd(line);
    const std::size_t after = pos + needle.size();
    if (after > end) {  // runs past the line; so does every later hit in it
      if (++line >= n) return;
      from = list.lineStart(line);
      continue;
    }
    const bool boundaryBefore = pos == start || !isAlnum1252(static_cast<unsigned char>(all[pos - 1]));
    const bool boundaryAfter = after == end || !isAlnum1252(static_cast<unsigned char>(all[after]));
    if (boundaryBefore && boundaryAfter) {
      if (!visit(line)) return;
      if (++line >= n) return;
      from = list.lineStart(line);
    } else {
      from = pos + 1;  // a later occurrence in the same line may still count
    }
  }
}

}  // namespace tavro2
