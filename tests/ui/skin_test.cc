// Skins: colour arithmetic, the skin table, title-strip and frame painting
// checked pixel by pixel, window shape, opacity and the glyphs.
#include "ui/skin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "ui/image_list.h"
#include "ui/skin_widgets.h"

namespace tavro2 {
namespace {

// --- BlendColor ----------------------------------------------------------------

struct BlendRow {
  ColorRef a;
  ColorRef b;
  float t;
  ColorRef expected;
};

TEST(BlendColorTest, Rows) {
  const ColorRef grey = RgbColor(128, 128, 128);
  const ColorRef skin0Base = RgbColor(164, 194, 235);
  const BlendRow rows[] = {
      {RgbColor(10, 20, 30), RgbColor(200, 100, 50), 0.0f, RgbColor(10, 20, 30)},
      {RgbColor(10, 20, 30), RgbColor(200, 100, 50), 1.0f, RgbColor(200, 100, 50)},
      {RgbColor(10, 20, 30), RgbColor(200, 100, 50), 1.5f, RgbColor(200, 100, 50)},
      {RgbColor(10, 20, 30), RgbColor(200, 100, 50), -0.5f, RgbColor(10, 20, 30)},
      // 255 - 127 * 0.5 = 191.5: a half goes to the even neighbour.
      {kWhite, grey, 0.5f, RgbColor(192, 192, 192)},
      // 0.5 -> 0 and 2.5 -> 2 (even), 1.5 -> 2.
      {RgbColor(0, 2, 1), RgbColor(1, 3, 2), 0.5f, RgbColor(0, 2, 2)},
      {RgbColor(0, 0, 0), RgbColor(5, 3, 1), 0.5f, RgbColor(2, 2, 0)},
      // The single-precision factors of skin 0's colours.
      {kWhite, skin0Base, 0.2f, RgbColor(237, 243, 251)},
      {kWhite, skin0Base, 0.7f, RgbColor(191, 212, 241)},
      {kWhite, skin0Base, 0.1f, RgbColor(246, 249, 253)},
  };
  for (const BlendRow& row : rows) {
    EXPECT_EQ(BlendColor(row.a, row.b, row.t), row.expected)
        << std::hex << row.a << " " << row.b << " t=" << row.t;
  }
  EXPECT_EQ(BlendColor(RgbColor(1, 2, 3), kWhite, std::nanf("")), RgbColor(1, 2, 3));
}

TEST(BlendColorTest, SplitColorTakesRedFromTheLowByte) {
  EXPECT_EQ(SplitColor(0x00123456), (Rgb{0x56, 0x34, 0x12}));
  EXPECT_EQ(toQColor(RgbColor(1, 2, 3)), QColor(1, 2, 3));
  EXPECT_EQ(colorRefOf(QColor(1, 2, 3)), RgbColor(1, 2, 3));
}

// --- Skin table and state ---------------------------------------------------------

TEST(SkinTableTest, TwentyNamedSkinsEachWithItsBitmap) {
  ASSERT_EQ(SkinBitmaps().size(), 20u);
  EXPECT_STREQ(SkinTable()[0].name, "Blue Aqua");
  EXPECT_STREQ(SkinTable()[14].name, "Deep Blue Aqua");
  EXPECT_STREQ(SkinTable()[19].name, "Vista Black 2");
  for (const SkinInfo& info : SkinTable()) {
    EXPECT_NE(FindSkinBitmap(info.bitmap), nullptr) << info.bitmap;
  }
  EXPECT_EQ(FindSkinBitmap("aquablue_t"), FindSkinBitmap("AquaBlue_T"));
  EXPECT_EQ(FindSkinBitmap("ZBLUEX")->name, std::string("zBlueX"));
  EXPECT_EQ(FindSkinBitmap("AquaBlue"), nullptr);
}

TEST(SkinTableTest, PixelsAsPublished) {
  struct Probe {
    const char* bitmap;
    int row;
    std::array<std::uint8_t, 3> rgb;
  };
  const Probe probes[] = {
      {"AquaBlue_T", 0, {108, 140, 189}},   {"AquaBlue_T", 28, {44, 125, 210}},
      {"CoronaH_T", 13, {88, 104, 172}},    {"Zr5AquaBlue_T", 27, {164, 137, 250}},
      {"WinXpSilver_T", 2, {255, 255, 255}}, {"WinXpSilver_T", 25, {255, 255, 255}},
      {"WinVista1", 28, {26, 27, 39}},      {"WinVista2", 12, {34, 69, 37}},
      {"WinVista3", 28, {22, 31, 62}},      {"zBlackGreenX", 6, {86, 121, 113}},
      {"Zr1Pink", 20, {238, 209, 240}},     {"zYellowX", 10, {147, 147, 34}},
  };
  for (const Probe& probe : probes) {
    EXPECT_EQ(FindSkinBitmap(probe.bitmap)->rows[probe.row], probe.rgb)
        << probe.bitmap << " row " << probe.row;
  }
}

TEST(SkinStateTest, SamplesOutlineBaseAndShade) {
  SkinState skin;
  skin.load(0);
  EXPECT_EQ(skin.SkinOutlineColor, RgbColor(108, 140, 189));
  EXPECT_EQ(skin.SkinBaseColor, RgbColor(164, 194, 235));
  EXPECT_EQ(skin.SkinShadeColor, RgbColor(114, 178, 245));
  EXPECT_EQ(skin.PhraseListColor, BlendColor(kWhite, skin.SkinBaseColor, 0.3f));
  ASSERT_EQ(skin.bitmap.size(), QSize(1, 29));
  EXPECT_EQ(QColor(skin.bitmap.pixel(0, 10)), QColor(88, 146, 222));

  const SkinPalette p = ComputeSkinPalette(skin);
  EXPECT_EQ(p.windowColor, RgbColor(237, 243, 251));
  EXPECT_EQ(p.clipboardButton, RgbColor(191, 212, 241));
  EXPECT_EQ(p.toolBarTop, p.windowColor);
  EXPECT_EQ(p.toolBarBottom, skin.SkinBaseColor);
  EXPECT_EQ(p.directionBarTop, p.toolBarTop);
  EXPECT_EQ(p.directionBarBottom, p.toolBarBottom);
  EXPECT_EQ(p.relatedList, p.windowColor);
  EXPECT_EQ(p.translationPanel, BlendColor(kWhite, skin.SkinBaseColor, 0.8f));
  EXPECT_EQ(p.relatedPanel, BlendColor(kWhite, skin.SkinBaseColor, 0.95f));
  EXPECT_EQ(p.phrasePanel, skin.SkinBaseColor);
}

TEST(SkinStateTest, FourteenAndIndicesPastTheTableLoadDeepBlue) {
  for (int index : {14, 20, 200, 255, -1}) {
    SkinState skin;
    skin.load(index);
    EXPECT_EQ(skin.index, index);
    EXPECT_EQ(skin.SkinOutlineColor, RgbColor(39, 65, 148)) << index;
    EXPECT_EQ(skin.SkinBaseColor, RgbColor(101, 157, 216)) << index;
    EXPECT_EQ(skin.SkinShadeColor, RgbColor(56, 133, 252)) << index;
  }
  SkinState gray;
  gray.load(15);
  EXPECT_EQ(gray.SkinBaseColor, RgbColor(158, 158, 158));
}

// --- Gradient bands and polylines ---------------------------------------------------

TEST(PaintTest, GradientRowsTruncateTowardZero) {
  const ColorRef top = kWhite;
  const ColorRef bottom = RgbColor(164, 194, 235);
  EXPECT_EQ(GradientRowColor(top, bottom, 0, 32), kWhite);
  // 255 + 1 * (164 - 255) / 32 = 255 - 2 (not - 3, as flooring would give).
  EXPECT_EQ(GradientRowColor(top, bottom, 1, 32), RgbColor(253, 254, 255));
  EXPECT_EQ(GradientRowColor(top, bottom, 31, 32), RgbColor(167, 196, 236));
  // Rising channels truncate downwards.
  EXPECT_EQ(GradientRowColor(RgbColor(0, 0, 0), RgbColor(10, 10, 10), 1, 3), RgbColor(3, 3, 3));
}

TEST(PaintTest, PolylineLeavesOutItsLastPoint) {
  const QPoint line[] = {{0, 0}, {3, 0}, {3, 2}};
  EXPECT_EQ(PolylinePixels(line),
            (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}}));
  const QPoint diagonal[] = {{5, 5}, {3, 7}};
  EXPECT_EQ(PolylinePixels(diagonal), (std::vector<QPoint>{{5, 5}, {4, 6}}));
  // A shallow step half-way goes toward the end.
  const QPoint shallow[] = {{10, 2}, {8, 1}};
  EXPECT_EQ(PolylinePixels(shallow), (std::vector<QPoint>{{10, 2}, {9, 1}}));
  const QPoint single[] = {{1, 1}};
  EXPECT_TRUE(PolylinePixels(single).empty());
}

QImage paintTitle(int width, int height, const SkinState& skin) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  PaintSkinTitle(painter, QRect(0, 0, width, height), skin);
  return image;
}

ColorRef at(const QImage& image, int x, int y) { return colorRefOf(QColor(image.pixel(x, y))); }

TEST(PaintTest, TitleStripPointForPoint) {
  SkinState skin;
  skin.load(0);
  const QImage image = paintTitle(352, 29, skin);
  const ColorRef outline = skin.SkinOutlineColor;
  const ColorRef shade = skin.SkinShadeColor;
  auto row = [&](int y) {
    const auto& p = SkinBitmapFor(0).rows[y];
    return RgbColor(p[0], p[1], p[2]);
  };
  // The bitmap one row to one row inside the outline.
  for (int y = 1; y < 28; ++y) EXPECT_EQ(at(image, 100, y), row(y)) << y;
  // Left edge: outline from row 5 down; the steps of the corner.
  for (int y = 5; y < 29; ++y) EXPECT_EQ(at(image, 0, y), outline) << y;
  EXPECT_EQ(at(image, 0, 4), row(4));
  for (QPoint p : {QPoint(1, 5), QPoint(1, 4), QPoint(1, 3), QPoint(2, 3), QPoint(2, 2),
                   QPoint(3, 2), QPoint(3, 1), QPoint(4, 1), QPoint(5, 1)}) {
    EXPECT_EQ(at(image, p.x(), p.y()), outline) << p.x() << "," << p.y();
  }
  EXPECT_EQ(at(image, 2, 4), row(4));
  EXPECT_EQ(at(image, 4, 2), row(2));
  // Right edge, R = 352.
  for (int y = 5; y < 29; ++y) EXPECT_EQ(at(image, 351, y), outline) << y;
  for (QPoint p : {QPoint(346, 1), QPoint(347, 1), QPoint(348, 1), QPoint(348, 2),
                   QPoint(349, 2), QPoint(349, 3), QPoint(350, 3), QPoint(350, 4),
                   QPoint(350, 5)}) {
    EXPECT_EQ(at(image, p.x(), p.y()), outline) << p.x() << "," << p.y();
  }
  EXPECT_EQ(at(image, 351, 4), row(4));
  EXPECT_EQ(at(image, 349, 4), row(4));
  // Bottom line from L+4 to R-5, shade pixels at both ends.
  for (int x : {4, 100, 347}) EXPECT_EQ(at(image, x, 28), outline) << x;
  for (int x : {1, 2, 3, 348, 349, 350}) EXPECT_EQ(at(image, x, 28), shade) << x;
}

TEST(PaintTest, TallerTitleStripStretchesTheRowsInOrder) {
  SkinState skin;
  skin.load(0);
  const QImage image = paintTitle(100, 31, skin);
  const auto& rows = SkinBitmapFor(0).rows;
  int last = 0;
  for (int y = 1; y < 30; ++y) {
    const ColorRef c = at(image, 50, y);
    int found = -1;
    for (int r = last; r < 29; ++r) {
      if (RgbColor(rows[r][0], rows[r][1], rows[r][2]) == c) {
        found = r;
        break;
      }
    }
    ASSERT_GE(found, last) << "row " << y;
    last = found;
  }
  EXPECT_GE(last, 26);  // rows 26 and 27 share a colour
  // The corners stay rounded only at the top.
  EXPECT_EQ(at(image, 0, 4), RgbColor(rows[3][0], rows[3][1], rows[3][2]));
  EXPECT_EQ(at(image, 0, 30), skin.SkinOutlineColor);
  EXPECT_EQ(at(image, 1, 30), skin.SkinShadeColor);
}

TEST(PaintTest, FrameNtPoints) {
  SkinState skin;
  skin.load(0);
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    PaintSkinFrame(painter, image.rect(), skin);
  }
  const ColorRef outline = skin.SkinOutlineColor;
  const ColorRef shade = skin.SkinShadeColor;
  const ColorRef none = RgbColor(0, 0, 0);
  struct Pixel {
    int x, y;
    ColorRef color;
  };
  const Pixel pixels[] = {
      // Outer: (L,F) down, along the bottom, up the right, last point left out.
      {0, 28, outline}, {0, 99, outline}, {198, 99, outline}, {199, 99, outline},
      {199, 29, outline}, {199, 28, none},
      // Inner: (L+3,F+1), (L+2,F+2) ... (R-3,F+2), (R-5,F+1).
      {3, 29, outline}, {2, 30, outline}, {2, 96, outline}, {2, 97, outline},
      {196, 97, outline}, {197, 97, outline}, {197, 31, outline}, {197, 30, outline},
      {196, 29, outline}, {195, 29, none},
      // Shade: (L+2,F+1), (L+1,F+2) ... (R-2,F+2), (R-4,F); corner pixels.
      {2, 29, shade}, {1, 30, shade}, {1, 98, shade}, {197, 98, shade}, {198, 98, shade},
      {198, 30, shade}, {197, 29, shade}, {196, 28, none}, {1, 29, shade}, {198, 29, shade},
      // Above the border and inside it nothing is drawn.
      {0, 27, none}, {100, 50, none}, {3, 50, none},
  };
  for (const Pixel& p : pixels) {
    EXPECT_EQ(at(image, p.x, p.y), p.color) << p.x << "," << p.y;
  }
}

// --- Windows ----------------------------------------------------------------------

TEST(WindowShapeTest, OnlyTheTopCornersAreRounded) {
  const QRegion region = RoundedWindowRegion(352, 424, 19);
  // Row 0 runs from 5 to 346, as the title outline's top edge does.
  EXPECT_FALSE(region.contains(QPoint(4, 0)));
  EXPECT_TRUE(region.contains(QPoint(5, 0)));
  EXPECT_TRUE(region.contains(QPoint(346, 0)));
  EXPECT_FALSE(region.contains(QPoint(347, 0)));
  EXPECT_FALSE(region.contains(QPoint(2, 1)));
  EXPECT_TRUE(region.contains(QPoint(3, 1)));
  EXPECT_TRUE(region.contains(QPoint(348, 1)));
  EXPECT_FALSE(region.contains(QPoint(349, 1)));
  EXPECT_FALSE(region.contains(QPoint(0, 4)));
  EXPECT_TRUE(region.contains(QPoint(0, 5)));
  EXPECT_TRUE(region.contains(QPoint(351, 5)));
  EXPECT_FALSE(region.contains(QPoint(352, 5)));
  // Square below: the region reaches past the window's bottom edge.
  EXPECT_TRUE(region.contains(QPoint(0, 441)));
  EXPECT_TRUE(region.contains(QPoint(351, 441)));
  EXPECT_FALSE(region.contains(QPoint(0, 442)));
}

TEST(WindowShapeTest, OpacityFollowsTheLowByte) {
  QWidget window;
  EXPECT_EQ(OpacityOf(&window), 255);
  SetOpacity(&window, 200);
  EXPECT_EQ(OpacityOf(&window), 200);
  EXPECT_NEAR(window.windowOpacity(), 200 / 255.0, 0.01);
  SetOpacity(&window, 255);
  EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
  SetOpacity(&window, 20);
  EXPECT_NEAR(window.windowOpacity(), 20 / 255.0, 0.01);
  SetOpacity(&window, 511);  // low 8 bits 255: opaque
  EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
  EXPECT_EQ(OpacityOf(&window), 511);
}

TEST(FontTest, FourteenPixelsHighFitsTheLine) {
  const QFont font = AppFont(14);
  EXPECT_LE(QFontMetrics(font).height(), 14);
  EXPECT_GE(QFontMetrics(font).height(), 13);
  EXPECT_TRUE(AppFont(16, true).bold());
}

// --- Glyphs -------------------------------------------------------------------------

TEST(GlyphTest, NineImagesWithWhiteTransparent) {
  for (int i = 0; i < kGlyphImageCount; ++i) {
    EXPECT_EQ(GlyphPixmap(i).size(), QSize(16, 16)) << i;
  }
  EXPECT_TRUE(GlyphPixmap(9).isNull());
  // The close glyph's cross is see-through at rest and under the mouse, and
  // drawn when pressed; the square around it is red.
  const QImage rest = GlyphPixmap(kImageClose).toImage();
  const QImage hot = GlyphPixmap(kImageCloseHot).toImage();
  const QImage pressed = GlyphPixmap(kImageClosePressed).toImage();
  EXPECT_EQ(qAlpha(rest.pixel(7, 7)), 0);
  EXPECT_EQ(qAlpha(hot.pixel(4, 4)), 0);
  EXPECT_EQ(qAlpha(pressed.pixel(7, 7)), 255);
  EXPECT_EQ(qAlpha(rest.pixel(0, 0)), 0);  // outside the 14 x 14 square
  const QColor red = rest.pixelColor(7, 3);
  EXPECT_GT(red.red(), 2 * red.green());
  EXPECT_GT(hot.pixelColor(7, 3).lightness(), red.lightness());
  EXPECT_LT(pressed.pixelColor(7, 3).lightness(), red.lightness());
  for (const char* name : {"BTNADD_BITMAP", "BTNINFO_BITMAP", "BTNQUESTION_BITMAP",
                           "BTNSETTING_BITMAP", "BBCLIPBOARD_BITMAP", "BTNFIND_BITMAP",
                           "BBADD_BITMAP", "BBREL_BITMAP"}) {
    EXPECT_EQ(ButtonBitmap(name).size(), QSize(16, 16)) << name;
  }
  EXPECT_EQ(ProgramIconPixmap().size(), QSize(32, 32));
}

// Pressing the close glyph, moving off and releasing elsewhere closes
// nothing; pointing at it again shows it pressed (the flag stays). A press
// and release on it closes the window.
TEST(GlyphTest, CloseGlyphPressLeaveRelease) {
  QWidget window;
  window.resize(100, 40);
  QWidget strip(&window);
  strip.setGeometry(0, 0, 100, 29);
  GlyphButton* glyph = CreateCloseGlyph(&strip);
  glyph->move(70, 7);
  window.show();
  QSignalSpy activated(glyph, &GlyphButton::activated);
  EXPECT_EQ(glyph->shownImage(), kImageClose);

  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  QTest::mouseMove(glyph, QPoint(-30, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClose);
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(-30, 8));
  EXPECT_EQ(activated.count(), 0);
  EXPECT_TRUE(glyph->isPressed());
  QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), QPointF(78, 15));
  QApplication::sendEvent(glyph, &enter);
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(glyph, &leave);
  EXPECT_EQ(glyph->shownImage(), kImageClose);

  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(activated.count(), 1);
  EXPECT_EQ(glyph->shownImage(), kImageClose);
  QCoreApplication::sendPostedEvents(&window, QEvent::MetaCall);
  EXPECT_FALSE(window.isVisible());
}

TEST(GlyphTest, HotImageWhileNotPressed) {
  QWidget strip;
  GlyphButton glyph(kImageMinimize, kImageMinimizeHot, kImageMinimizePressed, &strip);
  QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), QPointF(8, 8));
  QApplication::sendEvent(&glyph, &enter);
  EXPECT_EQ(glyph.shownImage(), kImageMinimizeHot);
  glyph.clearPressed();
  glyph.setRestImage(kImageFullMode);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&glyph, &leave);
  EXPECT_EQ(glyph.shownImage(), kImageFullMode);
}

}  // namespace
}  // namespace tavro2
