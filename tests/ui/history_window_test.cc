// The history window: building, sliding in and out, snapping, new and
// highlighted words, choosing an item, sorting and the popup menu. The slide
// timer is driven by calling its tick.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

#include "fake_history_host.h"
#include "ui/history_window.h"
#include "ui/skin_widgets.h"

namespace tavro2::test {
namespace {

class HistoryWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Closed windows delete themselves later; let them go with their test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  std::vector<std::string> words(int count) {
    std::vector<std::string> out;
    for (int i = 1; i <= count; ++i) out.push_back("w" + std::to_string(i));
    return out;
  }

  FHistory* openDocked() {
    host.HistoryCommand();
    host.slideUntilSettled();
    return host.window;
  }

  FakeHistoryHost host;
};

TEST_F(HistoryWindowTest, EmptyHistoryOpensNothing) {
  host.HistoryCommand();
  EXPECT_EQ(host.window, nullptr);
}

TEST_F(HistoryWindowTest, FirstShowBuildsNewestFirstBeyondTheRightEdge) {
  host.addWords({"alpha", "beta", "gamma"});
  host.HistoryCommand();
  FHistory* w = host.window;
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(host.itemTexts(), (std::vector<std::string>{" gamma", " beta", " alpha"}));
  // Items at top 15 * k + 5, 16 high, width - 4 wide; window 64 wide.
  ASSERT_EQ(w->items().size(), 3u);
  EXPECT_EQ(w->items()[0]->geometry(), QRect(1, 20, 60, 16));
  EXPECT_EQ(w->items()[2]->geometry(), QRect(1, 50, 60, 16));
  EXPECT_EQ(w->size(), QSize(64, 69));
  EXPECT_EQ(w->itemPanel()->geometry(), QRect(1, 1, 62, 67));
  EXPECT_EQ(w->title()->geometry(), QRect(0, 0, 62, 18));
  EXPECT_EQ(w->title()->text(), "History");
  EXPECT_EQ(w->pos(), QPoint(1280, (770 - 69) / 2));
  EXPECT_TRUE(w->isSliding());
  EXPECT_FALSE(w->isDocked());
  EXPECT_TRUE(w->slideTimerActive());
}

TEST_F(HistoryWindowTest, ItemsStopAtWordHistoryAndAtTheScreenBottom) {
  host.addWords(words(30));
  host.settingsValue.WordHistory = 20;
  host.HistoryCommand();
  EXPECT_EQ(host.window->items().size(), 20u);
  EXPECT_EQ(host.itemTexts().front(), " w30");
  EXPECT_EQ(host.itemTexts().back(), " w11");
  host.window->close();

  // Bottoms 36, 51, 66, 81, 96: the fifth reaches 100 - 5 and ends the list.
  host.screen = QRect(0, 0, 800, 100);
  host.HistoryCommand();
  EXPECT_EQ(host.window->items().size(), 5u);
  host.window->close();

  host.settingsValue.WordHistory = 0;
  host.HistoryCommand();
  EXPECT_TRUE(host.window->items().empty());
}

struct SlideCase {
  const char* name;
  QRect work;
  bool fromRight;
  int start;     // left when the first show ends
  int docked;    // left when docked
  int ticksIn;   // ticks until docked
  int ticksOut;  // ticks of the slide out, the closing one included
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SlideCase& c, std::ostream* os) { *os << c.name; }

class HistorySlideTest : public HistoryWindowTest,
                         public ::testing::WithParamInterface<SlideCase> {};

TEST_P(HistorySlideTest, SlidesInFlushAndOutBeyondTheEdge) {
  const SlideCase& c = GetParam();
  host.work = c.work;
  host.settingsValue.HistoryFromRight = c.fromRight;
  host.addWords({"one", "two"});
  host.HistoryCommand();
  FHistory* w = host.window;
  EXPECT_EQ(w->x(), c.start);
  const int y = w->y();

  EXPECT_EQ(host.slideUntilSettled(), c.ticksIn);
  EXPECT_TRUE(w->isDocked());
  EXPECT_FALSE(w->isSliding());
  EXPECT_FALSE(w->slideTimerActive());
  EXPECT_EQ(w->x(), c.docked);
  EXPECT_EQ(w->y(), y);

  host.HistoryCommand();  // docked and still: slide out
  EXPECT_TRUE(w->closeRequested());
  EXPECT_TRUE(w->slideTimerActive());
  w->slideTick();
  EXPECT_TRUE(w->isSliding());
  EXPECT_EQ(host.slideUntilSettled() + 1, c.ticksOut);
  EXPECT_EQ(host.window, nullptr);
  EXPECT_EQ(host.closes, 1);
  EXPECT_EQ(host.restores, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, HistorySlideTest,
    ::testing::Values(
        // 1280 - 5k until at most 1216 - 1 = 1215, then flush at 1216.
        SlideCase{"Right", QRect(0, 0, 1280, 770), true, 1280, 1216, 14, 14},
        SlideCase{"RightOddWidth", QRect(0, 0, 1277, 770), true, 1277, 1213, 14, 14},
        // -64 + 5k until 1, then flush at 0; out: 0 - 5k until below -69.
        SlideCase{"Left", QRect(0, 0, 1280, 770), false, -64, 0, 14, 15},
        // A dock 70 wide on the left: the same slide, relative to it.
        SlideCase{"LeftOfOffsetWorkArea", QRect(70, 0, 1210, 770), false, 6, 70, 14, 15},
        SlideCase{"RightOfSecondScreen", QRect(1280, 0, 1024, 740), true, 2304, 2240, 14, 14}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HistoryWindowTest, CommandWhileSlidingOnlyKeepsTheSlideGoing) {
  host.addWords({"one"});
  host.HistoryCommand();
  host.window->slideTick();
  host.HistoryCommand();
  EXPECT_FALSE(host.window->closeRequested());
  host.slideUntilSettled();
  EXPECT_TRUE(host.window->isDocked());
}

TEST_F(HistoryWindowTest, WindowDraggedAwayFromBothEdgesClosesAtOnce) {
  host.addWords({"one"});
  FHistory* w = openDocked();
  w->setWindowRect(QRect(600, 300, w->width(), w->height()));
  ASSERT_EQ(w->pos(), QPoint(600, 300));
  host.HistoryCommand();
  w->slideTick();
  EXPECT_EQ(host.window, nullptr);
  EXPECT_EQ(host.closes, 1);
}

TEST_F(HistoryWindowTest, MovesSnapToTheWorkAreaOnlyWhileNotSliding) {
  host.addWords({"one"});
  host.HistoryCommand();
  FHistory* w = host.window;
  w->setWindowRect(QRect(10, 12, w->width(), w->height()));
  EXPECT_EQ(w->pos(), QPoint(10, 12)) << "no snapping while sliding";
  host.slideUntilSettled();
  w->setWindowRect(QRect(10, 12, w->width(), w->height()));
  EXPECT_EQ(w->pos(), QPoint(0, 0));
}

struct SnapCase {
  QRect proposed;
  QRect expected;
};

TEST(SnapToWorkAreaTest, SnapsWithin15PixelsAndKeepsInside) {
  const WorkArea area = WorkArea::of(QRect(0, 30, 1280, 740));  // bottom 770
  const SnapCase cases[] = {
      {QRect(400, 300, 64, 100), QRect(400, 300, 64, 100)},    // nowhere near
      {QRect(15, 300, 64, 100), QRect(0, 300, 64, 100)},       // left within 15
      {QRect(16, 300, 64, 100), QRect(16, 300, 64, 100)},      // 16 away
      {QRect(1201, 300, 64, 100), QRect(1216, 300, 64, 100)},  // right edge 1265 >= 1265
      {QRect(1200, 300, 64, 100), QRect(1200, 300, 64, 100)},
      {QRect(400, 45, 64, 100), QRect(400, 30, 64, 100)},      // top
      {QRect(400, 655, 64, 100), QRect(400, 670, 64, 100)},    // bottom
      {QRect(-200, 300, 64, 100), QRect(0, 300, 64, 100)},     // dragged off: back inside
      {QRect(1500, 900, 64, 100), QRect(1216, 670, 64, 100)},
      {QRect(400, 0, 64, 800), QRect(400, -30, 64, 800)},      // taller: bottom wins
  };
  for (const SnapCase& c : cases) {
    EXPECT_EQ(SnapToWorkArea(c.proposed, area), c.expected) << c.proposed.x() << "," << c.proposed.y();
  }
}

TEST_F(HistoryWindowTest, NewWordWithoutGrowthDropsTheLastItem) {
  host.addWords(words(30));
  host.settingsValue.WordHistory = 20;
  FHistory* w = openDocked();
  const QSize size = w->size();
  host.list.AddToHistory("fresh", "fresh baru");
  ASSERT_EQ(w->items().size(), 20u);
  EXPECT_EQ(host.itemTexts().front(), " fresh");
  EXPECT_EQ(host.itemTexts()[1], " w30");
  EXPECT_EQ(host.itemTexts().back(), " w12");
  EXPECT_EQ(w->size(), size);
  EXPECT_TRUE(w->items().front()->isMarked());
  EXPECT_TRUE(host.popup->isVisible());
}

TEST_F(HistoryWindowTest, NewWordWithRoomAddsAnItemAndGrows) {
  host.addWords({"one", "two", "three"});
  FHistory* w = openDocked();
  const QRect before = w->geometry();
  host.list.AddToHistory("four", "four empat");
  ASSERT_EQ(w->items().size(), 4u);
  EXPECT_EQ(host.itemTexts(), (std::vector<std::string>{" four", " three", " two", " one"}));
  EXPECT_EQ(w->items().back()->y(), before.height() - 4);
  EXPECT_EQ(w->height(), before.height() + 16);
  EXPECT_EQ(w->itemPanel()->height(), w->height() - 2);
  EXPECT_EQ(w->pos(), before.topLeft());
}

TEST_F(HistoryWindowTest, GrowingAgainstTheBottomEdgeSnapsUp) {
  host.addWords({"one", "two"});
  FHistory* w = openDocked();
  w->setWindowRect(QRect(w->x(), 770 - w->height(), w->width(), w->height()));
  host.list.AddToHistory("three", "three tiga");
  EXPECT_EQ(w->geometry().bottom() + 1, 770);
}

TEST_F(HistoryWindowTest, HighlightMatchesTheExactCaseOnly) {
  host.addWords({"Hello", "world"});
  FHistory* w = openDocked();
  host.list.AddToHistory("HELLO", "HELLO halo");  // already there, other case
  EXPECT_FALSE(host.popup->isVisible());
  EXPECT_FALSE(w->items()[1]->isMarked());
  EXPECT_EQ(host.list.lines().size(), 2u);

  host.list.AddToHistory("Hello", "Hello halo");
  EXPECT_TRUE(w->items()[1]->isMarked());
  EXPECT_TRUE(host.popup->isVisible());
  EXPECT_EQ(host.searchBox, "Hello");
  EXPECT_EQ(w->lastWord(), "Hello");
}

TEST_F(HistoryWindowTest, ChoosingAnItemShowsItsStoredEntryWithoutALookup) {
  host.addWords({"one", "two"});
  FHistory* w = openDocked();
  const std::string file = readFile(host.list.path());
  w->ChooseHistoryItem(w->items()[1]);
  EXPECT_EQ(w->lastWord(), "one");
  EXPECT_EQ(host.searchBox, "one");
  EXPECT_EQ(host.pane.toPlainText(), "one translation of one");
  EXPECT_EQ(host.records, 0);
  EXPECT_EQ(host.lookupShows, 0);
  EXPECT_EQ(readFile(host.list.path()), file);
}

TEST_F(HistoryWindowTest, PointingMarksAndLeavingUnmarks) {
  host.addWords({"one", "two"});
  FHistory* w = openDocked();
  HistoryItem* item = w->items()[0];
  w->itemMouseMove(item);
  EXPECT_TRUE(item->isMarked());
  EXPECT_TRUE(item->font().bold());
  EXPECT_TRUE(item->autoFillBackground());
  EXPECT_EQ(item->palette().color(QPalette::Window), toQColor(host.colorsValue.markedItem));
  EXPECT_TRUE(host.popup->isVisible());
  EXPECT_EQ(host.searchBox, "two");

  host.hit = true;
  w->itemMouseLeave(item);
  EXPECT_FALSE(item->isMarked());
  EXPECT_FALSE(item->font().bold());
  EXPECT_FALSE(item->autoFillBackground());
  EXPECT_FALSE(host.hit);
  EXPECT_FALSE(host.popup->isVisible());
}

TEST_F(HistoryWindowTest, ShortByNameReordersItemsButWritesNothing) {
  host.addWords({"pear", "Apple", "banana"});
  FHistory* w = openDocked();
  const std::string file = readFile(host.list.path());
  w->markItem(w->items()[2]);  // " pear"
  w->ShortByName();
  EXPECT_EQ(host.itemTexts(), (std::vector<std::string>{" Apple", " banana", " pear"}));
  EXPECT_FALSE(w->items()[0]->isMarked()) << "the mark follows its word";
  EXPECT_TRUE(w->items()[2]->isMarked());
  EXPECT_EQ(readFile(host.list.path()), file);
  host.list.AddToHistory("cherry", "cherry ceri");
  EXPECT_EQ(readFile(host.list.path()),
            crlfJoin({"Apple=Apple translation of Apple", "banana=banana translation of banana",
                      "pear=pear translation of pear", "cherry=cherry ceri"}));
}

TEST_F(HistoryWindowTest, PopupMenuCaptionsAndCommands) {
  host.addWords({"one"});
  FHistory* w = openDocked();
  const QList<QAction*> actions = w->popupMenu()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), "Show/Hide main window");
  EXPECT_EQ(actions[1]->text(), "Short by name");
  EXPECT_EQ(actions[2]->text(), "Close");

  actions[0]->trigger();
  EXPECT_EQ(host.minimizes, 1);
  w->mainWindowMinimized();
  EXPECT_EQ(actions[0]->text(), "Show main window");
  actions[0]->trigger();
  EXPECT_EQ(host.mainShows, 1);
  EXPECT_FALSE(host.hidden);

  actions[2]->trigger();  // the History command: slide out
  EXPECT_TRUE(w->closeRequested());
}

TEST_F(HistoryWindowTest, DraggingTheTitleMovesTheWindowThroughTheSnapRule) {
  host.addWords({"one"});
  FHistory* w = openDocked();
  QLabel* title = w->title();
  const QPoint grab = title->mapToGlobal(QPoint(5, 5));
  auto send = [title](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent event(type, title->mapFromGlobal(global), global,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(title, &event);
  };
  send(QEvent::MouseButtonPress, grab, Qt::LeftButton);
  send(QEvent::MouseMove, grab - QPoint(600, 100), Qt::LeftButton);
  EXPECT_EQ(w->pos(), QPoint(1216 - 600, host.window->y()));
  EXPECT_EQ(w->y(), (770 - w->height()) / 2 - 100);
  send(QEvent::MouseMove, grab - QPoint(1210, 0), Qt::LeftButton);  // 6 from the left edge
  EXPECT_EQ(w->x(), 0);
  send(QEvent::MouseButtonRelease, grab - QPoint(1210, 0), Qt::NoButton);
  send(QEvent::MouseMove, grab, Qt::NoButton);
  EXPECT_EQ(w->x(), 0) << "no drag after the release";
}

TEST_F(HistoryWindowTest, ClickingAnItemChoosesIt) {
  host.addWords({"one", "two"});
  FHistory* w = openDocked();
  HistoryItem* item = w->items()[1];
  const QPoint inside(5, 5);
  QMouseEvent press(QEvent::MouseButtonPress, inside, item->mapToGlobal(inside), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, item->mapToGlobal(inside),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(item, &press);
  EXPECT_EQ(w->lastWord(), "");
  QCoreApplication::sendEvent(item, &release);
  EXPECT_EQ(w->lastWord(), "one");
  EXPECT_EQ(host.searchBox, "one");
}

TEST_F(HistoryWindowTest, ClosingDetachesFromTheHistory) {
  host.addWords({"one"});
  FHistory* w = openDocked();
  w->close();
  EXPECT_EQ(host.closes, 1);
  // A word recorded after the close reaches no window.
  EXPECT_EQ(host.list.AddToHistory("two", "two dua"), HistoryList::AddResult::kAppended);
  EXPECT_FALSE(host.popup->isVisible());
}

}  // namespace
}  // namespace tavro2::test
