#include "ui/format_adapter.h"

#include <QColor>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "engine/cp1252.h"

namespace tavro2 {

QString qStringOf1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char c : bytes) text.append(QChar(static_cast<char16_t>(unicodeOf1252(c))));
  return text;
}

std::string bytesOf(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t cp = text.at(i).unicode();
    if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
      ++i;
    }
    bytes.push_back(cp1252Of(cp));
  }
  return bytes;
}

namespace {

ColorRef colorRefOf(std::uint32_t rgb) {
  return rgbColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

}  // namespace

void showFormattedText(QTextDocument* document, std::string_view text,
                       const std::vector<FormatRun>& runs, ColorRef paneColor) {
  // One QChar per byte, except that a CR LF pair becomes a single paragraph
  // break in the document: docPos maps each byte (and the end) to its
  // document position.
  document->setPlainText(qStringOf1252(text));
  std::vector<int> docPos(text.size() + 1);
  int pos = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    docPos[i] = pos;
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) ++pos;
  }
  docPos[text.size()] = pos;
  QTextCursor cursor(document);
  for (const FormatRun& run : runs) {
    if (run.start >= text.size() || run.length == 0) continue;
    const int from = docPos[run.start];
    const int to = docPos[std::min(run.start + run.length, text.size())];
    QTextCharFormat format;
    if (run.bold) format.setFontWeight(QFont::Bold);
    // A marker keeps its hue, deepened where it would not read on what is
    // behind it (the pane, or the run's own highlight).
    const ColorRef behind = run.background ? colorRefOf(*run.background) : paneColor;
    if (run.color) format.setForeground(toQColor(readableHue(colorRefOf(*run.color), behind)));
    if (run.background) format.setBackground(toQColor(behind));
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
  }
}

void showFormattedText(QTextEdit* pane, std::string_view text, const std::vector<FormatRun>& runs) {
  const QColor base = pane->palette().color(QPalette::Base);
  showFormattedText(pane->document(), text, runs, colorRefOf(base));
  pane->moveCursor(QTextCursor::Start);  // read from the top, caret and view
}

void showTranscription(QTextEdit* pane, std::size_t headwordLength, std::string_view ipa,
                       ColorRef color) {
  if (ipa.empty()) return;
  QTextDocument* document = pane->document();
  const auto end = static_cast<std::size_t>(document->characterCount() - 1);
  QTextCursor cursor(document);
  cursor.setPosition(static_cast<int>(std::min(headwordLength, end)));
  QTextCharFormat format;  // its own: the headword before it is bold
  format.setFontWeight(QFont::Normal);
  format.setForeground(toQColor(color));
  cursor.insertText(
      " /" + QString::fromUtf8(ipa.data(), static_cast<qsizetype>(ipa.size())) + "/", format);
  pane->moveCursor(QTextCursor::Start);
}

}  // namespace tavro2
