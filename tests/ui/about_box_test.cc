#include "ui/about_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <string>

#include "engine/dictionary_store.h"
#include "test_util.h"
#include "ui/main_window.h"
#include "ui/skin.h"
#include "ui/skin_widgets.h"

namespace tavro2 {
namespace {

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.append(url); }
};

WordList linesOf(int count, const std::string& stem) {
  std::string text;
  for (int i = 0; i < count; ++i) text += stem + std::to_string(i) + "\r\n";
  return SplitLines(std::move(text));
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void publishEnglish(int count) {
    store_.publish(DataKind::kEnglish, linesOf(count, "w"), linesOf(count, "t"),
                   LoadState::kLoaded);
  }

  template <typename T>
  static T* child(QWidget& box, const char* name) {
    T* widget = box.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  test::TempDir dir_;
  DictionaryStore store_;
  SkinState skin_;
  const QLocale english_{QLocale::English, QLocale::UnitedStates};
};

TEST_F(AboutBoxTest, StatisticsShowCountsAndDates) {
  publishEnglish(12345);
  test::writeDataFile(dir_.file("dataen.dat"), {"a"}, {"b"});  // dated 1 January 2009
  test::writeFile(dir_.file("datapr.dat"), "short");           // too short for a date
  EXPECT_EQ(AboutStatisticsText(store_, dir_.path(), english_),
            "English-Indonesian : 12,345 [01 Jan 09]\n"
            "Indonesian-English : 0 [-]\n"
            "Phrase : 0 [-]");
  AboutBox box(store_, dir_.path(), &skin_, nullptr, english_);
  EXPECT_EQ(box.statisticsText().section('\n', 0, 0), "English-Indonesian : 12,345 [01 Jan 09]");
}

TEST_F(AboutBoxTest, MonthNamesComeFromTheLocale) {
  test::writeDataFile(dir_.file("dataid.dat"), {"a"}, {"b"});
  const QString text = AboutStatisticsText(store_, dir_.path(), QLocale(QLocale::French));
  const QString expected = "Indonesian-English : 0 [" +
                           QLocale(QLocale::French).toString(QDate(2009, 1, 1), "dd MMM yy") + "]";
  EXPECT_EQ(text.section('\n', 1, 1), expected);
  EXPECT_NE(expected, "Indonesian-English : 0 [01 Jan 09]");
}

TEST_F(AboutBoxTest, ReopeningShowsTheCountsOfThatMoment) {
  AboutBox early(store_, dir_.path(), &skin_, nullptr, english_);
  EXPECT_TRUE(early.statisticsText().startsWith("English-Indonesian : 0 [-]"));
  publishEnglish(999);
  AboutBox later(store_, dir_.path(), &skin_, nullptr, english_);
  EXPECT_TRUE(later.statisticsText().startsWith("English-Indonesian : 999 [-]"));
}

TEST_F(AboutBoxTest, ShowsItsTexts) {
  AboutBox box(store_, dir_.path(), &skin_, nullptr, english_);
  EXPECT_EQ(box.size(), QSize(313, 217));
  EXPECT_EQ(child<ShadowLabel>(box, "titleText")->text(), "About Tavro");
  EXPECT_EQ(child<ShadowLabel>(box, "product")->text(), "Tavro 2.04");
  EXPECT_EQ(child<QLabel>(box, "freeware")->text(), "Freeware");
  EXPECT_FALSE(child<QLabel>(box, "freeware")->isEnabled());
  EXPECT_EQ(child<QLabel>(box, "description")->text(),
            "An English-Indonesian and Indonesian-English dictionary. Small, Simple, Easy and "
            "Fast  :)");
  EXPECT_EQ(child<QLabel>(box, "link")->text(), kMakerWebAddress);
}

TEST_F(AboutBoxTest, LinkReactsToThePointerAndOpensThePage) {
  AboutBox box(store_, dir_.path(), &skin_, nullptr, english_);
  box.show();
  auto* link = child<LinkLabel>(box, "link");
  auto looks = [link] {
    return std::make_tuple(link->font().bold(), link->font().underline(),
                           link->palette().color(QPalette::WindowText));
  };
  EXPECT_EQ(looks(), std::make_tuple(true, false, QColor(0, 0, 0)));
  for (int round = 0; round < 2; ++round) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(link, &enter);
    EXPECT_EQ(looks(), std::make_tuple(true, true, QColor(0, 0, 255)));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    EXPECT_EQ(looks(), std::make_tuple(true, false, QColor(0, 0, 0)));
  }

  UrlCatcher catcher;
  const QString scheme = QUrl(kMakerWebAddress).scheme();
  QDesktopServices::setUrlHandler(scheme, &catcher, "open");
  QTest::mouseClick(link, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(scheme);
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened[0], QUrl(kMakerWebAddress));
}

TEST_F(AboutBoxTest, TakesTheSkinsColoursWhenShown) {
  AboutBox box(store_, dir_.path(), &skin_, nullptr, english_);
  skin_.load(14);
  box.show();
  auto* body = child<GradientPanel>(box, "body");
  EXPECT_EQ(body->topColor(), kWhite);
  EXPECT_EQ(body->bottomColor(), skin_.SkinBaseColor);
  QTest::mouseClick(child<QWidget>(box, "closeGlyph"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(box.isVisible());
}

// The main window's about button shows the box modally with the counts of
// the window's store and the dates of the files in its directory.
TEST(AboutFromMainWindowTest, ShowsTheWindowsData) {
  test::TempDir dir;
  test::writeDataFile(dir.file("dataen.dat"), {"a"}, {"b"});
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
