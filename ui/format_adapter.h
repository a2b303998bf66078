// The edge between the engine's Windows-1252 texts and Qt: text conversion
// and the one adapter that turns formatting runs into QTextCharFormats.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "engine/render.h"
#include "skin/skin.h"

class QTextEdit;
class QTextDocument;

namespace tavro2 {

// Windows-1252 bytes to a QString, one QChar per byte, so positions in the
// bytes are positions in the string.
QString qStringOf1252(std::string_view bytes);
// A QString to Windows-1252 bytes; a character 1252 cannot hold becomes '?'.
std::string bytesOf(const QString& text);

// Replaces the document's text with `text` and applies the runs: each run's
// characters become bold and/or take its colour and background; all other
// characters keep the document's default format. Runs reaching past the
// text are cut at its end. A colour that would not read on `paneColor` (or
// on the run's own background) is deepened, its hue kept (readableHue).
void showFormattedText(QTextDocument* document, std::string_view text,
                       const std::vector<FormatRun>& runs, ColorRef paneColor = kWhite);
// The same in a pane, on its own colour, its caret and view at the top.
void showFormattedText(QTextEdit* pane, std::string_view text, const std::vector<FormatRun>& runs);

// Shows " /ipa/" (UTF-8) after the pane's first `headwordLength` characters,
// the headword of the entry shown, in `color` and not bold: no run of the
// entry reaches it and it is no part of the entry's text. Nothing for an
// empty transcription.
void showTranscription(QTextEdit* pane, std::size_t headwordLength, std::string_view ipa,
                       ColorRef color);

}  // namespace tavro2
