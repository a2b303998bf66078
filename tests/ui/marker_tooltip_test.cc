// Tool tips on the markers of an entry, driven by tool-tip events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolTip>

#include "fake_history_host.h"
#include "ui/definition_popup.h"
#include "ui/marker_tooltip.h"

namespace tavro2::test {
namespace {

constexpr const char* kKkt = "kkt: kata kerja transitif, transitive verb";

class MarkerTooltipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit.setToolTip("");
    edit.setPlainText("run kkt lari; kb pelari");
    edit.resize(400, 120);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
  }
  void TearDown() override {
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
  }

  // The middle of the characters [from, to) of the text, in the viewport.
  QPoint middleOf(int from, int to) const {
    QTextCursor a(edit.document()), b(edit.document());
    a.setPosition(from);
    b.setPosition(to);
    const QRect left = edit.cursorRect(a), right = edit.cursorRect(b);
    return QPoint((left.left() + right.left()) / 2, left.center().y());
  }
  // Sends a tool-tip event at `pos` of the viewport, as resting the pointer there does.
  void hover(QPoint pos) {
    QHelpEvent event(QEvent::ToolTip, pos, edit.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(edit.viewport(), &event);
  }

  QTextEdit edit;
  MarkerTooltip* tooltip = new MarkerTooltip(&edit);
};

TEST_F(MarkerTooltipTest, AMarkerShowsWhatItStandsFor) {
  hover(middleOf(4, 7));
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), kKkt);
  // Anywhere on the word, up to its edges.
  EXPECT_EQ(MarkerTooltip::textAt(edit, middleOf(4, 5)), kKkt);
  EXPECT_EQ(MarkerTooltip::textAt(edit, middleOf(6, 7)), kKkt);
  EXPECT_EQ(MarkerTooltip::textAt(edit, middleOf(14, 16)), "kb: kata benda, noun");
  QRect rect;
  MarkerTooltip::textAt(edit, middleOf(4, 7), &rect);
  EXPECT_TRUE(rect.contains(middleOf(4, 5)) && rect.contains(middleOf(6, 7)));
  EXPECT_FALSE(rect.contains(middleOf(8, 12)));
}

TEST_F(MarkerTooltipTest, NothingElseHasOne) {
  // Words that are no marker, or contain one; the space and the semicolon
  // beside a marker; past the end of the line; below the text.
  const QPoint elsewhere[] = {middleOf(0, 3),   middleOf(8, 12), middleOf(17, 23),
                              middleOf(7, 8),   middleOf(12, 13), middleOf(23, 23) + QPoint(60, 0),
                              middleOf(4, 7) + QPoint(0, 80)};
  for (const QPoint& p : elsewhere) {
    EXPECT_EQ(MarkerTooltip::textAt(edit, p), "") << p.x() << "," << p.y();
    hover(p);
    EXPECT_FALSE(QToolTip::isVisible());
  }
  // A marker's tool tip goes when the pointer rests on another word.
  hover(middleOf(4, 7));
  ASSERT_EQ(QToolTip::text(), kKkt);
  hover(middleOf(8, 12));
  QTRY_VERIFY(!QToolTip::isVisible());
}

TEST_F(MarkerTooltipTest, TheBoxKeepsItsOwnToolTipOffTheMarkers) {
  edit.setToolTip("The translation");
  hover(middleOf(0, 3));  // the event goes on from the viewport to the box
  EXPECT_EQ(QToolTip::text(), "The translation");
  hover(middleOf(4, 7));
  EXPECT_EQ(QToolTip::text(), kKkt);
  hover(middleOf(8, 12));
  EXPECT_EQ(QToolTip::text(), "The translation");
}

TEST_F(MarkerTooltipTest, AWrappedEntryAndAScrolledBox) {
  // Markers on later lines of a long entry, read where they are drawn.
  QString text;
  for (int i = 0; i < 30; ++i) text += "lari kki run; ";
  edit.setPlainText(text);
  edit.resize(160, 60);
  const int last = static_cast<int>(text.lastIndexOf("kki"));
  QTextCursor end(edit.document());
  end.setPosition(last);
  edit.setTextCursor(end);
  edit.ensureCursorVisible();
  ASSERT_GT(edit.verticalScrollBar()->value(), 0);
  EXPECT_EQ(MarkerTooltip::textAt(edit, middleOf(last, last + 3)),
            "kki: kata kerja intransitif, intransitive verb");
  EXPECT_EQ(MarkerTooltip::textAt(edit, middleOf(last - 5, last - 1)), "");
}

TEST(MarkerTooltipPopupTest, TheDefinitionPopupExplainsItsMarkers) {
  FakeHistoryHost host;
  FDef* popup = host.definitionPopup();
  ASSERT_NE(popup, nullptr);
  popup->textArea()->setPlainText("kb buku");
  popup->resize(250, 40);
  popup->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
  QTextEdit& area = *popup->textArea();
  QTextCursor a(area.document()), b(area.document());
  b.setPosition(2);
  const QPoint pos((area.cursorRect(a).left() + area.cursorRect(b).left()) / 2,
                   area.cursorRect(a).center().y());
  QHelpEvent event(QEvent::ToolTip, pos, area.viewport()->mapToGlobal(pos));
  QApplication::sendEvent(area.viewport(), &event);
  EXPECT_EQ(QToolTip::text(), "kb: kata benda, noun");
  QToolTip::hideText();
  QTRY_VERIFY(!QToolTip::isVisible());
}

}  // namespace
}  // namespace tavro2::test
