#include "skin/skin_widgets.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>

#include "skin/image_list.h"

namespace tavro2 {

// --- SkinTitleStrip ---------------------------------------------------------

SkinTitleStrip::SkinTitleStrip(const SkinState* skin, QWidget* parent)
    : QWidget(parent), skin_(skin) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinTitleStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintSkinTitle(painter, rect(), *skin_);
}

void SkinTitleStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) startCaptionDrag(window());
}

void SkinTitleStrip::mouseReleaseEvent(QMouseEvent*) { emit released(); }

void SkinTitleStrip::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

// --- ShadowLabel --------------------------------------------------------------

ShadowLabel::ShadowLabel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
}

void ShadowLabel::setText(const QString& text) {
  text_ = text;
  update();
}

void ShadowLabel::setTextColor(const QColor& color) {
  textColor_ = color;
  update();
}

void ShadowLabel::setShadowColor(const QColor& color) {
  shadowColor_ = color;
  update();
}

QSize ShadowLabel::sizeHint() const {
  const QFontMetrics metrics(font());
  return QSize(metrics.horizontalAdvance(text_) + 1, metrics.height() + 1);
}

void ShadowLabel::fitToText() { resize(sizeHint()); }

void ShadowLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const QFontMetrics metrics(font());
  const int baseline = metrics.ascent();
  painter.setPen(shadowColor_);
  painter.drawText(1, baseline + 1, text_);
  painter.setPen(textColor_);
  painter.drawText(0, baseline, text_);
}

void ShadowLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) startCaptionDrag(window());
}

void ShadowLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

// --- GradientPanel --------------------------------------------------------------

GradientPanel::GradientPanel(QWidget* parent, ColorRef top, ColorRef bottom)
    : QWidget(parent), top_(top), bottom_(bottom) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

std::pair<ColorRef, ColorRef> GradientPanel::band(int from, int to) const {
  const int h = std::max(1, height());
  return {gradientRowColor(top_, bottom_, std::clamp(from, 0, h - 1), h),
          gradientRowColor(top_, bottom_, std::clamp(to, 0, h - 1), h)};
}

void GradientPanel::makeTextReadable(const std::vector<std::pair<QWidget*, ColorRef>>& preferred) {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QCheckBox*>(w) &&
        !qobject_cast<QRadioButton*>(w))
      continue;
    // Text on another panel of its own (a framed column) is that panel's.
    const QWidget* panel = w->parentWidget();
    while (panel != this && qobject_cast<const GradientPanel*>(panel) == nullptr)
      panel = panel->parentWidget();
    if (panel != this) continue;
    ColorRef wanted = kBlack;
    for (const auto& [widget, color] : preferred)
      if (widget == w) wanted = color;
    const QPoint at = w->mapTo(this, QPoint(0, 0));
    auto [top, bottom] = band(at.y(), at.y() + w->height() - 1);
    QPalette palette = w->palette();
    // A tall label over a mid-tone stretch of gradient reads in no colour:
    // it gets a plain ground of the stretch's middle colour.
    const ColorRef choice = readableOn(top, bottom, wanted);
    const bool plain = worstContrast(choice, top, bottom) < kReadableContrast;
    w->setAutoFillBackground(plain);
    if (plain) {
      top = bottom = blendColor(top, bottom, 0.5f);
      palette.setColor(QPalette::Window, toQColor(top));
    }
    const QColor text = toQColor(readableOn(top, bottom, wanted));
    // Links stay blue where blue reads, else they take the text's colour.
    const ColorRef blue = rgbColor(0, 0, 255);
    const QColor link = readableOn(top, bottom, blue) == blue ? toQColor(blue) : text;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, QPalette::WindowText, text);
      palette.setColor(group, QPalette::ButtonText, text);
      palette.setColor(group, QPalette::Link, link);
    }
    w->setPalette(palette);
  }
}

void GradientPanel::setColors(ColorRef top, ColorRef bottom) {
  if (top == top_ && bottom == bottom_) return;
  top_ = top;
  bottom_ = bottom;
  update();
}

void GradientPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  fillGradientBand(painter, rect(), top_, bottom_);
}

// --- GlyphButton ------------------------------------------------------------------

GlyphButton::GlyphButton(int restImage, int hotImage, int pressedImage, QWidget* parent)
    : QWidget(parent),
      rest_(restImage),
      hot_(hotImage),
      pressedImage_(pressedImage),
      shown_(restImage) {
  resize(kGlyphSize, kGlyphSize);
  setAttribute(Qt::WA_TranslucentBackground);
  setMouseTracking(true);
}

void GlyphButton::setRestImage(int image) {
  const bool showingRest = shown_ == rest_;
  rest_ = image;
  if (showingRest) show(image);
}

void GlyphButton::show(int image) {
  if (shown_ == image) return;
  shown_ = image;
  update();
}

void GlyphButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, glyphPixmap(shown_));
}

void GlyphButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  inside_ = true;
  show(pressedImage_);
}

void GlyphButton::mouseMoveEvent(QMouseEvent* event) {
  // While a button is held the glyph keeps the mouse, so leaving shows up
  // here as a move outside its rectangle.
  const bool inside = rect().contains(event->position().toPoint());
  if (inside) {
    show(pressed_ ? pressedImage_ : hot_);
  } else if (inside_) {
    show(rest_);
  }
  inside_ = inside;
}

void GlyphButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (rect().contains(event->position().toPoint())) {
    show(rest_);
    emit activated();
  } else {
    show(rest_);
    emit releasedOutside(event->globalPosition().toPoint());
  }
}

void GlyphButton::enterEvent(QEnterEvent*) {
  inside_ = true;
  show(pressed_ ? pressedImage_ : hot_);
}

void GlyphButton::leaveEvent(QEvent*) {
  inside_ = false;
  show(rest_);
}

GlyphButton* createCloseGlyph(QWidget* titleStrip) {
  auto* glyph = new GlyphButton(kImageClose, kImageCloseHot, kImageClosePressed, titleStrip);
  QObject::connect(glyph, &GlyphButton::activated, glyph, [glyph] {
    // A posted close request, so the window closes after this event returns.
    QMetaObject::invokeMethod(glyph->window(), &QWidget::close, Qt::QueuedConnection);
  });
  return glyph;
}

// --- ImageButton ------------------------------------------------------------------

ImageButton::ImageButton(const QPixmap& glyph, const QString& caption, QWidget* parent)
    : QAbstractButton(parent), glyph_(glyph) {
  setText(caption);
  // Tab reaches it; a click leaves the focus where it was (the search box).
  setFocusPolicy(Qt::TabFocus);
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);  // Space
}

void ImageButton::setOpaque(bool opaque) {
  if (opaque_ == opaque) return;
  opaque_ = opaque;
  update();
}

void ImageButton::setFaceColor(ColorRef color) {
  if (face_ == color) return;
  face_ = color;
  update();
}

void ImageButton::setTextColor(const QColor& color) {
  if (textColor_ == color) return;
  textColor_ = color;
  update();
}

QSize ImageButton::sizeHint() const {
  int width = glyphSize().width() + 6;
  if (!text().isEmpty()) width += QFontMetrics(font()).horizontalAdvance(text()) + 4;
  return QSize(width, 22);
}

void ImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect r = rect();
  if (opaque_) painter.fillRect(r, toQColor(face_));

  const bool sunken = isDown() || isChecked();
  if (sunken || hover_) {
    const QColor dark(128, 128, 128);
    const QColor light(255, 255, 255);
    const QColor topLeft = sunken ? dark : light;
    const QColor bottomRight = sunken ? light : dark;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
  }

  // The keyboard's place: a dotted frame in the caption's colour, inside
  // the bevel.
  if (hasFocus()) {
    QPen pen(textColor_, 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(r.adjusted(1, 1, -2, -2));
  }

  const int shift = sunken ? 1 : 0;
  const int glyphY = (r.height() - glyphSize().height()) / 2 + shift;
  if (text().isEmpty()) {
    painter.drawPixmap((r.width() - glyphSize().width()) / 2 + shift, glyphY, glyph_);
    return;
  }
  const QFontMetrics metrics(font());
  const int contentWidth = glyphSize().width() + 3 + metrics.horizontalAdvance(text());
  const int x = (r.width() - contentWidth) / 2 + shift;
  painter.drawPixmap(x, glyphY, glyph_);
  painter.setFont(font());
  const QRect textRect(x + glyphSize().width() + 3, shift, r.width(), r.height());
  if (halo_) drawTextHalo(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, text(), *halo_);
  painter.setPen(isEnabled() ? textColor_ : QColor(128, 128, 128));
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}

void ImageButton::setTextHalo(std::optional<QColor> halo) {
  if (halo_ == halo) return;
  halo_ = halo;
  update();
}

void drawTextHalo(QPainter& painter, const QRect& rect, int flags, const QString& text,
                  const QColor& halo) {
  painter.save();
  painter.setPen(halo);
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (dx != 0 || dy != 0) painter.drawText(rect.translated(dx, dy), flags, text);
  painter.restore();
}

void ImageButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace tavro2
