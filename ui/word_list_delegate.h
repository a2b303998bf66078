// Owner drawing of the main window's lists.
//
// Word lists (main word list, related-text list): each line's rectangle is
// filled and its text drawn 4 pixels from the left, at the top; a line too
// wide for the list ends in "…" and its hint is the whole line. The selected
// line is filled with the selection colour (the tool bar's second gradient
// colour) and its text is bold, in the skin's selectedLineText; other lines
// take the list's own background and text colour, normal weight.
//
// A word-list line may carry kOfferRole: suggestions for a word not found
// are drawn in italics in the skin's own colour (the list's text colour
// where that would be hard to read), and the line that introduces them in
// italics.
//
// Phrase list: items come in pairs. Even items (phrases) are bold on the
// phrase-list colour, text 4 pixels in; odd items (translations) are regular
// on white, 14 pixels in. A selected item of either kind is filled with the
// selection colour. Text is clipped to the item.
#pragma once

#include <QStyledItemDelegate>

#include "skin/skin.h"

namespace tavro2 {

// The item data role that marks an offered line, and its values.
inline constexpr int kOfferRole = Qt::UserRole + 1;
enum class Offer : int { kNone = 0, kSuggestion = 1, kHeading = 2 };

class WordListDelegate : public QStyledItemDelegate {
 public:
  WordListDelegate(const SkinPalette* palette, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 private:
  const SkinPalette* palette_;
};

class PhraseListDelegate : public QStyledItemDelegate {
 public:
  PhraseListDelegate(const SkinPalette* palette, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const SkinPalette* palette_;
};

}  // namespace tavro2
