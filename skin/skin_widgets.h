// The small skinned widgets every window builds its frame from: the title
// strip, its shadowed title text, gradient bands and the 16 x 16 glyphs of
// the image list (close, minimize, menu, mode).
#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>
#include <optional>

#include "skin/skin.h"

namespace tavro2 {

// A strip painted by PaintSkinTitle from a skin state that outlives it.
// Pressing a mouse button on it drags its window (StartCaptionDrag).
class SkinTitleStrip : public QWidget {
  Q_OBJECT
 public:
  SkinTitleStrip(const SkinState* skin, QWidget* parent);

 signals:
  void doubleClicked();
  void released();  // a mouse button came up over the strip

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  const SkinState* skin_;
};

// A label drawn with a 1-pixel shadow below and to the right of its text,
// transparent, white text on a grey (128,128,128) shadow by default. It
// sizes itself to its text. Pressing on it drags its window.
class ShadowLabel : public QWidget {
  Q_OBJECT
 public:
  explicit ShadowLabel(QWidget* parent);

  void setText(const QString& text);
  QString text() const { return text_; }
  void setTextColor(const QColor& color);
  void setShadowColor(const QColor& color);
  // Resizes the label to its text in the current font, shadow included.
  void fitToText();
  QSize sizeHint() const override;

 signals:
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QString text_;
  QColor textColor_{Qt::white};
  QColor shadowColor_{128, 128, 128};
};

// A panel filled with a vertical gradient band (GradientRowColor); its
// children draw over it.
class GradientPanel : public QWidget {
  Q_OBJECT
 public:
  explicit GradientPanel(QWidget* parent, ColorRef top = kWhite, ColorRef bottom = kSilver);
  void setColors(ColorRef top, ColorRef bottom);
  ColorRef topColor() const { return top_; }
  ColorRef bottomColor() const { return bottom_; }
  // The gradient's colours behind rows `from` to `to` (panel coordinates).
  std::pair<ColorRef, ColorRef> band(int from, int to) const;
  // Gives every label, check box and radio button on the panel (at any
  // depth, but not on a panel of its own) a text colour that reads on the
  // band of gradient behind it: its own colour where that reads, else black
  // or white; a tall label on a stretch where neither reads gets a plain
  // ground. `preferred` names labels whose own colour is not black.
  void makeTextReadable(const std::vector<std::pair<QWidget*, ColorRef>>& preferred = {});

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ColorRef top_;
  ColorRef bottom_;
};

// A 16 x 16 image of the glyph strip with three looks: at rest, under the
// mouse and pressed. Its pressed flag is set by a press on it and, for the
// dialogs' close glyph, never cleared again while the window lives (the
// main window clears its own through clearPressed()).
//   press on it:         pressed image, pressed := true
//   move over it:        pressed image if pressed, else the hot image
//   leave it:            rest image
//   release over it:     rest image, then activated()
// A press that ends outside the glyph activates nothing; releasedOutside
// reports where it ended (in global coordinates).
class GlyphButton : public QWidget {
  Q_OBJECT
 public:
  GlyphButton(int restImage, int hotImage, int pressedImage, QWidget* parent);

  int shownImage() const { return shown_; }
  bool isPressed() const { return pressed_; }
  void clearPressed() { pressed_ = false; }
  // Changes the rest image (the mode glyph switches between two).
  void setRestImage(int image);
  QSize sizeHint() const override { return {16, 16}; }

 signals:
  void activated();
  void releasedOutside(QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void show(int image);

  int rest_;
  int hot_;
  int pressedImage_;
  int shown_;
  bool pressed_ = false;
  bool inside_ = false;
};

// A flat image button of the tool bar: a glyph drawn over its face, or left
// of its caption when it has one. It takes no keyboard focus. Drawn
// transparent (the tool bar shows through) unless made opaque, when its
// face is filled with its colour. A checkable one is a toggle button whose
// pressed state is its checked state; it shows a sunken edge while down.
// Tab gives it the focus (a dotted frame), Space or Enter presses it.
class ImageButton : public QAbstractButton {
  Q_OBJECT
 public:
  ImageButton(const QPixmap& glyph, const QString& caption, QWidget* parent);

  void setOpaque(bool opaque);
  bool isOpaque() const { return opaque_; }
  void setFaceColor(ColorRef color);
  ColorRef faceColor() const { return face_; }
  void setTextColor(const QColor& color);
  QColor textColor() const { return textColor_; }
  // A one-pixel outline around the caption (SkinPalette::captionHalo).
  void setTextHalo(std::optional<QColor> halo);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The glyph's size in the window's pixels (a twice-sized picture counts
  // half).
  QSize glyphSize() const { return glyph_.deviceIndependentSize().toSize(); }
  QPixmap glyph_;
  bool opaque_ = false;
  bool hover_ = false;
  ColorRef face_ = kWhite;
  QColor textColor_{Qt::black};
  std::optional<QColor> halo_;
};

// Draws `text` one pixel around its place in `halo`, under where it will be
// drawn: letters readable on any background.
void drawTextHalo(QPainter& painter, const QRect& rect, int flags, const QString& text,
                  const QColor& halo);

// The dialogs' close glyph: images 3, 4 and 5; activation posts a close
// request to its window.
GlyphButton* createCloseGlyph(QWidget* titleStrip);

}  // namespace tavro2
