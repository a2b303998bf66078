#include "skin/skin.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "engine/cp1252.h"

namespace tavro2 {

Rgb splitColor(ColorRef color) {
  return Rgb{static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
             static_cast<int>((color >> 16) & 0xFF)};
}

namespace {

// Round half to even, then clamp to a channel.
int roundChannel(double v) {
  double lower = std::floor(v);
  double diff = v - lower;
  double r = lower;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0)) r = lower + 1.0;
  return static_cast<int>(std::clamp(r, 0.0, 255.0));
}

}  // namespace

ColorRef blendColor(ColorRef a, ColorRef b, float t) {
  if (!(t >= 0.0f)) t = 0.0f;  // also catches NaN
  if (t > 1.0f) t = 1.0f;
  const Rgb ca = splitColor(a);
  const Rgb cb = splitColor(b);
  const double f = t;
  auto mix = [f](int x, int y) { return roundChannel(x + (y - x) * f); };
  return rgbColor(mix(ca.red, cb.red), mix(ca.green, cb.green), mix(ca.blue, cb.blue));
}

QColor toQColor(ColorRef color) {
  const Rgb c = splitColor(color);
  return QColor(c.red, c.green, c.blue);
}

ColorRef colorRefOf(const QColor& color) {
  return rgbColor(color.red(), color.green(), color.blue());
}

QFont appFont(int height, bool bold) {
  // The largest font whose line (ascent + descent) fits `height` pixels:
  // 12-pixel Arial for a 14-pixel-high font. The main window's layout is
  // measured in this font: "English - Indonesian" must fit between its
  // direction choice and the next.
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(bold);
  int size = std::max(1, height);
  font.setPixelSize(size);
  while (size > 1 && QFontMetrics(font).height() > height) {
    font.setPixelSize(--size);
  }
  return font;
}

// --- Skin table -----------------------------------------------------------

const std::array<SkinInfo, kSkinCount>& skinTable() {
  static const std::array<SkinInfo, kSkinCount> table = {{
      {"Blue Aqua", "AquaBlue_T"},
      {"Corona", "CoronaH_T"},
      {"Light Corona", "Zr5AquaBlue_T"},
      {"Gray Aqua", "Zr5AquaGray_T"},
      {"Red Aqua", "Zr5AquaRed_T"},
      {"Light Purple", "Zr1Pink"},
      {"Gold Aqua", "zYellowX"},
      {"Green Aqua", "Zr4aquaGreen"},
      {"Sky Blue Aqua", "Zr4aquaNavy"},
      {"Red Aqua II", "Zr4aquaRed"},
      {"Blue Xp", "WinXp_T"},
      {"Olive Green Xp", "WinXpOlive_T"},
      {"Silver Xp", "WinXpSilver_T"},
      {"Purple Aqua", "AquaPink"},
      {"Deep Blue Aqua", "zBlueX"},
      {"Gray Aqua II", "zGrayX"},
      {"Vista Black Green", "zBlackGreenX"},
      {"Vista Black", "WinVista1"},
      {"Vista Light Green", "WinVista2"},
      {"Vista Black 2", "WinVista3"},
  }};
  return table;
}

const SkinBitmap* findSkinBitmap(std::string_view name) {
  const std::string folded = foldAscii(name);
  for (const SkinBitmap& bitmap : skinBitmaps()) {
    if (foldAscii(bitmap.name) == folded) return &bitmap;
  }
  return nullptr;
}

const SkinBitmap& skinBitmapFor(int index) {
  const char* name =
      (index >= 0 && index < kSkinCount && index != 14) ? skinTable()[index].bitmap : "zBlueX";
  return *findSkinBitmap(name);
}

void SkinState::load(int newIndex) {
  const SkinBitmap& source = skinBitmapFor(newIndex);
  index = newIndex;
  bitmap = QImage(1, kSkinRows, QImage::Format_RGB32);
  for (int y = 0; y < kSkinRows; ++y) {
    const auto& p = source.rows[y];
    bitmap.setPixel(0, y, qRgb(p[0], p[1], p[2]));
  }
  auto pixel = [&](int row) {
    const auto& p = source.rows[row];
    return rgbColor(p[0], p[1], p[2]);
  };
  skinOutlineColor = pixel(0);
  skinShadeColor = pixel(27);
  skinBaseColor = pixel(6);
  phraseListColor = blendColor(kWhite, skinBaseColor, 0.3f);
}

// The band of a bar's gradient behind a caption's letters: the middle
// third of the tool bar or the direction bar (32 pixels high, 14-pixel
// text in the middle).
static std::pair<ColorRef, ColorRef> captionBand(ColorRef top, ColorRef bottom) {
  return {blendColor(top, bottom, 0.35f), blendColor(top, bottom, 0.65f)};
}

SkinPalette computeSkinPalette(const SkinState& skin) {
  auto mix = [&](float t) { return blendColor(kWhite, skin.skinBaseColor, t); };
  SkinPalette p;
  p.toolBarBottom = skin.skinBaseColor;
  p.windowColor = mix(0.2f);
  p.toolBarTop = p.windowColor;
  p.directionBarTop = p.toolBarTop;
  p.directionBarBottom = p.toolBarBottom;
  p.mainWordList = mix(0.1f);
  p.translationPane = p.mainWordList;
  p.relatedList = mix(0.2f);
  p.relatedTranslationPane = p.relatedList;
  p.phraseList = mix(0.3f);
  p.statusLineBack = skin.skinBaseColor;
  p.statusLineText = readableOn(p.statusLineBack, kWhite);
  p.linkPanelBack = skin.skinBaseColor;
  p.linkPanelText = readableOn(p.linkPanelBack, kWhite);
  p.searchFrame = mix(0.8f);
  p.translationPanel = p.searchFrame;
  p.relatedPanel = mix(0.95f);
  p.phrasePanel = skin.skinBaseColor;
  p.clipboardButton = mix(0.7f);
  p.containButton = p.clipboardButton;
  p.phraseButton = p.clipboardButton;
  const auto [toolTop, toolBottom] = captionBand(p.toolBarTop, p.toolBarBottom);
  const auto [choiceTop, choiceBottom] = captionBand(p.directionBarTop, p.directionBarBottom);
  p.toolBarText = readableOn(toolTop, toolBottom, kBlack);
  p.toolBarTextDown = readableOn(p.clipboardButton, kNavy);
  p.directionText = readableOn(choiceTop, choiceBottom, kBlack);
  if (worstContrast(p.toolBarText, toolTop, toolBottom) < kReadableContrast)
    p.captionHalo = p.toolBarText == kBlack ? kWhite : kBlack;
  p.selectedLineText = readableOn(p.toolBarBottom, kBlack);
  p.historyTitleText = readableOn(skin.skinShadeColor, kWhite);
  p.markedItemText = readableOn(skin.skinBaseColor, kBlack);
  // The popup's pane is the darker of the two it is shown on.
  const ColorRef greyedShade = blendColor(skin.skinShadeColor, rgbColor(128, 128, 128), 0.5f);
  p.transcriptionText = readableHue(greyedShade, p.relatedTranslationPane);
  return p;
}

double contrastRatio(ColorRef a, ColorRef b) {
  auto luminance = [](ColorRef c) {
    const Rgb rgb = splitColor(c);
    auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(rgb.red) + 0.7152 * channel(rgb.green) + 0.0722 * channel(rgb.blue);
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double worstContrast(ColorRef text, ColorRef top, ColorRef bottom) {
  return std::min(contrastRatio(text, top), contrastRatio(text, bottom));
}

ColorRef readableOn(ColorRef top, ColorRef bottom, ColorRef preferred) {
  if (worstContrast(preferred, top, bottom) >= kReadableContrast) return preferred;
  return worstContrast(kBlack, top, bottom) >= worstContrast(kWhite, top, bottom) ? kBlack : kWhite;
}

ColorRef readableHue(ColorRef color, ColorRef background) {
  const bool darken = contrastRatio(kBlack, background) >= contrastRatio(kWhite, background);
  const ColorRef end = darken ? kBlack : kWhite;
  // The least step towards black (or white) that reads; 40 steps are finer
  // than the eye tells apart.
  for (int step = 0; step <= 40; ++step) {
    const ColorRef c = blendColor(color, end, static_cast<float>(step) / 40.0f);
    if (contrastRatio(c, background) >= kReadableContrast) return c;
  }
  return end;
}

std::vector<TextOnSkin> skinTexts(const SkinState& skin) {
  const SkinPalette p = computeSkinPalette(skin);
  // A caption with a halo stands on the halo.
  auto caption = [&](ColorRef top, ColorRef bottom) {
    return p.captionHalo ? std::pair(*p.captionHalo, *p.captionHalo) : captionBand(top, bottom);
  };
  const auto [toolTop, toolBottom] = caption(p.toolBarTop, p.toolBarBottom);
  const auto [choiceTop, choiceBottom] = caption(p.directionBarTop, p.directionBarBottom);
  return {
      {"status line", p.statusLineText, p.statusLineBack, p.statusLineBack},
      {"link", p.linkPanelText, p.linkPanelBack, p.linkPanelBack},
      {"tool-bar caption", p.toolBarText, toolTop, toolBottom},
      {"pressed toggle", p.toolBarTextDown, p.clipboardButton, p.clipboardButton},
      {"direction", p.directionText, choiceTop, choiceBottom},
      {"main word list", kBlack, p.mainWordList, p.mainWordList},
      {"translation", kBlack, p.translationPane, p.translationPane},
      {"transcription", p.transcriptionText, p.translationPane, p.translationPane},
      {"transcription in the popup", p.transcriptionText, p.relatedTranslationPane,
       p.relatedTranslationPane},
      {"related list", kBlack, p.relatedList, p.relatedList},
      {"phrase list", kBlack, p.phraseList, p.phraseList},
      {"selected line", p.selectedLineText, p.toolBarBottom, p.toolBarBottom},
      {"history title", p.historyTitleText, skin.skinShadeColor, skin.skinShadeColor},
      {"marked history item", p.markedItemText, skin.skinBaseColor, skin.skinBaseColor},
  };
}

// --- Painting ---------------------------------------------------------------

ColorRef gradientRowColor(ColorRef top, ColorRef bottom, int y, int height) {
  if (height <= 0) return top;
  const Rgb t = splitColor(top);
  const Rgb b = splitColor(bottom);
  // C++ integer division truncates toward zero, as the rule asks.
  auto channel = [&](int from, int to) { return from + y * (to - from) / height; };
  return rgbColor(channel(t.red, b.red), channel(t.green, b.green), channel(t.blue, b.blue));
}

void fillGradientBand(QPainter& painter, const QRect& rect, ColorRef top, ColorRef bottom) {
  for (int y = 0; y < rect.height(); ++y) {
    painter.fillRect(QRect(rect.left(), rect.top() + y, rect.width(), 1),
                     toQColor(gradientRowColor(top, bottom, y, rect.height())));
  }
}

std::vector<QPoint> polylinePixels(std::span<const QPoint> points) {
  std::vector<QPoint> pixels;
  for (std::size_t s = 1; s < points.size(); ++s) {
    const QPoint from = points[s - 1];
    const int dx = points[s].x() - from.x();
    const int dy = points[s].y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i) {
      // lround rounds a half away from zero, i.e. toward the segment's end.
      const int x = from.x() + static_cast<int>(std::lround(static_cast<double>(i) * dx / steps));
      const int y = from.y() + static_cast<int>(std::lround(static_cast<double>(i) * dy / steps));
      pixels.emplace_back(x, y);
    }
  }
  return pixels;
}

void setPixel(QPainter& painter, int x, int y, ColorRef color) {
  painter.fillRect(QRect(x, y, 1, 1), toQColor(color));
}

void drawPolyline(QPainter& painter, std::span<const QPoint> points, ColorRef color) {
  for (const QPoint& p : polylinePixels(points)) setPixel(painter, p.x(), p.y(), color);
}

void paintSkinTitle(QPainter& painter, const QRect& client, const SkinState& skin) {
  const int L = client.left();
  const int T = client.top();
  const int R = client.left() + client.width();  // exclusive
  const int B = client.top() + client.height();  // exclusive
  const int height = client.height();
  if (height <= 0 || client.width() <= 0) return;

  for (int y = 0; y < height; ++y) {
    const int row = static_cast<int>(static_cast<long long>(y) * kSkinRows / height);
    painter.fillRect(QRect(L, T + y, client.width(), 1), QColor(skin.bitmap.pixel(0, row)));
  }

  const QPoint outline[] = {
      {L, B},         {L, T + 5},     {L + 1, T + 5}, {L + 1, T + 4}, {L + 1, T + 3},
      {L + 2, T + 3}, {L + 2, T + 2}, {L + 3, T + 2}, {L + 3, T + 1}, {L + 4, T + 1},
      {L + 5, T + 1}, {L + 5, T},     {R - 6, T},     {R - 6, T + 1}, {R - 5, T + 1},
      {R - 4, T + 1}, {R - 4, T + 2}, {R - 3, T + 2}, {R - 3, T + 3}, {R - 2, T + 3},
      {R - 2, T + 4}, {R - 2, T + 5}, {R - 1, T + 5}, {R - 1, B},
  };
  drawPolyline(painter, outline, skin.skinOutlineColor);
  const QPoint bottomLine[] = {{L + 4, B - 1}, {R - 4, B - 1}};
  drawPolyline(painter, bottomLine, skin.skinOutlineColor);
  for (int x : {L + 1, L + 2, L + 3, R - 2, R - 3, R - 4}) {
    setPixel(painter, x, B - 1, skin.skinShadeColor);
  }
}

void paintSkinFrame(QPainter& painter, const QRect& client, const SkinState& skin) {
  const int L = client.left();
  const int R = client.left() + client.width();
  const int B = client.top() + client.height();
  const int F = client.top() + 28;

  const QPoint outer[] = {{L, F}, {L, B - 1}, {R - 1, B - 1}, {R - 1, F}};
  drawPolyline(painter, outer, skin.skinOutlineColor);
  const QPoint inner[] = {{L + 3, F + 1}, {L + 2, F + 2}, {L + 2, B - 3},
                          {R - 3, B - 3}, {R - 3, F + 2}, {R - 5, F + 1}};
  drawPolyline(painter, inner, skin.skinOutlineColor);
  const QPoint shade[] = {{L + 2, F + 1}, {L + 1, F + 2}, {L + 1, B - 2},
                          {R - 2, B - 2}, {R - 2, F + 2}, {R - 4, F}};
  drawPolyline(painter, shade, skin.skinShadeColor);
  setPixel(painter, L + 1, F + 1, skin.skinShadeColor);
  setPixel(painter, R - 2, F + 1, skin.skinShadeColor);
}

// --- Windows ----------------------------------------------------------------

QRegion roundedWindowRegion(int width, int height, int extra) {
  // The platform's rounded-rectangle regions end one pixel short of their
  // right and bottom coordinates (which is why callers pass width + 1): the
  // region covers x from 0 to width - 1, so both top corners round alike.
  // The rows a 13 x 13 corner ellipse cuts off, from the top, are the steps
  // the title strip's outline draws, so the outline is the window's edge.
  constexpr int kInset[] = {5, 3, 2, 1, 1};
  const int right = width;                // exclusive: (width + 1) - 1
  const int bottom = height + extra - 1;  // exclusive
  QRegion region;
  int y = 0;
  for (int inset : kInset) {
    if (y >= bottom) break;
    region += QRect(inset, y, std::max(0, right - 2 * inset), 1);
    ++y;
  }
  if (bottom > y) region += QRect(0, y, right, bottom - y);
  return region;
}

namespace {
constexpr const char* kOpacityProperty = "tavro2Opacity";
}

void centerOnScreen(QWidget* window) {
  const QWidget* parent = window->parentWidget();
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  window->move(area.x() + (area.width() - window->width()) / 2,
               area.y() + (area.height() - window->height()) / 2);
}

bool onNativeWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void setOpacity(QWidget* window, int value) {
  if (window == nullptr || opacityOf(window) == value) return;
  window->setProperty(kOpacityProperty, value);
  const int alpha = value & 0xFF;
  if (!onNativeWayland()) window->setWindowOpacity(alpha == 255 ? 1.0 : alpha / 255.0);
}

int opacityOf(const QWidget* window) {
  const QVariant v = window->property(kOpacityProperty);
  return v.isValid() ? v.toInt() : 255;
}

namespace {

// Where the window system cannot move a window itself, the window follows
// the mouse until the button is released.
class ManualDrag : public QObject {
 public:
  ManualDrag(QWidget* window) : window_(window), offset_(QCursor::pos() - window->pos()) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseMove && window_) {
      window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease || !window_) {
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<QWidget> window_;
  QPoint offset_;
};

}  // namespace

void startCaptionDrag(QWidget* window) {
  if (window == nullptr) return;
  window = window->window();
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  QWindow* handle = window->windowHandle();
  if (handle != nullptr && handle->startSystemMove()) return;
  new ManualDrag(window);
}

}  // namespace tavro2
