// tavro2 --text: a lookup as a person reads it in a terminal.
//
//   English word
//   house /haʊs/ kb rumah, wisma; kkt menempatkan ...
//
//   Related: household, greenhouse, ...
//   Phrases:
//     on the house  gratis
//
// or, for a word not found, " not found" and "Did you mean: ...". With
// colour, the markers take the terminal's own colour nearest to theirs (a
// theme keeps those readable), the word forms and headings are bold and the
// status line dim.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/lookup_state.h"
#include "engine/render.h"

namespace tavro2 {

// Whether output to `fd` gets colour: a terminal, NO_COLOR unset or empty
// (no-color.org) and TERM not "dumb".
bool colorWanted(int fd);

// The terminal colour (SGR 30-37, 90-97) nearest to 0xRRGGBB.
int ansiColorOf(std::uint32_t rgb);

// A 1252 pane text in UTF-8, with its runs as SGR sequences when `color`.
std::string styledText(std::string_view cp1252, const std::vector<FormatRun>& runs, bool color);

// The translation pane's entry in UTF-8 with the English headword's
// transcription after the headword ("house /haʊs/ kb rumah, ...").
std::string entryText(const LookupState& state, bool color);

// The whole lookup, ending with a line end; `suggestions` are named when the
// query was not found.
std::string lookupAsText(const LookupState& state, bool found,
                         const std::vector<HeadwordEntry>& suggestions, bool color);

}  // namespace tavro2
