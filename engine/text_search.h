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
std::size_t findText(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Position of the first whole-word occurrence at or after `from`, or npos: the
// byte before it (if any) and the byte after it (if any) are not
// alphanumeric (isAlnum1252). Only bytes of `hay` count, so the ends of hay
// are boundaries. An empty needle matches nothing.
std::size_t findWholeWord(std::string_view hay, std::string_view needle, std::size_t from = 0);

namespace detail {
// The last line in [lo, n) whose start is at or before pos; lineStart(lo)
// must be at or before pos. Reads few line starts (a guess from the average
// line length, then a gallop), so a scan pays little per hit, dense or
// sparse, even when the list's spans do not fit in the cache.
std::size_t lineOfHit(const WordList& list, std::size_t lo, std::size_t n, std::size_t pos);

// Hits gathered before they are mapped to lines together.
inline constexpr std::size_t kHitBatch = 16;
// Lines scanned hit by hit once a batch has shown hits to be dense.
inline constexpr std::size_t kDenseLines = 4096;

// lineOfHit for count (at most kHitBatch) hits in increasing order, lo being
// at or before the first: out[k] is the line of pos[k]. The line starts the
// hits need are read in passes over all of them, so their cache misses
// overlap instead of queuing.
void linesOfHits(const WordList& list, std::size_t lo, std::size_t n, const std::size_t* pos,
                 std::size_t count, std::size_t* out);
}  // namespace detail

// Calls visit(i) for each line i below `limit` (and below list.count()) that
// contains the non-empty `needle`, in increasing order; visit returns false
// to end the scan.
template <class Visit>
void forEachLineContaining(const WordList& list, std::size_t limit, std::string_view needle,
                           Visit&& visit) {
  const std::size_t n = limit < list.count() ? limit : list.count();
  if (n == 0 || needle.empty()) return;
  const std::string_view text = std::string_view(list.text()).substr(0, list.lineEnd(n - 1));
  // Lines before `line` are done; `from` is at or after the start of
  // `line`, so every hit maps to `line` or a later one. A hit running past
  // its line's end is no hit of that line.
  std::size_t line = 0;
  std::size_t from = list.lineStart(0);
  bool dense = false;
  std::size_t hits[detail::kHitBatch];
  std::size_t lines[detail::kHitBatch];
  while (line < n) {
    if (dense) {
      // Most lines hold the needle: one hit at a time, going on with the
      // next line after each, costs least. After a stretch of lines the
      // batches below are tried again.
      const std::size_t stop = line + detail::kDenseLines < n ? line + detail::kDenseLines : n;
      while (line < stop) {
        const std::size_t pos = findText(text, needle, from);
        if (pos == std::string_view::npos) return;
        const std::size_t l = detail::lineOfHit(list, line, n, pos);
        if (l >= stop) {  // lines up to l hold no hit; batches take it from here
          line = l;
          from = list.lineStart(l);
          break;
        }
        if (pos + needle.size() <= list.lineEnd(l) && !visit(l)) return;
        line = l + 1;
        if (line < n) from = list.lineStart(line);
      }
      dense = false;
      continue;
    }
    // Sparse hits: gather a batch and map it to lines together (see
    // linesOfHits), so the cache misses of the line lookups overlap.
    std::size_t count = 0;
    std::size_t next = from;
    while (count < detail::kHitBatch) {
      const std::size_t pos = findText(text, needle, next);
      if (pos == std::string_view::npos) break;
      hits[count++] = pos;
      next = pos + 1;
    }
    if (count == 0) return;
    detail::linesOfHits(list, line, n, hits, count, lines);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t l = lines[k];
      if (l < line) continue;  // a line already visited in this batch
      if (hits[k] + needle.size() <= list.lineEnd(l)) {
        if (!visit(l)) return;
        line = l + 1;
      }
    }
    if (count < detail::kHitBatch || line >= n) return;  // the text is searched through
    from = next > list.lineStart(line) ? next : list.lineStart(line);
    dense = hits[count - 1] - hits[0] < detail::kHitBatch * 64;
  }
}

// Calls visit(i) for each line i below `limit` in which the non-empty
// `needle` occurs as a whole word (posWholeWord(needle, line) > 0), in
// increasing order; visit returns false to end the scan.
template <class Visit>
void forEachLineWithWholeWord(const WordList& list, std::size_t limit, std::string_view needle,
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
    const std::size_t pos = findText(text, needle, from);
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
    const bool boundaryBefore =
        pos == start || !isAlnum1252(static_cast<unsigned char>(all[pos - 1]));
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
