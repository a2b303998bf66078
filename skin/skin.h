// Skins: the colours and painting shared by every window of the program.
//
// A skin is a column of 29 colours (a 1 x 29 bitmap). Three of its pixels
// give the colours every window derives its look from: row 0 the outline,
// row 6 the base colour, row 27 the shade. The main window keeps the current
// SkinState; other windows read it from there when they paint, so a skin
// applied while a dialog is open shows in it at its next repaint.
//
// Colours are kept as ColorRef values 0x00BBGGRR (red in the low byte), the
// form the colour arithmetic below is defined on; toQColor converts at the
// edge where Qt draws.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class QPainter;
class QWidget;

namespace tavro2 {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

inline constexpr ColorRef kWhite = 0xFFFFFF;

constexpr ColorRef rgbColor(int red, int green, int blue) {
  return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
         (static_cast<ColorRef>(blue & 0xFF) << 16);
}

inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kNavy = rgbColor(0, 0, 128);

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Red is the low byte, green the second, blue the third.
Rgb splitColor(ColorRef color);

// Mixes a towards b by t (clamped to 0..1): per channel a + (b - a) * t in
// double precision, rounded half to even, clamped to 0..255. t = 0 gives a,
// t = 1 gives b. The factors the program uses are single-precision values
// (0.2f is 0.200000003), which is why t is a float.
ColorRef blendColor(ColorRef a, ColorRef b, float t);

QColor toQColor(ColorRef color);
ColorRef colorRefOf(const QColor& color);

// The program's text font: Arial (Liberation Sans, its metric twin, where
// Arial is absent), `height` pixels high: the text line, ascent plus
// descent, is at most that tall (a 14-pixel-high font has a 12-pixel em).
// Sized in pixels so text measures the same on every screen.
QFont appFont(int height = 14, bool bold = false);

// --- Skin table -----------------------------------------------------------

inline constexpr int kSkinCount = 20;
inline constexpr int kSkinRows = 29;

struct SkinBitmap {
  const char* name;                                         // the resource name, e.g. "AquaBlue_T"
  std::array<std::array<std::uint8_t, 3>, kSkinRows> rows;  // r,g,b from the top
};

// The twenty skin bitmaps, embedded.
std::span<const SkinBitmap> skinBitmaps();
// The bitmap of that resource name, matched without regard to ASCII case;
// nullptr when there is none.
const SkinBitmap* findSkinBitmap(std::string_view name);

struct SkinInfo {
  const char* name;    // shown in the options dialog's skin list
  const char* bitmap;  // resource name of its bitmap
};
// Index = the Skin setting = position in the options dialog's list.
const std::array<SkinInfo, kSkinCount>& skinTable();
// The bitmap a Skin value loads: the table's, and "zBlueX" for any index
// outside the table (14 uses it too).
const SkinBitmap& skinBitmapFor(int index);

// --- Skin state -----------------------------------------------------------

// The current skin, kept by the main window for the whole run.
struct SkinState {
  int index = 0;
  QImage bitmap;                  // 1 x 29, Format_RGB32
  ColorRef skinOutlineColor = 0;  // row 0
  ColorRef skinBaseColor = 0;     // row 6
  ColorRef skinShadeColor = 0;    // row 27
  ColorRef phraseListColor = 0;   // blendColor(white, skinBaseColor, 0.3)

  SkinState() { load(0); }
  // Loads the bitmap of skin `index` and samples its three colours.
  void load(int index);
};

// The main window's colours after ApplySkin, in the order they are applied.
// Other windows read these too (the definition popup takes the translation
// panel's and the related translation pane's colours, the word lists draw
// their selected line in toolBarBottom).
struct SkinPalette {
  ColorRef toolBarBottom = 0;    // skinBaseColor
  ColorRef windowColor = 0;      // mix 0.2
  ColorRef toolBarTop = 0;       // the window colour
  ColorRef directionBarTop = 0;  // as the tool bar
  ColorRef directionBarBottom = 0;
  ColorRef mainWordList = 0;     // mix 0.1
  ColorRef translationPane = 0;  // as the main word list
  ColorRef relatedList = 0;      // mix 0.2
  ColorRef relatedTranslationPane = 0;
  ColorRef phraseList = 0;      // mix 0.3 (the phrase-list colour)
  ColorRef statusLineBack = 0;  // skinBaseColor, text white
  ColorRef statusLineText = kWhite;
  ColorRef linkPanelBack = 0;  // skinBaseColor, text white and bold
  ColorRef linkPanelText = kWhite;
  ColorRef searchFrame = 0;       // mix 0.8
  ColorRef translationPanel = 0;  // as the search frame
  ColorRef relatedPanel = 0;      // mix 0.95
  ColorRef phrasePanel = 0;       // skinBaseColor
  ColorRef clipboardButton = 0;   // mix 0.7
  ColorRef containButton = 0;     // as the clipboard button
  ColorRef phraseButton = 0;
  // Texts, each readable on what lies behind it (readableOn): black, navy
  // or white as the skin's colours allow.
  ColorRef toolBarText = 0;      // captions on the tool bar's middle band
  ColorRef toolBarTextDown = 0;  // a pressed toggle's caption on its face
  ColorRef directionText = 0;    // the direction choices on their bar
  // Where a bar's gradient runs from light to dark behind the letters, no
  // colour reads on all of it: its captions get a one-pixel halo of the
  // opposite colour.
  std::optional<ColorRef> captionHalo;
  ColorRef selectedLineText = 0;  // a word list's selected line
  ColorRef historyTitleText = 0;  // on skinShadeColor
  ColorRef markedItemText = 0;    // a marked history item on skinBaseColor
  // An English headword's transcription in the translation pane and the
  // definition popup: the skin's shade, greyed, as dark as reads on both.
  ColorRef transcriptionText = 0;
};
// mix(t) = blendColor(white, skinBaseColor, t).
SkinPalette computeSkinPalette(const SkinState& skin);

// Colours of the bars before any skin is applied: white to silver.
inline constexpr ColorRef kSilver = rgbColor(192, 192, 192);

// --- Painting ---------------------------------------------------------------

// A vertical gradient band: row y of a band h rows high has, per channel,
// top + y * (bottom - top) / h, the division truncating toward zero.
ColorRef gradientRowColor(ColorRef top, ColorRef bottom, int y, int height);

// --- Readable text ------------------------------------------------------------

// The least contrast of text with its background, as WCAG asks of body text.
inline constexpr double kReadableContrast = 4.5;
// WCAG's contrast ratio of two colours, from 1 (the same) to 21.
double contrastRatio(ColorRef a, ColorRef b);
// The contrast of `text` on the worse end of a band of gradient from `top`
// to `bottom` (the same colour twice for a plain one).
double worstContrast(ColorRef text, ColorRef top, ColorRef bottom);
// `preferred` where it reads at kReadableContrast on every background from
// `top` to `bottom` (a band of a vertical gradient; the same colour twice
// for a plain one); otherwise black or white, whichever reads better on the
// band's worse end. One of the two always reaches 4.58 on a plain colour.
ColorRef readableOn(ColorRef top, ColorRef bottom, ColorRef preferred);
inline ColorRef readableOn(ColorRef background, ColorRef preferred) {
  return readableOn(background, background, preferred);
}
// A text colour with its hue kept, darkened (or, on a dark background,
// lightened) just enough to read on `background`: the markers' colours.
ColorRef readableHue(ColorRef color, ColorRef background);

// One text and its background somewhere in the skinned windows, for the
// contrast check: `top` and `bottom` are the band of background the text
// covers.
struct TextOnSkin {
  const char* where;
  ColorRef text;
  ColorRef top;
  ColorRef bottom;
};
// Every text the skin colours, with the colour it is drawn in.
std::vector<TextOnSkin> skinTexts(const SkinState& skin);
void fillGradientBand(QPainter& painter, const QRect& rect, ColorRef top, ColorRef bottom);

// The pixels a platform polyline lights with a 1-pixel pen: every segment
// from its start up to but excluding its end, so the polyline's last point
// is not drawn. Horizontal, vertical and diagonal segments are exact; on
// other slopes a minor step that falls exactly half-way goes toward the
// segment's end.
std::vector<QPoint> polylinePixels(std::span<const QPoint> points);
void drawPolyline(QPainter& painter, std::span<const QPoint> points, ColorRef color);
void setPixel(QPainter& painter, int x, int y, ColorRef color);

// The skin bitmap stretched over the strip (row y of the strip shows bitmap
// row y * 29 / height), outlined with stepped, rounded top corners.
// `client` is the strip's client rectangle (right and bottom exclusive).
void paintSkinTitle(QPainter& painter, const QRect& client, const SkinState& skin);
// The thin double border round a window body, starting 28 pixels below the
// client top (under the title strip).
void paintSkinFrame(QPainter& painter, const QRect& client, const SkinState& skin);

// --- Windows ----------------------------------------------------------------

inline constexpr int kMainWindowShapeExtra = 19;
inline constexpr int kDialogShapeExtra = 14;

// A rounded rectangle from (0, 0) to (width + 1, height + extra) with 13 x 13
// corner ellipses, as the platform builds one: one pixel short at the right
// and the bottom, so it spans the window's width exactly. It reaches below
// the window, so only the two top corners show rounded. Windows set it once,
// with their size at creation.
QRegion roundedWindowRegion(int width, int height, int extra);

// The main window's constant opacity: the low 8 bits of value are the alpha,
// 255 an ordinary opaque window. Setting the value the window already has
// does nothing.
void setOpacity(QWidget* window, int value);
// Whether the window runs on Wayland's own Qt platform (not X11 or
// XWayland). There a window's opacity is not shown (and every try warns),
// nothing is faded; other programs' selected text cannot be read, so
// select-to-translate is greyed; and a new clipboard is announced only to
// the focused program, which the status line says once.
bool onNativeWayland();
// The last value given to SetOpacity for this window (255 when none was).
int opacityOf(const QWidget* window);

// Puts a window of its present size in the middle of its parent's screen
// (the primary screen without a parent): (width - w) div 2 from the left,
// not QRect::center(), which lies half a pixel up and left of the middle of
// an even-sized screen.
void centerOnScreen(QWidget* window);

// Lets the window system move the window with the mouse, as if its caption
// were dragged; where the platform cannot, the window follows the mouse
// until the button is released. Call from a mouse-press handler.
void startCaptionDrag(QWidget* window);

}  // namespace tavro2
