#include "ui/about_box.h"

#include "engine/dictionary_store.h"
#include "skin/skin_widgets.h"
#include "ui/program_names.h"
#include "ui_test_util.h"

namespace tavro2 {
namespace {

using test::child;
using test::UrlCatcher;

TEST(AboutBoxTest, NamesTheProgramOpensTheLinkAndCloses) {
  test::TempDir dir;
  DictionaryStore store;
  SkinState skin;
  AboutBox box(store, dir.path(), &skin, nullptr, QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(std::tuple(child<ShadowLabel>(box, "product")->text(),
                       child<QLabel>(box, "link")->text()),
            std::tuple("Tavro 2.04", kMakerWebAddress));
  box.show();
  auto* link = child<LinkLabel>(box, "link");
  UrlCatcher catcher(QUrl(kMakerWebAddress).scheme());
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl(kMakerWebAddress)});
  QTest::mouseClick(child(box, "closeGlyph"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(box.isVisible());
}

}  // namespace
}  // namespace tavro2
