#include "ui/marker_tooltip.h"

#include <QHelpEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolTip>

#include <string>

#include "engine/render.h"

namespace tavro2 {

MarkerTooltip::MarkerTooltip(QTextEdit* edit) : QObject(edit), edit_(edit) {
  edit->viewport()->installEventFilter(this);
}

QString MarkerTooltip::textAt(const QTextEdit& edit, QPoint pos, QRect* wordRect) {
  const QTextCursor hit = edit.cursorForPosition(pos);
  const QTextBlock block = hit.block();
  const QString text = block.text();
  // The cursor stands between characters: the one under the point is on
  // its right or its left. Whichever it is, the point must lie on the word.
  for (const int at : {hit.positionInBlock(), hit.positionInBlock() - 1}) {
    if (at < 0 || at >= text.size() || !text[at].isLetter()) continue;
    int start = at, end = at + 1;
    while (start > 0 && text[start - 1].isLetter()) --start;
    while (end < text.size() && text[end].isLetter()) ++end;
    const std::string word = text.mid(start, end - start).toStdString();
    const std::string_view meaning = markerMeaning(word);
    if (meaning.empty()) continue;
    QTextCursor from(block), to(block);
    from.setPosition(block.position() + start);
    to.setPosition(block.position() + end);
    const QRect left = edit.cursorRect(from), right = edit.cursorRect(to);
    if (left.top() != right.top()) continue;  // the word is broken over two lines
    const QRect rect(QPoint(left.left(), left.top()), QPoint(right.left(), left.bottom()));
    if (!rect.contains(pos)) continue;
    if (wordRect) *wordRect = rect;
    return QString::fromStdString(word + ": " + std::string(meaning));
  }
  return {};
}

bool MarkerTooltip::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || watched != edit_->viewport()) return false;
  const auto* help = static_cast<QHelpEvent*>(event);
  QRect rect;
  const QString text = textAt(*edit_, help->pos(), &rect);
  if (!text.isEmpty()) {
    QToolTip::showText(help->globalPos(), text, edit_->viewport(), rect);
    shown_ = text;
    return true;
  }
  if (!shown_.isEmpty() && QToolTip::isVisible() && QToolTip::text() == shown_)
    QToolTip::hideText();
  shown_.clear();
  return false;
}

}  // namespace tavro2
