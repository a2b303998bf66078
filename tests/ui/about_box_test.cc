#include "ui/about_box.h"

#include "engine/dictionary_store.h"
#include "skin/skin_widgets.h"
#include "ui/program_names.h"
#include "ui_test_util.h"

namespace tavro2 {
namespace {

using test::child;
using test::UrlCatcher;

TEST(AboutBoxTest, NamesTheProgramTakesTheSkinOpensTheLinkAndCloses) {
  test::TempDir dir;
  DictionaryStore store;
  SkinState skin;
  AboutBox box(store, dir.path(), &skin, nullptr, QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(std::tuple(child<ShadowLabel>(box, "product")->text(),
                       child<QLabel>(box, "link")->text()),
            std::tuple("Tavro 2.04", kMakerWebAddress));
  skin.load(14);
  box.show();
  EXPECT_EQ(child<GradientPanel>(box, "body")->bottomColor(), skin.skinBaseColor);
  auto* link = child<LinkLabel>(box, "link");
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(link, &enter);
  EXPECT_TRUE(link->font().underline());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(link, &leave);
  EXPECT_FALSE(link->font().underline());
  UrlCatcher catcher(QUrl(kMakerWebAddress).scheme());
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl(kMakerWebAddress)});
  QTest::mouseClick(child(box, "closeGlyph"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(box.isVisible());
}

}  // namespace
}  // namespace tavro2
