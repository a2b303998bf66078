// Skins: the skin table, window shape, opacity and the close glyph.
#include "skin/skin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <tuple>

#include "skin/image_list.h"
#include "skin/skin_widgets.h"

namespace tavro2 {
namespace {

TEST(SkinTableTest, EveryNamedSkinHasItsBitmapAndStrangeIndicesLoadDeepBlue) {
  ASSERT_EQ(skinBitmaps().size(), 20u);
  for (const SkinInfo& info : skinTable()) EXPECT_NE(findSkinBitmap(info.bitmap), nullptr);
  EXPECT_EQ(findSkinBitmap("aquablue_t"), findSkinBitmap("AquaBlue_T"));
  EXPECT_EQ(findSkinBitmap("AquaBlue"), nullptr);
  SkinState deepBlue;
  deepBlue.load(14);
  for (int index : {20, 200, 255, -1}) {
    SkinState skin;
    skin.load(index);
    EXPECT_EQ(std::tuple(skin.index, skin.skinBaseColor, skin.bitmap.pixel(0, 10)),
              std::tuple(index, deepBlue.skinBaseColor, deepBlue.bitmap.pixel(0, 10)));
  }
}

// Every text of every skin reads at 4.5:1 against what is behind it, and so
// do the markers' colours, deepened on the lists and panes; the rule itself
// keeps a colour that reads and picks the better of black and white.
TEST(ContrastTest, EveryTextOfEverySkinReads) {
  EXPECT_NEAR(contrastRatio(kBlack, kWhite), 21.0, 1e-9);
  EXPECT_EQ(readableOn(kWhite, kNavy), kNavy);
  EXPECT_EQ(readableOn(rgbColor(30, 30, 90), kBlack), kWhite);
  EXPECT_EQ(readableOn(kWhite, rgbColor(20, 20, 20), kWhite), kBlack);  // a band: both ends
  const ColorRef markers[] = {rgbColor(0, 0, 255), rgbColor(128, 0, 0),   rgbColor(0, 128, 0),
                              rgbColor(255, 0, 0), rgbColor(255, 0, 255), rgbColor(0, 128, 128)};
  EXPECT_EQ(readableHue(markers[0], kWhite), markers[0]);  // already reads: kept
  for (int index = 0; index < kSkinCount; ++index) {
    SkinState skin;
    skin.load(index);
    for (const TextOnSkin& t : skinTexts(skin)) {
      EXPECT_GE(worstContrast(t.text, t.top, t.bottom), kReadableContrast)
          << skinTable()[index].name << ": " << t.where;
    }
    const SkinPalette p = computeSkinPalette(skin);
    for (ColorRef pane : {p.translationPane, p.relatedTranslationPane})
      for (ColorRef marker : markers)
        EXPECT_GE(contrastRatio(readableHue(marker, pane), pane), kReadableContrast)
            << skinTable()[index].name;
  }
}

// The twice-sized glyphs: each exactly twice its original, in the
// original's colours only (white stays the mask); at scale 1 the originals.
TEST(GlyphTest, TwiceSizedPicturesMatchTheirOriginals) {
  const char* names[] = {"F1_IMAGELIST1",      "BTNADD_BITMAP",     "BTNINFO_BITMAP",
                         "BTNQUESTION_BITMAP", "BTNSETTING_BITMAP", "BBCLIPBOARD_BITMAP",
                         "BTNFIND_BITMAP",     "BBADD_BITMAP",      "BBREL_BITMAP"};
  ASSERT_FALSE(buttonBitmap("BTNFIND_BITMAP").isNull());  // the resources are in
  EXPECT_EQ(buttonBitmap("BTNFIND_BITMAP").devicePixelRatio(), 1.0);
  for (const char* name : names) {
    const QImage one(QStringLiteral(":/%1.png").arg(name));
    const QImage two(QStringLiteral(":/%1@2x.png").arg(name));
    ASSERT_EQ(two.size(), one.size() * 2) << name;
    QSet<QRgb> colors;
    for (int y = 0; y < one.height(); ++y)
      for (int x = 0; x < one.width(); ++x) colors.insert(one.pixel(x, y));
    for (int y = 0; y < two.height(); ++y)
      for (int x = 0; x < two.width(); ++x)
        ASSERT_TRUE(colors.contains(two.pixel(x, y))) << name << " " << x << "," << y;
  }
}

TEST(WindowShapeTest, OnlyTheTopCornersAreRounded) {
  const QRegion region = roundedWindowRegion(352, 424, 19);
  for (QPoint p : {QPoint(5, 0), QPoint(346, 0), QPoint(0, 5), QPoint(351, 5), QPoint(351, 441)})
    EXPECT_TRUE(region.contains(p)) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(4, 0), QPoint(347, 0), QPoint(0, 4), QPoint(352, 5), QPoint(0, 442)})
    EXPECT_FALSE(region.contains(p)) << p.x() << "," << p.y();
  QWidget window;  // opacity follows the low byte
  EXPECT_EQ(opacityOf(&window), 255);
  for (int alpha : {200, 255, 20, 511}) {  // 511's low 8 bits are 255: opaque
    setOpacity(&window, alpha);
    EXPECT_EQ(opacityOf(&window), alpha);
    EXPECT_NEAR(window.windowOpacity(), (alpha & 0xFF) / 255.0, (alpha & 0xFF) == 255 ? 0 : 0.01);
  }
}

// Press, move off and release elsewhere closes nothing and keeps the pressed
// flag, so coming back shows the glyph pressed (a click: the main window's test).
TEST(GlyphTest, CloseGlyphPressLeaveRelease) {
  QWidget window;
  window.resize(100, 40);
  GlyphButton* glyph = createCloseGlyph(&window);
  glyph->move(70, 7);
  window.show();
  QSignalSpy activated(glyph, &GlyphButton::activated);
  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  QTest::mouseMove(glyph, QPoint(-30, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClose);
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(-30, 8));
  EXPECT_TRUE(activated.isEmpty() && glyph->isPressed());
  QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), QPointF(78, 15));
  QApplication::sendEvent(glyph, &enter);
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
}

}  // namespace
}  // namespace tavro2
