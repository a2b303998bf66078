#include "ui/word_list_delegate.h"

#include <QAbstractItemView>
#include <QPainter>

namespace tavro2 {

namespace {

// Lines are as high as the text, with one pixel to spare below it.
QSize lineSize(const QStyleOptionViewItem& option, bool bold) {
  QFont font = option.font;
  font.setBold(bold);
  return QSize(option.rect.width(), QFontMetrics(font).height() + 1);
}

void drawLine(QPainter* painter, const QStyleOptionViewItem& option, const QString& text,
              const QColor& background, bool bold, int indent) {
  painter->save();
  painter->fillRect(option.rect, background);
  QFont font = option.font;
  font.setBold(bold);
  painter->setFont(font);
  painter->setPen(option.palette.color(QPalette::Text));
  painter->setClipRect(option.rect);
  const QRect textRect = option.rect.adjusted(indent, 0, 0, 0);
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  painter->restore();
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
  const QColor background = selected ? toQColor(palette_->toolBarBottom)
                                     : option.palette.color(QPalette::Base);
  drawLine(painter, option, index.data(Qt::DisplayRole).toString(), background, selected, 4);
}

QSize WordListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return lineSize(option, true);
}

PhraseListDelegate::PhraseListDelegate(const SkinPalette* palette, QObject* parent)
    : QStyledItemDelegate(parent), palette_(palette) {}

void PhraseListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const bool phrase = index.row() % 2 == 0;
  QColor background = phrase ? toQColor(palette_->phraseList) : QColor(Qt::white);
  if (isSelected(option)) background = toQColor(palette_->toolBarBottom);
  drawLine(painter, option, index.data(Qt::DisplayRole).toString(), background, phrase,
           phrase ? 4 : 14);
}

QSize PhraseListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  return lineSize(option, index.row() % 2 == 0);
}

}  // namespace tavro2
