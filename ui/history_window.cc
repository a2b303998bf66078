#include "ui/history_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <algorithm>
#include <cstdint>

#include "app/settings.h"
#include "engine/query_text.h"
#include "skin/skin_widgets.h"
#include "ui/definition_popup.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"

namespace tavro2 {

namespace {

// Where the window is created, before the first show sizes and places it.
constexpr QRect kCreationRect(513, 263, 106, 196);
constexpr int kTitleHeightAtCreation = 15;
constexpr int kTitleHeight = 18;
// An item's bottom plus this margin reaching the screen height ends the list.
constexpr int kScreenMargin = 5;

}  // namespace

QRect snapToWorkArea(const QRect& proposed, const WorkArea& area) {
  int x = proposed.x();
  int y = proposed.y();
  const int w = proposed.width();
  const int h = proposed.height();
  bool snapped = false;
  if (area.left + kSnapDistance >= x) x = area.left, snapped = true;
  if (area.right - kSnapDistance <= x + w) x = area.right - w, snapped = true;
  if (area.top + kSnapDistance >= y) y = area.top, snapped = true;
  if (area.bottom - kSnapDistance <= y + h) y = area.bottom - h, snapped = true;
  if (snapped) {
    x = std::max(x, area.left);
    x = std::min(x, area.right - w);
    y = std::max(y, area.top);
    y = std::min(y, area.bottom - h);
  }
  return QRect(x, y, w, h);
}

// --- HistoryItem ------------------------------------------------------------

HistoryItem::HistoryItem(FHistory* window, QWidget* parent) : QLabel(parent), window_(window) {
  setFont(appFont(14));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTextFormat(Qt::PlainText);
}

void HistoryItem::setItemText(std::string text) {
  text_ = std::move(text);
  setText(qStringOf1252(text_));
  setAccessibleName(qStringOf1252(word()));
}

std::string HistoryItem::word() const { return std::string(trimView(text_)); }

std::string HistoryItem::historyWord() const { return text_.empty() ? text_ : text_.substr(1); }

void HistoryItem::setMarked(bool marked, const QColor& background) {
  marked_ = marked;
  QPalette palette = this->palette();
  ColorRef text = kBlack;
  if (marked) {
    palette.setColor(QPalette::Window, background);
    text = readableOn(colorRefOf(background), kBlack);
  }
  palette.setColor(QPalette::WindowText, toQColor(text));
  setPalette(palette);
  setAutoFillBackground(marked);
  QFont font = this->font();
  font.setBold(marked);
  setFont(font);
  update();
}

void HistoryItem::mouseMoveEvent(QMouseEvent* event) {
  window_->itemMouseMove(this);
  QLabel::mouseMoveEvent(event);
}

void HistoryItem::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

void HistoryItem::mouseReleaseEvent(QMouseEvent* event) {
  // A click: pressed and released over the item.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) window_->chooseHistoryItem(this);
}

void HistoryItem::leaveEvent(QEvent* event) {
  window_->itemMouseLeave(this);
  QLabel::leaveEvent(event);
}

// The focus points at the item as the mouse would.
void HistoryItem::focusInEvent(QFocusEvent* event) {
  QLabel::focusInEvent(event);
  window_->itemMouseMove(this);
}

void HistoryItem::focusOutEvent(QFocusEvent* event) {
  QLabel::focusOutEvent(event);
  if (isMarked()) window_->itemMouseLeave(this);
}

void HistoryItem::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      window_->chooseHistoryItem(this);
      return;
    case Qt::Key_Up:
      window_->moveItemFocus(this, -1);
      return;
    case Qt::Key_Down:
      window_->moveItemFocus(this, 1);
      return;
    case Qt::Key_Home:
      window_->moveItemFocus(this, -1000000);
      return;
    case Qt::Key_End:
      window_->moveItemFocus(this, 1000000);
      return;
    case Qt::Key_Escape:
    case Qt::Key_F6:
      window_->returnFocus();
      return;
    case Qt::Key_Menu:
      window_->openMenuAt(this);
      return;
    case Qt::Key_F10:
      if (shift) {
        window_->openMenuAt(this);
        return;
      }
      break;
    default:
      break;
  }
  QLabel::keyPressEvent(event);
}

void HistoryItem::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- FHistory -----------------------------------------------------------------

FHistory::FHistory(HistoryHost& host)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), host_(host) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle(QStringLiteral("Tavro2 - History"));
  setAutoFillBackground(true);
  setGeometry(kCreationRect);

  panel_ = new GradientPanel(this);
  panel_->setGeometry(1, 1, width() - 2, height() - 2);
  panel_->installEventFilter(this);

  title_ = new QLabel(QStringLiteral("History"), panel_);
  title_->setFont(appFont(14, true));
  title_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  title_->setAutoFillBackground(true);
  title_->setGeometry(0, 0, panel_->width(), kTitleHeightAtCreation);
  title_->installEventFilter(this);
  title_->setContextMenuPolicy(Qt::CustomContextMenu);

  menu_ = new QMenu(this);
  showHideAction_ = menu_->addAction(QStringLiteral("Hide main window"));
  QAction* sortAction = menu_->addAction(QStringLiteral("Short by name"));
  QAction* closeAction = menu_->addAction(QStringLiteral("Close"));
  // The first item cannot know whether the main window is shown when the
  // history window opens, so it names both at once from the start.
  showHideAction_->setText(QStringLiteral("Show/Hide main window"));
  connect(showHideAction_, &QAction::triggered, this, &FHistory::toggleMainWindow);
  connect(sortAction, &QAction::triggered, this, &FHistory::shortByName);
  connect(closeAction, &QAction::triggered, this, [this] { host_.historyCommand(); });
  connect(title_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { menu_->popup(title_->mapToGlobal(pos)); });

  slideTimer_.setInterval(kSlideInterval);
  connect(&slideTimer_, &QTimer::timeout, this, &FHistory::slideTick);
  slideTimer_.start();

  host_.historyList().setObserver(this);
}

FHistory::~FHistory() {
  // Detached at close already; a window destroyed without closing (its owner
  // going first) detaches here.
  if (!closing_) host_.historyList().setObserver(nullptr);
}

FHistory* FHistory::historyCommand(HistoryHost& host, FHistory* window) {
  if (host.historyList().lines().empty()) return window;
  if (window == nullptr) window = new FHistory(host);
  window->show();
  if (window->docked_ && !window->sliding_) {
    window->closeRequest_ = true;
    // The popup beside it would be left standing where the window was.
    if (FDef* popup = host.definitionPopup()) popup->hideBesideHistory();
  }
  window->slideTimer_.start();
  return window;
}

void FHistory::applyColors() {
  const HistoryColors colors = host_.colors();
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, toQColor(colors.window));
  setPalette(palette);

  QPalette titlePalette = title_->palette();
  titlePalette.setColor(QPalette::Window, toQColor(colors.title));
  titlePalette.setColor(QPalette::WindowText, toQColor(readableOn(colors.title, kWhite)));
  title_->setPalette(titlePalette);

  panel_->setColors(colors.panelTop, colors.panelBottom);
  for (HistoryItem* item : items_) {
    if (item->isMarked()) item->setMarked(true, toQColor(colors.markedItem));
  }
}

void FHistory::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Only the show that the History command asks for builds the window; the
  // window system showing it again (after a minimise) changes nothing.
  if (event->spontaneous() || sliding_) return;
  firstShow();
}

void FHistory::firstShow() {
  const WorkArea area = WorkArea::of(host_.screen().workArea);
  applyColors();
  buildHistoryItems();

  setWindowRect(QRect(x(), y(), width_, height_));
  setWindowRect(QRect(x(), (area.bottom - height()) / 2, width(), height()));

  panel_->setGeometry(1, 1, width() - 2, height() - 2);
  title_->setGeometry(0, 0, panel_->width(), kTitleHeight);

  sliding_ = true;
  docked_ = false;
  const int left = host_.settings().HistoryFromRight ? area.right : area.left - width();
  setWindowRect(QRect(left, y(), width(), height()));
}

HistoryItem* FHistory::createItem(const std::string& text, int top) {
  auto* item = new HistoryItem(this, panel_);
  item->setGeometry(1, top, kLabelWidth, kItemHeight);
  item->setItemText(text);
  item->show();
  items_.push_back(item);
  return item;
}

void FHistory::buildHistoryItems() {
  for (HistoryItem* item : items_) delete item;
  items_.clear();
  width_ = 0;
  height_ = 0;

  const std::vector<std::string>& lines = host_.historyList().lines();
  const std::int64_t wanted = host_.settings().WordHistory;
  const int screenHeight = host_.screen().geometry.height();
  const int n = static_cast<int>(lines.size());
  for (int i = n - 1; i >= 0 && static_cast<std::int64_t>(items_.size()) != wanted; --i) {
    const int top = kItemPitch * (n - i) + 5;
    HistoryItem* item = createItem(" " + std::string(HistoryList::wordOf(lines[i])), top);
    width_ = std::max(width_, item->width());
    height_ = top + 19;
    if (top + kItemHeight + kScreenMargin >= screenHeight) break;
  }
  for (HistoryItem* item : items_) item->resize(width_ - 4, item->height());
}

void FHistory::setWindowRect(const QRect& rect) {
  QRect target = rect;
  if (!sliding_) target = snapToWorkArea(rect, WorkArea::of(host_.screen().workArea));
  setGeometry(target);
}

void FHistory::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutChildren();
}

void FHistory::layoutChildren() {
  panel_->setGeometry(1, 1, width() - 2, height() - 2);
  title_->resize(panel_->width(), title_->height());
}

// Slide rules. The left edge is compared with the work area's own left edge
// throughout, so a work area that does not start at x = 0 (a panel or dock
// on the left, a second screen) docks and undocks like one that does.
void FHistory::slideTick() {
  const WorkArea area = WorkArea::of(host_.screen().workArea);
  const int left = x();
  const int w = width();
  auto moveTo = [this](int newLeft) { setWindowRect(QRect(newLeft, y(), width(), height())); };

  if (docked_ && closeRequest_) {
    if (left > area.left + 10 && area.right - w - 5 > left) {
      finishHide();  // dragged away from both edges: close at once
      return;
    }
    sliding_ = true;
    if (left < area.left - (w + kSlideStep)) {
      finishHide();
    } else if (left < area.left + 20) {
      moveTo(left - kSlideStep);
    } else if (left > area.right - 1) {
      finishHide();
    } else if (left < area.right) {
      moveTo(left + kSlideStep);
    }
    return;
  }

  if (left > area.right - w) {
    moveTo(left - kSlideStep);
  } else if (left + w > area.right - kSlideStep) {
    finishShow();
    moveTo(area.right - w);
  } else if (left < area.left) {
    moveTo(left + kSlideStep);
  } else if (left < area.left + w) {
    finishShow();
    moveTo(area.left);
  }
}

void FHistory::finishShow() {
  docked_ = true;
  slideTimer_.stop();
  sliding_ = false;
}

void FHistory::finishHide() {
  slideTimer_.stop();
  docked_ = false;
  sliding_ = false;
  close();
}

void FHistory::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (closing_) return;
  closing_ = true;
  slideTimer_.stop();
  if (FDef* popup = host_.definitionPopup()) popup->hideBesideHistory();
  host_.historyList().setObserver(nullptr);
  host_.historyWindowClosed();
}

void FHistory::pushHistoryItem(std::string_view word) {
  const auto count = static_cast<std::int64_t>(host_.historyList().lines().size());
  if (count < host_.settings().WordHistory) {
    const int itemWidth = items_.empty() ? kLabelWidth - 4 : items_.front()->width();
    HistoryItem* item = createItem(std::string(), height() - 4);
    item->resize(itemWidth, item->height());
    setWindowRect(QRect(x(), y(), width(), height() + kItemHeight));
    panel_->resize(width() - 2, height() - 2);
  }
  const std::vector<std::string> marked = markedTexts();
  for (std::size_t j = items_.size(); j-- > 1;) items_[j]->setItemText(items_[j - 1]->itemText());
  if (!items_.empty()) items_.front()->setItemText(" " + std::string(word));
  markTexts(marked);
  highlightHistoryWord(word);
}

void FHistory::highlightHistoryWord(std::string_view word) {
  FDef* popup = host_.definitionPopup();
  if (popup == nullptr) return;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (trimView(items_[i]->itemText()) == word) popup->showDefinitionPopup(*this, *items_[i]);
  }
}

void FHistory::chooseHistoryItem(HistoryItem* item) {
  lastWord_ = item->word();
  host_.showHistoryEntry(lastWord_, item->historyWord());
}

void FHistory::markItem(HistoryItem* item) {
  item->setMarked(true, toQColor(host_.colors().markedItem));
}

void FHistory::itemMouseMove(HistoryItem* item) {
  if (FDef* popup = host_.definitionPopup()) popup->showDefinitionPopup(*this, *item);
}

void FHistory::itemMouseLeave(HistoryItem* item) {
  item->setMarked(false);
  host_.setClipboardHit(false);
  if (FDef* popup = host_.definitionPopup()) popup->hideNow();
}

void FHistory::focusFirstItem() {
  if (items_.empty()) return;
  activateWindow();
  raise();
  items_.front()->setFocus(Qt::TabFocusReason);
}

void FHistory::moveItemFocus(HistoryItem* item, int step) {
  const auto at = std::find(items_.begin(), items_.end(), item);
  if (at == items_.end()) return;
  const long index = std::clamp<long>(static_cast<long>(at - items_.begin()) + step, 0,
                                      static_cast<long>(items_.size()) - 1);
  items_[static_cast<std::size_t>(index)]->setFocus(Qt::OtherFocusReason);
}

void FHistory::returnFocus() { host_.mainWindowCommand(MainWindowCommand::kFocus); }

void FHistory::openMenuAt(HistoryItem* item) {
  menu_->popup(item->mapToGlobal(QPoint(item->width() / 2, item->height())));
}

void FHistory::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (FDef* popup = host_.definitionPopup()) popup->hideNow();
}

void FHistory::toggleMainWindow() {
  if (host_.mainWindowHidden()) {
    host_.mainWindowCommand(MainWindowCommand::kShow);
  } else {
    host_.mainWindowCommand(MainWindowCommand::kMinimizeAndHide);
  }
}

void FHistory::shortByName() {
  HistoryList& list = host_.historyList();
  list.sortByName();
  const std::vector<std::string> marked = markedTexts();
  const std::vector<std::string>& lines = list.lines();
  for (std::size_t j = 0; j < items_.size() && j < lines.size(); ++j) {
    items_[j]->setItemText(" " + std::string(HistoryList::wordOf(lines[j])));
  }
  markTexts(marked);
}

// A marked item stands for its word: when the words move to other labels
// (sorting, a new word at the top) the marks move with them rather than
// staying on labels that now show other words.
std::vector<std::string> FHistory::markedTexts() const {
  std::vector<std::string> marked;
  for (const HistoryItem* item : items_) {
    if (item->isMarked()) marked.push_back(item->itemText());
  }
  return marked;
}

void FHistory::markTexts(const std::vector<std::string>& texts) {
  const QColor markColor = toQColor(host_.colors().markedItem);
  for (HistoryItem* item : items_) {
    const bool mark = std::find(texts.begin(), texts.end(), item->itemText()) != texts.end();
    if (mark != item->isMarked()) item->setMarked(mark, markColor);
  }
}

void FHistory::mainWindowMinimized() {
  showHideAction_->setText(QStringLiteral("Show main window"));
}

// --- Dragging -------------------------------------------------------------------
// The window, its title and its item panel drag the window. The drag is done
// here rather than by the window system so that every position passes the
// snap rule before the window gets there.

bool FHistory::dragPress(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return false;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - pos();
  return true;
}

bool FHistory::dragMove(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return false;
  setWindowRect(QRect(event->globalPosition().toPoint() - dragOffset_, size()));
  return true;
}

bool FHistory::dragRelease(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return false;
  dragging_ = false;
  return true;
}

void FHistory::mousePressEvent(QMouseEvent* event) {
  if (!dragPress(event)) QWidget::mousePressEvent(event);
}

void FHistory::mouseMoveEvent(QMouseEvent* event) {
  if (!dragMove(event)) QWidget::mouseMoveEvent(event);
}

void FHistory::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragRelease(event)) QWidget::mouseReleaseEvent(event);
}

bool FHistory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == title_ || watched == panel_) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        return dragPress(mouse);
      case QEvent::MouseMove:
        return dragMove(mouse);
      case QEvent::MouseButtonRelease:
        return dragRelease(mouse);
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tavro2
