// The text rules of the add-new-word editor, on the Windows-1252 bytes the
// text area holds: how its text splits into lines, the check a save must
// pass, and the sort. No widgets here, so the rules are tested on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

// Lines of an editor text: a line ends at a CR, and one LF directly after it
// belongs to the same line break; a lone LF stays inside its line. A final
// line break does not start another line, so "" has no lines and "a\r\n" one.
std::vector<std::string_view> splitEditorLines(std::string_view text);

// True when the line holds nothing but bytes 0..32.
bool isBlankLine(std::string_view line);

// The check before a save. Blank lines are skipped; the first other line
// without '=' is reported by its 1-based position among the non-blank lines.
// Returns 0 when every non-blank line holds '=' (a text of blank lines only
// passes too). The caller refuses an empty text before asking.
int findIncompleteLine(std::string_view text);

// The warning the check shows for line `position` (as FindIncompleteLine
// gives it). The two sentences are separated by "\n".
std::string incompleteLineMessage(int position);

// The lines of `text` sorted by unsigned byte order of the whole line (a
// shorter prefix first, so blank lines lead and "ab=x" precedes "abc=y"),
// each followed by CR LF, the last one too. Blank lines are kept.
std::string sortEditorLines(std::string_view text);

}  // namespace tavro2
