// The history window; the slide timer is driven by calling its tick.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

#include "fake_history_host.h"
#include "ui/history_window.h"
#include "skin/skin_widgets.h"

namespace tavro2::test {
namespace {

using Texts = std::vector<std::string>;

Texts numbered(int count) {
  Texts out;
  for (int i = 1; i <= count; ++i) out.push_back("w" + std::to_string(i));
  return out;
}

void sendMouse(QWidget* to, QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, to->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(to, &event);
}

class HistoryWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  FHistory* openDocked(const Texts& list) {
    host.addWords(list);
    host.historyCommand();
    host.slideUntilSettled();
    return host.historyWindow();
  }
  FakeHistoryHost host;
};

TEST_F(HistoryWindowTest, FirstShowBuildsNewestFirstBeyondTheRightEdge) {
  host.historyCommand();
  EXPECT_EQ(host.historyWindow(), nullptr) << "an empty history opens nothing";
  host.addWords({"alpha", "beta", "gamma"});
  host.historyCommand();
  FHistory* w = host.historyWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(host.itemTexts(), (Texts{" gamma", " beta", " alpha"}));
  EXPECT_EQ(w->geometry(), QRect(1280, (770 - 69) / 2, 64, 69));  // centred beside the work area
  EXPECT_TRUE(w->isVisible() && w->isSliding() && w->slideTimerActive() && !w->isDocked());
  // The items stop at the screen's bottom (and at WordHistory: the test of new words).
  w->close();
  host.addWords(numbered(30));
  host.places.geometry = QRect(0, 0, 800, 100);  // bottoms 36..96: the fifth reaches 100 - 5
  host.historyCommand();
  EXPECT_EQ(host.historyWindow()->items().size(), 5u);
}

TEST(HistorySlideTest, SlidesInFlushAndOutBeyondTheEdge) {
  // Sliding in always takes 14 ticks.
  const struct { const char* name; QRect work; bool fromRight; int start, docked, ticksOut; }
  cases[] = {
      {"right", QRect(0, 0, 1280, 770), true, 1280, 1216, 14},
      {"left", QRect(0, 0, 1280, 770), false, -64, 0, 15},
      {"right of a second screen", QRect(1280, 0, 1024, 740), true, 2304, 2240, 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHistoryHost host;
    host.places.workArea = c.work;
    host.settingsValue.HistoryFromRight = c.fromRight;
    host.addWords({"one", "two"});
    host.historyCommand();
    FHistory* w = host.historyWindow();
    EXPECT_EQ(w->x(), c.start);
    const int y = w->y();
    EXPECT_EQ(host.slideUntilSettled(), 14);
    EXPECT_TRUE(w->isDocked() && !w->isSliding() && !w->slideTimerActive());
    EXPECT_EQ(w->pos(), QPoint(c.docked, y));
    host.historyCommand();  // docked and still: slide out
    EXPECT_TRUE(w->closeRequested());
    EXPECT_EQ(host.slideUntilSettled(), c.ticksOut);
    EXPECT_EQ(host.historyWindow(), nullptr);
    EXPECT_EQ(host.count(MainWindowCommand::kRestore), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(HistoryWindowTest, CommandsDragsAndMovesWhileSlidingAndWhileStill) {
  host.addWords({"one"});
  host.historyCommand();
  FHistory* w = host.historyWindow();
  w->slideTick();
  host.historyCommand();
  EXPECT_FALSE(w->closeRequested()) << "a command while sliding keeps the slide going";
  w->setWindowRect(QRect(w->x(), 12, w->width(), w->height()));
  EXPECT_EQ(w->y(), 12) << "no snapping while sliding";
  host.slideUntilSettled();
  // Dragging the title moves the window through the snap rule.
  QLabel* title = w->title();
  const QPoint grab = title->mapToGlobal(QPoint(5, 5)), to = grab - QPoint(1210, -100);
  const int y = w->y();
  sendMouse(title, QEvent::MouseButtonPress, grab, Qt::LeftButton);
  sendMouse(title, QEvent::MouseMove, to, Qt::LeftButton);  // 6 from the edge
  EXPECT_EQ(w->pos(), QPoint(0, y + 100));
  sendMouse(title, QEvent::MouseButtonRelease, to, Qt::NoButton);
  sendMouse(title, QEvent::MouseMove, grab, Qt::NoButton);
  EXPECT_EQ(w->x(), 0) << "no drag after the release";
  w->setWindowRect(QRect(10, 12, w->width(), w->height()));
  EXPECT_EQ(w->pos(), QPoint(0, 0));
  w->setWindowRect(QRect(600, 300, w->width(), w->height()));  // away from both edges
  host.historyCommand();
  w->slideTick();
  EXPECT_EQ(host.historyWindow(), nullptr);
  EXPECT_EQ(host.count(MainWindowCommand::kRestore), 1);
  host.list.addToHistory("two", "two dua");
  EXPECT_FALSE(host.definitionPopup()->isVisible()) << "a word recorded after the close reaches no window";
}

TEST_F(HistoryWindowTest, NewWordsWithoutGrowthAndHighlightsInTheExactCaseOnly) {
  host.settingsValue.WordHistory = 20;
  FHistory* w = openDocked(numbered(30));
  const QSize size = w->size();
  host.list.addToHistory("W29", "W29 lain");  // already there, other case
  EXPECT_FALSE(host.definitionPopup()->isVisible() || w->items()[1]->isMarked());
  host.list.addToHistory("w29", "w29 lain");
  EXPECT_TRUE(w->items()[1]->isMarked() && host.definitionPopup()->isVisible());
  EXPECT_EQ((Texts{host.searchBox, w->lastWord()}), (Texts{"w29", "w29"}));
  host.list.addToHistory("fresh", "fresh baru");  // the last item goes
  const Texts texts = host.itemTexts();
  ASSERT_EQ(texts.size(), 20u);
  EXPECT_EQ((Texts{texts[0], texts[1], texts.back()}), (Texts{" fresh", " w30", " w12"}));
  EXPECT_EQ(w->size(), size);
  EXPECT_TRUE(w->items()[0]->isMarked() && host.definitionPopup()->isVisible());
  EXPECT_TRUE(w->items()[2]->isMarked() && !w->items()[1]->isMarked()) << "marks follow words";
}

TEST_F(HistoryWindowTest, PointingMarksAnItemAndClickingChoosesItWithoutALookup) {
  FHistory* w = openDocked({"one", "two"});
  HistoryItem* item = w->items()[0];
  w->itemMouseMove(item);
  EXPECT_TRUE(item->isMarked() && item->font().bold() && host.definitionPopup()->isVisible());
  EXPECT_EQ(host.searchBox, "two");
  host.setClipboardHit(true);
  w->itemMouseLeave(item);
  EXPECT_FALSE(item->isMarked() || item->font().bold() || host.clipboardHit() ||
               host.definitionPopup()->isVisible());

  const std::string file = readFile(host.list.path());
  item = w->items()[1];
  const QPoint at = item->mapToGlobal(QPoint(5, 5));
  sendMouse(item, QEvent::MouseButtonPress, at, Qt::LeftButton);
  EXPECT_NE(host.searchBox, "one") << "chosen on the release";
  sendMouse(item, QEvent::MouseButtonRelease, at, Qt::NoButton);
  EXPECT_EQ((Texts{w->lastWord(), host.searchBox, host.pane.toPlainText().toStdString()}),
            (Texts{"one", "one", "one translation of one"}));
  EXPECT_EQ(host.records + host.lookupShows, 0);
  EXPECT_EQ(readFile(host.list.path()), file);

  // A word recorded with blanks around it is shown without them, with its entry.
  host.list.addToHistory("  hello  ", "hello halo");
  w->chooseHistoryItem(w->items()[0]);
  EXPECT_EQ((Texts{host.searchBox, host.pane.toPlainText().toStdString()}),
            (Texts{"hello", "hello halo"}));
}

TEST_F(HistoryWindowTest, PopupMenuCommands) {
  FHistory* w = openDocked({"pear", "Apple", "banana"});
  const QList<QAction*> actions = w->popupMenu()->actions();
  ASSERT_EQ(actions.size(), 3);
  actions[0]->trigger();
  EXPECT_EQ(host.count(MainWindowCommand::kMinimizeAndHide), 1);
  w->mainWindowMinimized();
  EXPECT_EQ(actions[0]->text(), "Show main window");
  actions[0]->trigger();
  EXPECT_TRUE(host.count(MainWindowCommand::kShow) == 1 && !host.hidden);

  // Sorting reorders the items, not the file; the mark follows its word.
  const std::string file = readFile(host.list.path());
  w->markItem(w->items()[2]);  // " pear"
  actions[1]->trigger();
  EXPECT_EQ(host.itemTexts(), (Texts{" Apple", " banana", " pear"}));
  EXPECT_TRUE(w->items()[2]->isMarked() && !w->items()[0]->isMarked());
  EXPECT_EQ(readFile(host.list.path()), file);
  actions[2]->trigger();  // the History command: slide out
  EXPECT_TRUE(w->closeRequested());
}

}  // namespace
}  // namespace tavro2::test
