#include "ui/definition_popup.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <memory>

#include "app/settings.h"
#include "skin/skin.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui/marker_tooltip.h"
#include "ui/selection_reader.h"

namespace tavro2 {

namespace {

constexpr QSize kInitialSize(168, 26);
// The text rectangle's inset inside the text area.
constexpr int kInsetX = 4;
constexpr int kInsetY = 2;
constexpr std::size_t kShortText = 20;  // characters
// The popup's distance from the pointer, clear of the cursor's shape.
constexpr int kPointerGap = 16;

// value * numerator / denominator rounded to the nearest integer, an exact
// half going to the even neighbour. Exact in integers, so 150 * 0.23 = 34.5
// gives 34 whatever a binary 0.23 would make of it.
int mulRoundHalfEven(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  long long quotient = product / denominator;
  long long remainder = product % denominator;
  if (remainder < 0) remainder += denominator, --quotient;  // floor for negatives
  const long long twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && (quotient % 2 != 0))) ++quotient;
  return static_cast<int>(quotient);
}

// The text area: a read-only rich-text box whose text rectangle is inset
// from its edges.
class PopupTextArea : public QTextEdit {
 public:
  explicit PopupTextArea(QWidget* parent) : QTextEdit(parent) {
    setViewportMargins(kInsetX, kInsetY, kInsetX, kInsetY);
  }
};

}  // namespace

QSize definitionPopupSize(int lineCount, int textWidth, std::size_t textLength) {
  const int height = FDef::kFontHeight * lineCount + 6;
  if (lineCount != 1) return QSize(FDef::kWrapWidth, height);
  const int extra = textLength < kShortText ? mulRoundHalfEven(textWidth, 1, 2)
                                            : mulRoundHalfEven(textWidth, 23, 100);
  return QSize(textWidth + extra, height);
}

FDef::FDef(HistoryHost& host)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      host_(host) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAutoFillBackground(true);
  resize(kInitialSize);
  setWindowTitle("Tavro2 - Definition");
  setAccessibleName("Definition");

  textArea_ = new PopupTextArea(this);
  textArea_->setReadOnly(true);
  textArea_->setFrameStyle(QFrame::NoFrame);
  textArea_->setLineWrapMode(QTextEdit::WidgetWidth);
  textArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  textArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  textArea_->setAutoFillBackground(true);
  textArea_->setFont(appFont(kFontHeight));
  textArea_->document()->setDefaultFont(appFont(kFontHeight));
  textArea_->document()->setDocumentMargin(0);
  textArea_->setGeometry(rect());
  textArea_->installEventFilter(this);
  textArea_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(textArea_, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
    const std::unique_ptr<QMenu> menu = createContextMenu(pos);
    menuOpen_ = true;
    menu->exec(textArea_->viewport()->mapToGlobal(pos));
    menuOpen_ = false;
  });
  new MarkerTooltip(textArea_);  // owned by the text area

  countdownTimer_.setInterval(kCountdownInterval);
  connect(&countdownTimer_, &QTimer::timeout, this, &FDef::countdownTick);
  countdownTimer_.start();
  fadeTimer_.setInterval(kFadeInterval);
  connect(&fadeTimer_, &QTimer::timeout, this, &FDef::fadeTick);
}

FDef::~FDef() = default;

void FDef::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  textArea_->setGeometry(rect());
}

bool FDef::eventFilter(QObject* watched, QEvent* event) {
  if (watched == textArea_ && event->type() == QEvent::Leave && !menuOpen_) hideNow();
  return QWidget::eventFilter(watched, event);
}

std::unique_ptr<QMenu> FDef::createContextMenu(QPoint pos) {
  std::unique_ptr<QMenu> menu(textArea_->createStandardContextMenu(pos));
  if (host_.canPronounce()) {
    auto* pronounce = new QAction("Pronounce", menu.get());
    pronounce->setObjectName("pronounceAction");
    connect(pronounce, &QAction::triggered, this, [this] { host_.pronounce(); });
    QAction* first = menu->actions().value(0);
    menu->insertAction(first, pronounce);
    menu->insertSeparator(first);
  }
  return menu;
}

void FDef::applyColors() {
  const HistoryColors colors = host_.colors();
  QPalette form = palette();
  form.setColor(QPalette::Window, toQColor(colors.popupForm));
  setPalette(form);
  QPalette text = textArea_->palette();
  text.setColor(QPalette::Base, toQColor(colors.popupText));
  text.setColor(QPalette::Window, toQColor(colors.popupText));
  textArea_->setPalette(text);
}

// showDefinitionPopup(H, I):
//  1. top = H's top + I's top within H + 1;
//  2. left: beside H, on its left when H stands more than 300 pixels from the
//     screen's left edge (using the popup's width from its last showing),
//     else on its right;
//  3. the popup becomes visible;
//  4. when the main window already shows this word with the text the popup
//     holds, nothing more changes;
//  5. the item is marked and the popup made 250 pixels wide;
//  6. the main window shows the word's stored entry (ChooseHistoryItem);
//  7. the translation pane's formatted contents are copied in;
//  8. the popup is sized for its text (DefinitionPopupSize).
// A popup on H's left keeps its right edge at H's left edge whenever its
// width changes (steps 5 and 8), instead of reaching over H: over H it would
// take the mouse off the item, which unmarks the item and hides the popup.
void FDef::showDefinitionPopup(FHistory& history, HistoryItem& item) {
  const QRect h = history.geometry();
  const int top = h.y() + item.mapTo(&history, QPoint(0, 0)).y() + 1;
  const bool onLeft = h.x() - host_.screen().geometry.x() > kSideThreshold;
  move(onLeft ? h.x() - width() : h.x() + h.width(), top);
  applyColors();
  show();

  besideHistory_ = true;
  flushWindowSystem();

  const std::string word = item.word();
  QTextEdit* pane = host_.translationPane();
  if (pane == nullptr) return;
  if (host_.searchBoxText() == word && pane->toPlainText() == textArea_->toPlainText()) {
    word_ = word;
    return;
  }

  history.markItem(&item);
  if (onLeft) {
    setGeometry(h.x() - kWrapWidth, top, kWrapWidth, height());
  } else {
    resize(kWrapWidth, height());
  }
  history.chooseHistoryItem(&item);
  word_ = word;
  fillFromPane(pane);
  if (onLeft) move(h.x() - width(), top);
}

void FDef::fillFromPane(QTextEdit* pane) {
  QTextDocument* document = textArea_->document();
  document->clear();
  QTextCursor cursor(document);
  cursor.insertFragment(QTextDocumentFragment(pane->document()));
  fitToText();
}

void FDef::fitToText() {
  const QString text = textArea_->toPlainText();
  // A screen reader hears the popup's text with the popup (and again when
  // it changes while shown).
  textArea_->setAccessibleName("Definition");
  setAccessibleDescription(text);
  QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&changed);
  const int lines = wrappedLineCount();
  const int textWidth = QFontMetrics(appFont(kFontHeight)).horizontalAdvance(text);
  resize(definitionPopupSize(lines, textWidth, static_cast<std::size_t>(text.size())));
}

void FDef::showNearPointer(QPoint pointer) {
  QTextEdit* pane = host_.translationPane();
  if (pane == nullptr) return;
  besideHistory_ = false;
  word_ = host_.searchBoxText();
  resize(kWrapWidth, height());
  fillFromPane(pane);
  placeNearPointer(pointer);
}

void FDef::showTextNearPointer(QPoint pointer, const QString& richText) {
  besideHistory_ = false;
  word_ = host_.searchBoxText();
  resize(kWrapWidth, height());
  textArea_->document()->clear();
  textArea_->setHtml(richText);
  fitToText();
  placeNearPointer(pointer);
}

void FDef::placeNearPointer(QPoint pointer) {
  // Below and right of the pointer, clear of the cursor's shape; where the
  // screen ends, on the pointer's other side; never off the screen.
  const QRect screen = host_.screenAt(pointer);
  int x = pointer.x() + kPointerGap;
  int y = pointer.y() + kPointerGap;
  if (x + width() > screen.x() + screen.width()) x = pointer.x() - kPointerGap - width();
  if (y + height() > screen.y() + screen.height()) y = pointer.y() - kPointerGap - height();
  x = std::max(screen.x(), std::min(x, screen.x() + screen.width() - width()));
  y = std::max(screen.y(), std::min(y, screen.y() + screen.height() - height()));
  move(x, y);
  applyColors();
  show();
  raise();
  flushWindowSystem();
}

int FDef::wrappedLineCount() const {
  std::unique_ptr<QTextDocument> probe(textArea_->document()->clone());
  probe->setDefaultFont(appFont(kFontHeight));
  probe->setDocumentMargin(0);
  probe->setTextWidth(kWrapWidth - 2 * kInsetX);
  QAbstractTextDocumentLayout* layout = probe->documentLayout();
  int lines = 0;
  for (QTextBlock block = probe->begin(); block.isValid(); block = block.next()) {
    layout->blockBoundingRect(block);  // lays the block out
    lines += std::max(1, block.layout()->lineCount());
  }
  return std::max(1, lines);
}

void FDef::hideNow() {
  hide();
  flushWindowSystem();
}

void FDef::hideBesideHistory() {
  if (besideHistory_) hideNow();
}

// Auto-close. The counter counts seconds only while the clipboard-hit flag
// is set and restarts only when a fade starts, so a second hit during the
// countdown does not prolong it. AutoCloseTime is signed: 0 or less fades at
// the first tick.
void FDef::countdownTick() {
  if (!host_.clipboardHit()) return;
  if (static_cast<std::int64_t>(host_.settings().AutoCloseTime) >
      static_cast<std::int64_t>(countdown_)) {
    ++countdown_;
    return;
  }
  countdown_ = 0;
  if (onNativeWayland()) {  // no fade to be seen: the popup just goes
    hide();
    host_.setClipboardHit(false);
    return;
  }
  fadeTimer_.start();
}

void FDef::fadeTick() {
  opacity_ -= kFadeStep;
  applyOpacity();
  if (opacity_ > 0) return;
  hide();
  fadeTimer_.stop();
  host_.setClipboardHit(false);
  opacity_ = 255;
  applyOpacity();
}

// Qt writes the opacity into its outgoing buffer and sends it only when
// its event loop next flushes, which an idle program may not do for a long
// time: the step is sent here, when it is made.
void FDef::applyOpacity() {
  if (onNativeWayland()) return;
  setWindowOpacity(std::clamp(opacity_, 0, 255) / 255.0);
  flushWindowSystem();
}

}  // namespace tavro2
