#include "ui/word_list_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <optional>

namespace tavro2 {

namespace {

// Lines are as high as the text, with one pixel to spare below it.
QSize lineSize(const QStyleOptionViewItem& option, bool bold) {
  QFont font = option.font;
  font.setBold(bold);
  return QSize(option.rect.width(), QFontMetrics(font).height() + 1);
}

void drawLine(QPainter* painter, const QStyleOptionViewItem& option, const QString& text,
              const QColor& background, bool bold, int indent, bool italic = false,
              std::optional<QColor> color = std::nullopt) {
  painter->save();
  painter->fillRect(option.rect, background);
  QFont font = option.font;
  font.setBold(bold);
  font.setItalic(italic);
  painter->setFont(font);
  painter->setPen(color.value_or(option.palette.color(QPalette::Text)));
  painter->setClipRect(option.rect);
  const QRect textRect = option.rect.adjusted(indent, 0, 0, 0);
  // A line wider than the list ends in an ellipsis (its hint shows it all).
  const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, textRect.width());
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
  painter->restore();
}

// The hint of a line cut short is the whole line; other lines keep the
// list's own hint.
bool showWholeLine(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index, int indent) {
  if (event->type() != QEvent::ToolTip || !index.isValid()) return false;
  const QString text = index.data(Qt::DisplayRole).toString();
  QFont font = option.font;
  font.setBold(true);  // as wide as it is drawn when selected
  if (QFontMetrics(font).horizontalAdvance(text) <= option.rect.width() - indent) return false;
  QToolTip::showText(event->globalPos(), text, view);
  return true;
}

bool isSelected(const QStyleOptionViewItem& option) {
  return option.state.testFlag(QStyle::State_Selected);
}

}  // namespace

WordListDelegate::WordListDelegate(const SkinPalette* palette, QObject* parent)
    : QStyledItemDelegate(parent), palette_(palette) {}

void WordListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool selected = isSelected(option);
  const QColor background =
      selected ? toQColor(palette_->toolBarBottom) : option.palette.color(QPalette::Base);
  const auto offer = static_cast<Offer>(index.data(kOfferRole).toInt());
  // The heading is not selectable, which a style would grey out of reach.
  std::optional<QColor> color;
  if (offer == Offer::kHeading) color = option.palette.color(QPalette::Active, QPalette::Text);
  if (offer == Offer::kSuggestion && !selected) {
    if (contrastRatio(palette_->statusLineBack, colorRefOf(background)) >= kReadableContrast)
      color = toQColor(palette_->statusLineBack);
  }
  if (selected) color = toQColor(palette_->selectedLineText);
  drawLine(painter, option, index.data(Qt::DisplayRole).toString(), background, selected, 4,
           offer != Offer::kNone, color);
}

bool WordListDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
  return showWholeLine(event, view, option, index, 4) ||
         QStyledItemDelegate::helpEvent(event, view, option, index);
}

QSize WordListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return lineSize(option, true);
}

PhraseListDelegate::PhraseListDelegate(const SkinPalette* palette, QObject* parent)
    : QStyledItemDelegate(parent), palette_(palette) {}

void PhraseListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const bool phrase = index.row() % 2 == 0;
  const bool selected = isSelected(option);
  QColor background = phrase ? toQColor(palette_->phraseList) : QColor(Qt::white);
  if (selected) background = toQColor(palette_->toolBarBottom);
  drawLine(painter, option, index.data(Qt::DisplayRole).toString(), background, phrase,
           phrase ? 4 : 14, false,
           selected ? std::optional(toQColor(palette_->selectedLineText)) : std::nullopt);
}

QSize PhraseListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  return lineSize(option, index.row() % 2 == 0);
}

}  // namespace tavro2
