#include "ui/about_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <tuple>

#include "engine/dictionary_store.h"
#include "test_util.h"
#include "ui_test_util.h"
#include "ui/main_window.h"
#include "ui/program_names.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"

namespace tavro2 {
namespace {

using test::child;
using test::UrlCatcher;

class AboutBoxTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  DictionaryStore store_;
  SkinState skin_;
  const QLocale english_{QLocale::English, QLocale::UnitedStates};
};

TEST_F(AboutBoxTest, NamesTheProgramTakesTheSkinAndCloses) {
  AboutBox box(store_, dir_.path(), &skin_, nullptr, english_);
  EXPECT_EQ(std::tuple(child<ShadowLabel>(box, "product")->text(),
                       child<QLabel>(box, "link")->text()),
            std::tuple("Tavro 2.04", kMakerWebAddress));
  skin_.load(14);
  box.show();
  EXPECT_EQ(child<GradientPanel>(box, "body")->bottomColor(), skin_.skinBaseColor);
  QTest::mouseClick(child(box, "closeGlyph"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutBoxTest, LinkReactsToThePointerAndOpensThePage) {
  AboutBox box(store_, dir_.path(), &skin_, nullptr, english_);
  box.show();
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
}

// The main window's about button shows its store's counts and its files' dates.
TEST(AboutFromMainWindowTest, ShowsTheWindowsData) {
  test::TempDir dir;
  test::writeEntries(dir.file("dataen.dat"), {"a"}, {"b"});
  MainWindow window(dir.path());  // not shown, so nothing is loaded yet
  QString text;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->statisticsText();
    box->reject();
  });
  window.findChild<QAbstractButton*>("aboutButton")->click();
  const QString date = QLocale::system().toString(QDate(2009, 1, 1), "dd MMM yy");
  EXPECT_EQ(text,
            "English-Indonesian : 0 [" + date + "]\nIndonesian-English : 0 [-]\nPhrase : 0 [-]");
  EXPECT_EQ(window.findChild<AboutBox*>(), nullptr);
}

}  // namespace
}  // namespace tavro2

#include "about_box_test.moc"
