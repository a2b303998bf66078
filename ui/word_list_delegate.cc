#include "ui/word_list_delegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace tavro2 {

namespace {

// Lines are as high as the text, with one pixel to spare below it.
QSize lineSize(const QStyleOptionViewItem& option, bool bold) {
  QFont font = option.font;
  font.setBold(bold);
  return QSize(option.rect.width(), QFontMetrics(font).height() + 1);
}

// The list's text colour, except on a selection colour so dark that text in
// it could not be read (the base colour of the dark skins): white there.
QColor textColorOn(const QColor& background, const QColor& text) {
  const int lightness =
      (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
  return lightness < 128 ? QColor(Qt::white) : text;
}

// WCAG's contrast ratio of two colours (1 to 21).
double contrastRatio(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& c) {
    const auto channel = [](double v) {
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void drawLine(QPainter* painter, const QStyleOptionViewItem& option, const QString& text,
              const QColor& background, bool bold, int indent, bool selected, bool italic = false,
              std::optional<QColor> color = std::nullopt) {
  painter->save();
  painter->fillRect(option.rect, background);
  QFont font = option.font;
  font.setBold(bold);
  font.setItalic(italic);
  painter->setFont(font);
  const QColor textColor = color.value_or(option.palette.color(QPalette::Text));
  painter->setPen(selected ? textColorOn(background, textColor) : textColor);
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
  const QColor background =
      selected ? toQColor(palette_->toolBarBottom) : option.palette.color(QPalette::Base);
  const auto offer = static_cast<Offer>(index.data(kOfferRole).toInt());
  // The heading is not selectable, which a style would grey out of reach.
  std::optional<QColor> color;
  if (offer == Offer::kHeading) color = option.palette.color(QPalette::Active, QPalette::Text);
  if (offer == Offer::kSuggestion && !selected) {
    const QColor skin = toQColor(palette_->statusLineBack);
    if (contrastRatio(skin, background) >= 4.5) color = skin;
  }
  drawLine(painter, option, index.data(Qt::DisplayRole).toString(), background, selected, 4,
           selected, offer != Offer::kNone, color);
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
           phrase ? 4 : 14, selected);
}

QSize PhraseListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  return lineSize(option, index.row() % 2 == 0);
}

}  // namespace tavro2
