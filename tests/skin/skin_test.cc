// Skins: colour arithmetic, the skin table, title-strip and frame painting
// checked pixel by pixel, window shape, opacity and the glyphs.
#include "skin/skin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <tuple>

#include "skin/image_list.h"
#include "skin/skin_widgets.h"

namespace tavro2 {
namespace {

TEST(BlendColorTest, Rows) {
  const ColorRef a = rgbColor(10, 20, 30), b = rgbColor(200, 100, 50);
  const ColorRef skin0Base = rgbColor(164, 194, 235);
  const struct {
    ColorRef a, b;
    float t;
    ColorRef expected;
  } rows[] = {
      {a, b, 0.0f, a},   {a, b, 1.0f, b}, {a, b, 1.5f, b},
      {a, b, -0.5f, a},  {a, b, std::nanf(""), a},
      // Halves go to the even neighbour: 191.5 -> 192, 0.5 -> 0, 2.5 -> 2, 1.5 -> 2.
      {kWhite, rgbColor(128, 128, 128), 0.5f, rgbColor(192, 192, 192)},
      {rgbColor(0, 2, 1), rgbColor(1, 3, 2), 0.5f, rgbColor(0, 2, 2)},
      {rgbColor(0, 0, 0), rgbColor(5, 3, 1), 0.5f, rgbColor(2, 2, 0)},
      // Single-precision factors of skin 0's colours.
      {kWhite, skin0Base, 0.2f, rgbColor(237, 243, 251)},
      {kWhite, skin0Base, 0.7f, rgbColor(191, 212, 241)},
      {kWhite, skin0Base, 0.1f, rgbColor(246, 249, 253)},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(blendColor(row.a, row.b, row.t), row.expected)
        << std::hex << row.a << " " << row.b << " t=" << row.t;
  }
  EXPECT_EQ(splitColor(0x00123456), (Rgb{0x56, 0x34, 0x12}));  // red in the low byte
  EXPECT_EQ(toQColor(rgbColor(1, 2, 3)), QColor(1, 2, 3));
}

TEST(SkinTableTest, TwentyNamedSkinsWithTheirPixels) {
  ASSERT_EQ(skinBitmaps().size(), 20u);
  EXPECT_EQ(std::tuple(std::string(skinTable()[0].name), std::string(skinTable()[14].name),
                       std::string(skinTable()[19].name)),
            std::tuple("Blue Aqua", "Deep Blue Aqua", "Vista Black 2"));
  for (const SkinInfo& info : skinTable()) EXPECT_NE(findSkinBitmap(info.bitmap), nullptr);
  EXPECT_EQ(findSkinBitmap("aquablue_t"), findSkinBitmap("AquaBlue_T"));
  EXPECT_EQ(findSkinBitmap("AquaBlue"), nullptr);
  const struct {
    const char* bitmap;
    int row;
    std::array<std::uint8_t, 3> rgb;
  } probes[] = {
      {"AquaBlue_T", 0, {108, 140, 189}}, {"AquaBlue_T", 28, {44, 125, 210}},
      {"CoronaH_T", 13, {88, 104, 172}},  {"Zr5AquaBlue_T", 27, {164, 137, 250}},
      {"WinVista3", 28, {22, 31, 62}},    {"zBlackGreenX", 6, {86, 121, 113}},
  };
  for (const auto& [bitmap, row, rgb] : probes) {
    EXPECT_EQ(findSkinBitmap(bitmap)->rows[row], rgb) << bitmap;
  }
}

TEST(SkinStateTest, SkinZeroSamplesAndPalette) {
  SkinState skin;
  skin.load(0);
  const ColorRef base = rgbColor(164, 194, 235);
  EXPECT_EQ(std::tuple(skin.skinOutlineColor, skin.skinBaseColor, skin.skinShadeColor),
            std::tuple(rgbColor(108, 140, 189), base, rgbColor(114, 178, 245)));
  EXPECT_EQ(std::tuple(skin.phraseListColor, skin.bitmap.size(),
                       QColor(skin.bitmap.pixel(0, 10))),
            std::tuple(blendColor(kWhite, base, 0.3f), QSize(1, 29), QColor(88, 146, 222)));
  const SkinPalette p = computeSkinPalette(skin);
  const ColorRef light = rgbColor(237, 243, 251);
  EXPECT_EQ(std::tuple(p.windowColor, p.toolBarTop, p.directionBarTop, p.relatedList),
            std::tuple(light, light, light, light));
  EXPECT_EQ(std::tuple(p.toolBarBottom, p.directionBarBottom, p.phrasePanel),
            std::tuple(base, base, base));
  EXPECT_EQ(std::tuple(p.clipboardButton, p.translationPanel, p.relatedPanel),
            std::tuple(rgbColor(191, 212, 241), blendColor(kWhite, base, 0.8f),
                       blendColor(kWhite, base, 0.95f)));
}

TEST(SkinStateTest, FourteenAndIndicesPastTheTableLoadDeepBlue) {
  for (int index : {14, 20, 200, 255, -1}) {
    SkinState skin;
    skin.load(index);
    EXPECT_EQ(
        std::tuple(skin.index, skin.skinOutlineColor, skin.skinBaseColor, skin.skinShadeColor),
        std::tuple(index, rgbColor(39, 65, 148), rgbColor(101, 157, 216), rgbColor(56, 133, 252)));
  }
  SkinState gray;
  gray.load(15);
  EXPECT_EQ(gray.skinBaseColor, rgbColor(158, 158, 158));
}

TEST(PaintTest, GradientRowsAndPolylines) {
  const ColorRef bottom = rgbColor(164, 194, 235);
  // 255 + 1 * (164 - 255) / 32 = 255 - 2 (flooring would give - 3).
  EXPECT_EQ(std::tuple(gradientRowColor(kWhite, bottom, 0, 32),
                       gradientRowColor(kWhite, bottom, 1, 32),
                       gradientRowColor(kWhite, bottom, 31, 32),
                       gradientRowColor(rgbColor(0, 0, 0), rgbColor(10, 10, 10), 1, 3)),
            std::tuple(kWhite, rgbColor(253, 254, 255), rgbColor(167, 196, 236),
                       rgbColor(3, 3, 3)));
  // A polyline leaves out its last point; a shallow half step goes toward the end.
  const QPoint line[] = {{0, 0}, {3, 0}, {3, 2}}, diagonal[] = {{5, 5}, {3, 7}},
               shallow[] = {{10, 2}, {8, 1}}, single[] = {{1, 1}};
  using Points = std::vector<QPoint>;
  EXPECT_EQ(std::tuple(polylinePixels(line), polylinePixels(diagonal), polylinePixels(shallow),
                       polylinePixels(single)),
            std::tuple(Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}}, Points{{5, 5}, {4, 6}},
                       Points{{10, 2}, {9, 1}}, Points{}));
}

class SkinPaintTest : public ::testing::Test {
 protected:
  void SetUp() override { skin_.load(0); }

  QImage paint(int width, int height, void (*painter)(QPainter&, const QRect&, const SkinState&)) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    painter(p, image.rect(), skin_);
    return image;
  }
  static ColorRef row(int y) {
    const auto& p = skinBitmapFor(0).rows[y];
    return rgbColor(p[0], p[1], p[2]);
  }
  // Expects `color` at every point of `xy` (x, y pairs).
  static void expectAll(const QImage& image, ColorRef color, std::initializer_list<int> xy) {
    for (const int* p = xy.begin(); p + 1 < xy.end(); p += 2) {
      EXPECT_EQ(colorRefOf(image.pixelColor(p[0], p[1])), color) << p[0] << "," << p[1];
    }
  }

  SkinState skin_;
};

TEST_F(SkinPaintTest, TitleStripPointForPoint) {
  const QImage image = paint(352, 29, paintSkinTitle);
  const ColorRef outline = skin_.skinOutlineColor;
  // Bitmap rows one to one inside the outline; the outline down both sides from row 5.
  for (int y = 1; y < 28; ++y) expectAll(image, row(y), {100, y});
  for (int y = 5; y < 29; ++y) expectAll(image, outline, {0, y, 351, y});
  // The steps of the corners.
  expectAll(image, outline,
            {1,   5, 1,   4, 1,   3, 2,   3, 2,   2, 3,   2, 3,   1, 4,   1, 5,   1,
             346, 1, 347, 1, 348, 1, 348, 2, 349, 2, 349, 3, 350, 3, 350, 4, 350, 5});
  expectAll(image, row(4), {0, 4, 2, 4, 351, 4, 349, 4});
  expectAll(image, row(2), {4, 2});
  // Bottom line from L+4 to R-5, shade pixels at both ends.
  expectAll(image, outline, {4, 28, 100, 28, 347, 28});
  expectAll(image, skin_.skinShadeColor, {1, 28, 2, 28, 3, 28, 348, 28, 349, 28, 350, 28});
}

TEST_F(SkinPaintTest, FrameNtPoints) {
  const QImage image = paint(200, 100, paintSkinFrame);
  // Outer: (L,F) down, along the bottom, up the right, last point left out.
  // Inner: (L+3,F+1), (L+2,F+2) ... (R-3,F+2), (R-5,F+1).
  expectAll(image, skin_.skinOutlineColor,
            {0, 28, 0, 99, 198, 99, 199, 99, 199, 29, 3,   29, 2,   30,
             2, 96, 2, 97, 196, 97, 197, 97, 197, 31, 197, 30, 196, 29});
  // Shade: (L+2,F+1), (L+1,F+2) ... (R-2,F+2), (R-4,F); corner pixels.
  expectAll(image, skin_.skinShadeColor,
            {2, 29, 1, 30, 1, 98, 197, 98, 198, 98, 198, 30, 197, 29, 1, 29, 198, 29});
  // Above the border, past the polylines' ends and inside nothing is drawn.
  expectAll(image, rgbColor(0, 0, 0), {199, 28, 195, 29, 196, 28, 0, 27, 100, 50, 3, 50});
}

TEST(WindowShapeTest, OnlyTheTopCornersAreRounded) {
  const QRegion region = roundedWindowRegion(352, 424, 19);
  // Row 0 runs from 5 to 346 like the title outline; square below, past the bottom edge.
  for (QPoint p : {QPoint(5, 0), QPoint(346, 0), QPoint(3, 1), QPoint(348, 1), QPoint(0, 5),
                   QPoint(351, 5), QPoint(0, 441), QPoint(351, 441)}) {
    EXPECT_TRUE(region.contains(p)) << p.x() << "," << p.y();
  }
  for (QPoint p : {QPoint(4, 0), QPoint(347, 0), QPoint(2, 1), QPoint(349, 1), QPoint(0, 4),
                   QPoint(352, 5), QPoint(0, 442)}) {
    EXPECT_FALSE(region.contains(p)) << p.x() << "," << p.y();
  }
}

TEST(WindowShapeTest, OpacityFollowsTheLowByte) {
  QWidget window;
  EXPECT_EQ(opacityOf(&window), 255);
  for (int alpha : {200, 255, 20, 511}) {  // 511's low 8 bits are 255: opaque
    setOpacity(&window, alpha);
    EXPECT_EQ(opacityOf(&window), alpha);
    EXPECT_NEAR(window.windowOpacity(), (alpha & 0xFF) / 255.0, (alpha & 0xFF) == 255 ? 0 : 0.01);
  }
}

TEST(FontTest, FourteenPixelsHighFitsTheLine) {
  const int height = QFontMetrics(appFont(14)).height();
  EXPECT_TRUE(height == 13 || height == 14) << height;
  EXPECT_TRUE(appFont(16, true).bold());
}

TEST(GlyphTest, NineImagesWithWhiteTransparent) {
  for (int i = 0; i < kGlyphImageCount; ++i) EXPECT_EQ(glyphPixmap(i).size(), QSize(16, 16)) << i;
  EXPECT_TRUE(glyphPixmap(9).isNull());
  // The close cross is see-through at rest and hot, drawn when pressed; its square is red.
  const QImage rest = glyphPixmap(kImageClose).toImage();
  const QImage hot = glyphPixmap(kImageCloseHot).toImage();
  const QImage pressed = glyphPixmap(kImageClosePressed).toImage();
  EXPECT_EQ(std::tuple(qAlpha(rest.pixel(7, 7)), qAlpha(hot.pixel(4, 4)),
                       qAlpha(pressed.pixel(7, 7)), qAlpha(rest.pixel(0, 0))),
            std::tuple(0, 0, 255, 0));  // (0, 0) is outside the 14 x 14 square
  const QColor red = rest.pixelColor(7, 3);
  EXPECT_GT(red.red(), 2 * red.green());
  EXPECT_GT(hot.pixelColor(7, 3).lightness(), red.lightness());
  EXPECT_LT(pressed.pixelColor(7, 3).lightness(), red.lightness());
  for (const char* name : {"BTNADD_BITMAP", "BTNINFO_BITMAP", "BTNQUESTION_BITMAP",
                           "BTNSETTING_BITMAP", "BBCLIPBOARD_BITMAP", "BTNFIND_BITMAP",
                           "BBADD_BITMAP", "BBREL_BITMAP"}) {
    EXPECT_EQ(buttonBitmap(name).size(), QSize(16, 16)) << name;
  }
  EXPECT_EQ(programIconPixmap().size(), QSize(32, 32));
}

void sendEnter(QWidget* widget, QPointF global) {
  QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), global);
  QApplication::sendEvent(widget, &enter);
}
void sendLeave(QWidget* widget) {
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(widget, &leave);
}

// Press, move off and release elsewhere closes nothing and keeps the pressed
// flag; a press and release on the glyph closes the window.
TEST(GlyphTest, CloseGlyphPressLeaveRelease) {
  QWidget window;
  window.resize(100, 40);
  QWidget strip(&window);
  strip.setGeometry(0, 0, 100, 29);
  GlyphButton* glyph = createCloseGlyph(&strip);
  glyph->move(70, 7);
  window.show();
  QSignalSpy activated(glyph, &GlyphButton::activated);
  EXPECT_EQ(glyph->shownImage(), kImageClose);

  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  QTest::mouseMove(glyph, QPoint(-30, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClose);
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(-30, 8));
  EXPECT_TRUE(activated.isEmpty() && glyph->isPressed());
  sendEnter(glyph, QPointF(78, 15));
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  sendLeave(glyph);
  EXPECT_EQ(glyph->shownImage(), kImageClose);

  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(std::tuple(activated.count(), glyph->shownImage()), std::tuple(1, kImageClose));
  QCoreApplication::sendPostedEvents(&window, QEvent::MetaCall);
  EXPECT_FALSE(window.isVisible());

}

}  // namespace
}  // namespace tavro2
