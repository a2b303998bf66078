#include "ui/about_box.h"

#include <QDir>

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

// The last line credits the data's sources; its link opens the notice
// beside the data, or the installed one.
TEST(AboutBoxTest, CreditsTheDictionaryDataAndOpensItsNotice) {
  test::TempDir dir;
  DictionaryStore store;
  SkinState skin;
  for (const bool beside : {false, true}) {
    if (beside) test::writeFile(dir.file("DATA-NOTICE"), "sources\n");
    AboutBox box(store, dir.path(), &skin);
    auto* credits = child<QLabel>(box, "dataCredits");
    EXPECT_TRUE(credits->text().startsWith("Dictionary data: FreeDict, WordNet, Wordnet Bahasa - "));
    const QString want = beside ? QString::fromStdString(dir.file("DATA-NOTICE"))
                                : QDir::cleanPath(QString::fromStdString(dir.path()) +
                                                  "/../share/tavro2/DATA-NOTICE");
    UrlCatcher catcher;
    const QString href = credits->text().section('"', 1, 1);
    emit credits->linkActivated(href);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toLocalFile(), want);
    EXPECT_LE(credits->geometry().bottom(), box.height());
  }
}

}  // namespace
}  // namespace tavro2
