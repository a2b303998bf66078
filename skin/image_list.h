// The glyph strip "F1_IMAGELIST1": nine 16 x 16 images cut from one
// 144 x 16 picture whose white pixels are transparent, and the button
// bitmaps of the main window's tool bar. At a scale of 1.5 or more they come
// from the "@2x" pictures (device pixel ratio 2), still 16 x 16 in the
// window's own pixels.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tavro2 {

enum GlyphImage : int {
  kImageCompactMode = 0,  // mode glyph while in compact mode
  kImageFullMode = 1,     // mode glyph while in full mode
  kImageMenu = 2,
  kImageClose = 3,
  kImageCloseHot = 4,      // under the mouse
  kImageClosePressed = 5,
  kImageMinimize = 6,
  kImageMinimizeHot = 7,
  kImageMinimizePressed = 8,
};
inline constexpr int kGlyphImageCount = 9;
inline constexpr int kGlyphSize = 16;

// Image `index` of the strip (a null pixmap outside 0..8). Needs a
// QGuiApplication.
QPixmap glyphPixmap(int index);

// A button bitmap by its resource name ("BTNADD_BITMAP", "BTNINFO_BITMAP",
// "BTNQUESTION_BITMAP", "BTNSETTING_BITMAP", "BBCLIPBOARD_BITMAP",
// "BTNFIND_BITMAP", "BBADD_BITMAP", "BBREL_BITMAP"); null when unknown.
QPixmap buttonBitmap(const char* name);

// The program icon "MAINICON" (32 x 32).
QIcon programIcon();
QPixmap programIconPixmap();

}  // namespace tavro2
