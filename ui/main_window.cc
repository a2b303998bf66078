// The main window's construction, start-up, events and keys. Layout and
// skin live in main_window_layout.cc, the lookup display in
// main_window_lookup.cc, the companion windows' hooks in
// main_window_commands.cc.
#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSizeGrip>
#include <QSplitter>
#include <QTextEdit>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/atomic_file.h"
#include "app/history_list.h"
#include "app/ini_file.h"
#include "app/settings.h"
#include "app/storage.h"
#include "editor/add_word_editor.h"
#include "engine/cp1252.h"
#include "engine/dictionary_store.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "engine/stemmer.h"
#include "skin/image_list.h"
#include "skin/skin_widgets.h"
#include "ui/accessible_roles.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"
#include "ui/marker_tooltip.h"
#include "ui/word_list_delegate.h"

namespace tavro2 {

namespace {

// The private message the window posts to itself at its first show (WM_USER +
// 1001); the number lies in Qt's user range.
const QEvent::Type kLoadStartMessage = static_cast<QEvent::Type>(2025);

constexpr int kCreationWidth = 352;
constexpr int kCreationHeight = 424;

// A splitter handle that draws nothing: the panel's colour shows through.
class PlainSplitterHandle : public QSplitterHandle {
 public:
  using QSplitterHandle::QSplitterHandle;

 protected:
  void paintEvent(QPaintEvent*) override {}
};

class PaneSplitter : public QSplitter {
 public:
  explicit PaneSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setHandleWidth(2);
    setChildrenCollapsible(false);
  }

 protected:
  QSplitterHandle* createHandle() override { return new PlainSplitterHandle(orientation(), this); }
};

// The direction choices sit 85 and 128 pixels apart, as on the platform the
// layout was measured on: a 12-pixel indicator with 3 pixels before the text.
class DirectionChoiceStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  // The captions' halo where the skin needs one (SkinPalette::captionHalo).
  void setHalo(std::optional<QColor> halo) { halo_ = halo; }
  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                    bool enabled, const QString& text,
                    QPalette::ColorRole role = QPalette::NoRole) const override {
    if (halo_ && enabled) drawTextHalo(*painter, rect, flags, text, *halo_);
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
  }
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    switch (metric) {
      case PM_ExclusiveIndicatorWidth:
      case PM_ExclusiveIndicatorHeight:
        return 12;
      case PM_RadioButtonLabelSpacing:
        return 3;
      default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
  }

 private:
  std::optional<QColor> halo_;
};

// A read-only rich-text pane whose text area keeps an inner margin: 4 pixels
// left and right, 2 at the top and bottom.
class TranslationPane : public QTextEdit {
 public:
  explicit TranslationPane(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    // A caret the arrow keys move, so the entry can be read line by line.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAutoFillBackground(true);
    document()->setDocumentMargin(1);
    setViewportMargins(4, 2, 4, 2);
  }
};

QListWidget* createWordList(QWidget* parent, const SkinPalette* palette, bool phrases) {
  auto* list = new QListWidget(parent);
  list->setFrameShape(QFrame::NoFrame);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setSelectionMode(phrases ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
  list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  list->setTextElideMode(Qt::ElideNone);
  if (phrases) {
    list->setItemDelegate(new PhraseListDelegate(palette, list));
  } else {
    list->setItemDelegate(new WordListDelegate(palette, list));
  }
  list->setAutoFillBackground(true);
  return list;
}

// A column (word list) and a pane side by side in a panel, 1 pixel in from
// the panel's edges.
QSplitter* fillPanel(QWidget* panel, QWidget* column, QWidget* list, QWidget* pane) {
  auto* columnLayout = new QHBoxLayout(column);
  columnLayout->setContentsMargins(0, 0, 0, 0);
  columnLayout->addWidget(list);
  column->setAutoFillBackground(true);
  column->setBackgroundRole(QPalette::Button);

  auto* splitter = new PaneSplitter(panel);
  splitter->addWidget(column);
  splitter->addWidget(pane);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({105, 240});

  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->addWidget(splitter);
  panel->setAutoFillBackground(true);
  return splitter;
}

}  // namespace

MainWindow::MainWindow(StoragePlaces places, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      places_(std::move(places)),
      store_(std::make_unique<DictionaryStore>()),
      settings_(std::make_unique<Settings>()) {
  setFont(appFont(kFontPixels));
  setWindowIcon(programIcon());
  resize(kCreationWidth, kCreationHeight);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    // (width - w) div 2, not QRect::center(), which lies half a pixel up and
    // left of the middle of an even-sized screen.
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kCreationWidth) / 2,
         area.y() + (area.height() - kCreationHeight) / 2);
  }

  createTitleStrip();
  createDirectionBar();
  sizeGrip_ = new QSizeGrip(this);  // the frameless window's handle for resizing
  sizeGrip_->setObjectName("sizeGrip");
  createPanels();
  createToolBar();
  createFooter();
  createMenu();
  clipboardTimer_ = new QTimer(this);
  clipboardTimer_->setInterval(100);
  typingTimer_ = new QTimer(this);
  typingTimer_->setObjectName("typingTimer");
  typingTimer_->setSingleShot(true);
  typingTimer_->setInterval(kTypingPauseMs);

  // The loader is created idle; the first show starts it. Its end runs on
  // the loader thread, so it only queues a call to this thread: a close that
  // joins the loader never waits on this window.
  loader_ = std::make_unique<DictionaryLoader>(*store_, places_.dataDir, [this] {
    QMetaObject::invokeMethod(
        this, [this] { onLoadFinished(QString::fromStdString(loader_->statusText())); },
        Qt::QueuedConnection);
  });
  suggestionThread_ = new QThreadPool(this);
  suggestionThread_->setObjectName("suggestionThread");
  suggestionThread_->setMaxThreadCount(1);
  // The stemmer's dictionaries load beside the data (onLoadStart).
  lookup_ = std::make_unique<LookupState>(*store_, places_.userDir, Stemmer::shared());

  connectControls();
  startUp();
  clipboardTimer_->start();
}

MainWindow::~MainWindow() {
  // A search for suggestions reads the store: it ends first.
  suggestionThread_->waitForDone();
  if (loader_) {
    loader_->stop();
    loader_->join();
  }
}

void MainWindow::createTitleStrip() {
  titleStrip_ = new SkinTitleStrip(&skin_, this);
  titleStrip_->setObjectName("titleStrip");
  titleStrip_->setGeometry(0, 0, kCreationWidth, 29);

  titleText_ = new ShadowLabel(titleStrip_);
  titleText_->setObjectName("titleText");
  titleText_->setGeometry(40, 8, 33, 17);

  closeGlyph_ = new GlyphButton(kImageClose, kImageCloseHot, kImageClosePressed, titleStrip_);
  closeGlyph_->setObjectName("closeGlyph");
  closeGlyph_->move(313, 7);
  minimizeGlyph_ =
      new GlyphButton(kImageMinimize, kImageMinimizeHot, kImageMinimizePressed, titleStrip_);
  minimizeGlyph_->setObjectName("minimizeGlyph");
  minimizeGlyph_->move(296, 7);
  menuGlyph_ = new GlyphButton(kImageMenu, kImageMenu, kImageMenu, titleStrip_);
  menuGlyph_->setObjectName("menuGlyph");
  menuGlyph_->move(8, 7);
  menuGlyph_->setContextMenuPolicy(Qt::CustomContextMenu);
  modeGlyph_ = new GlyphButton(kImageFullMode, kImageFullMode, kImageFullMode, titleStrip_);
  modeGlyph_->setObjectName("modeGlyph");
  modeGlyph_->move(331, 7);
  modeGlyph_->setToolTip("Switch between compact and full mode");
}

void MainWindow::createDirectionBar() {
  directionBar_ = new GradientPanel(this);
  directionBar_->setObjectName("directionBar");
  directionBar_->setGeometry(0, 32, 353, 33);
  const char* texts[] = {"Automatic", "English - Indonesian", "Indonesian - English"};
  const int lefts[] = {9, 94, 222};
  // Parented after the bar, so it is destroyed after the choices using it.
  auto* style = new DirectionChoiceStyle();
  style->setParent(this);
  for (int i = 0; i < 3; ++i) {
    auto* choice = new QRadioButton(texts[i], directionBar_);
    choice->setStyle(style);
    choice->setObjectName(QStringLiteral("direction%1").arg(i + 1));
    choice->adjustSize();
    choice->setAccessibleName(texts[i]);
    // The places are made for Arial (or its metric twin); a wider substitute
    // font pushes a choice along rather than over the one before it, and
    // the last is cut with "…" at the bar's end.
    const QString family = QFontInfo(choice->font()).family();
    const bool designedFont = family.contains("Arial") || family.contains("Liberation Sans");
    const int left = i == 0 || designedFont
                         ? lefts[i]
                         : std::max(lefts[i], directions_[i - 1]->geometry().right() + 4);
    choice->move(left, 9);
    const int room = directionBar_->width() - 4 - left;
    if (!designedFont && choice->width() > room) {
      const int indicator = choice->width() - choice->fontMetrics().horizontalAdvance(texts[i]);
      choice->setText(choice->fontMetrics().elidedText(texts[i], Qt::ElideRight, room - indicator));
      choice->setToolTip(texts[i]);
      choice->resize(room, choice->height());
    }
    directions_[i] = choice;
  }
  directions_[0]->setToolTip("Automatic switch between two languages");
  directions_[0]->setChecked(true);
}

void MainWindow::createPanels() {
  translationPanel_ = new QWidget(this);
  translationPanel_->setObjectName("translationPanel");
  translationPanel_->setGeometry(5, 91, 345, 102);
  wordColumn_ = new QWidget(translationPanel_);
  mainList_ = createWordList(wordColumn_, &palette_, false);
  mainList_->setObjectName("mainWordList");
  mainList_->setAccessibleName("Headwords");
  mainList_->setToolTip("Main word list");
  translationPane_ = new TranslationPane(translationPanel_);
  translationPane_->setObjectName("translationPane");
  translationPane_->setAccessibleName("Translation");
  translationPane_->setToolTip("The translation");
  new MarkerTooltip(translationPane_);  // owned by the pane
  translationSplitter_ = fillPanel(translationPanel_, wordColumn_, mainList_, translationPane_);

  relatedPanel_ = new QWidget(this);
  relatedPanel_->setObjectName("relatedPanel");
  relatedPanel_->setGeometry(5, 194, 345, 102);
  relatedColumn_ = new QWidget(relatedPanel_);
  relatedList_ = createWordList(relatedColumn_, &palette_, false);
  relatedList_->setObjectName("relatedList");
  relatedList_->setAccessibleName("Related texts");
  relatedList_->setToolTip("Related text");
  relatedPane_ = new TranslationPane(relatedPanel_);
  relatedPane_->setObjectName("relatedTranslationPane");
  relatedPane_->setAccessibleName("Related translation");
  relatedPane_->setToolTip("The translation");
  new MarkerTooltip(relatedPane_);
  relatedSplitter_ = fillPanel(relatedPanel_, relatedColumn_, relatedList_, relatedPane_);

  phrasePanel_ = new QWidget(this);
  phrasePanel_->setObjectName("phrasePanel");
  phrasePanel_->setGeometry(5, 297, 343, 100);
  phrasePanel_->setAutoFillBackground(true);
  phraseList_ = createWordList(phrasePanel_, &palette_, true);
  phraseList_->setObjectName("phraseList");
  phraseList_->setAccessibleName("Phrases");
  phraseList_->viewport()->setMouseTracking(true);
  auto* layout = new QHBoxLayout(phrasePanel_);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->addWidget(phraseList_);
}

void MainWindow::createToolBar() {
  toolBar_ = new GradientPanel(this);
  toolBar_->setObjectName("toolBar");
  toolBar_->setGeometry(1, 64, 353, 28);

  auto imageButton = [this](const char* bitmap, const char* caption, const char* name,
                            const char* hint, int left, int width) {
    auto* button = new ImageButton(buttonBitmap(bitmap), caption, toolBar_);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(QString::fromLatin1(hint));  // what a screen reader says
    button->setGeometry(left, 2, width, 22);
    return button;
  };
  addButton_ = imageButton("BTNADD_BITMAP", "", "addButton", "Add new word", 248, 22);
  aboutButton_ = imageButton("BTNINFO_BITMAP", "", "aboutButton", "About tavro", 319, 22);
  helpButton_ = imageButton("BTNQUESTION_BITMAP", "", "helpButton", "Open Help", 296, 22);
  settingsButton_ = imageButton("BTNSETTING_BITMAP", "", "settingsButton", "Open setting", 272, 22);

  searchPanel_ = new QWidget(toolBar_);
  searchPanel_->setObjectName("searchPanel");
  searchPanel_->setGeometry(8, 2, 121, 22);
  searchPanel_->setAutoFillBackground(true);
  searchBox_ = new QLineEdit(searchPanel_);
  searchBox_->setAccessibleName("Word to look up");
  searchBox_->setObjectName("searchBox");
  searchBox_->setFrame(false);
  searchBox_->setFont(appFont(16, true));
  searchBox_->setToolTip("Write text to find here");
  searchBox_->setTextMargins(1, 0, 1, 0);
  QPalette boxPalette = searchBox_->palette();
  boxPalette.setColor(QPalette::Base, Qt::white);
  boxPalette.setColor(QPalette::Text, Qt::black);
  searchBox_->setPalette(boxPalette);
  auto* layout = new QHBoxLayout(searchPanel_);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->addWidget(searchBox_);

  clipboardButton_ = imageButton("BBCLIPBOARD_BITMAP", "", "clipboardButton",
                                 "Activate Clipboard monitoring", 227, 22);
  findButton_ = imageButton("BTNFIND_BITMAP", "Find", "findButton", "Find word", 132, 48);
  phraseButton_ = imageButton("BBADD_BITMAP", "", "phraseButton", "Show phrase", 204, 22);
  containButton_ = imageButton("BBREL_BITMAP", "", "containButton", "Show related text", 181, 22);
  for (ImageButton* toggle : {clipboardButton_, phraseButton_, containButton_}) {
    toggle->setCheckable(true);
    toggle->setFaceColor(kWhite);
  }
}

void MainWindow::createFooter() {
  auto panel = [this](const char* name, QRect geometry) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(166, 202, 240));
    label->setPalette(p);
    return label;
  };
  statusLine_ = panel("statusLine", QRect(3, 400, 219, 20));
  statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  installAccessibleRoles();
  linkPanel_ = panel("linkPanel", QRect(224, 400, 122, 20));
  linkPanel_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

  // Stacking: the title strip lies over the direction bar's top rows, and
  // the panels and the status line over the tool bar, which compact mode
  // stretches behind them.
  toolBar_->lower();
  titleStrip_->raise();
}

// The commands of the menu and the keys, in the menu's order. Each row gives
// one QAction of the window: its key works wherever the focus is in the main
// window, and a row with a caption is also a menu item, showing its key.
void MainWindow::createMenu() {
  struct Command {
    const char* caption;  // nullptr: a separator; "": a key with no menu item
    QKeyCombination key;
    void (MainWindow::*run)();  // nullptr: the "Select to Translate" switch
  };
  static const Command kCommands[] = {
      {"Options", Qt::CTRL | Qt::Key_O, &MainWindow::openOptions},
      {nullptr, Qt::Key_unknown, nullptr},
      {"Minimize", Qt::CTRL | Qt::Key_M, &MainWindow::minimizeProgram},
      {"Compact Mode", Qt::CTRL | Qt::Key_S, &MainWindow::compactCycle},
      {"History", Qt::CTRL | Qt::Key_H, &MainWindow::toggleHistory},
#ifdef TAVRO2_HAVE_SOUND
      {"Pronounce", Qt::CTRL | Qt::Key_P, &MainWindow::pronounce},
#endif
      {"Select to Translate", Qt::Key_unknown, nullptr},
      {nullptr, Qt::Key_unknown, nullptr},
      {"Open Help", Qt::Key_F1, &MainWindow::openHelp},
      {"About...", Qt::Key_unknown, &MainWindow::openAbout},
      {nullptr, Qt::Key_unknown, nullptr},
      {"Exit", Qt::CTRL | Qt::Key_Q, &MainWindow::exitProgram},
      {"", Qt::CTRL | Qt::Key_X, &MainWindow::exitProgram},  // unless the box cuts (eventFilter)
      {"", Qt::SHIFT | Qt::Key_F10, &MainWindow::openMenuFromKeyboard},
      {"", Qt::Key_Menu, &MainWindow::openMenuFromKeyboard},
      {"", Qt::CTRL | Qt::Key_Plus, &MainWindow::enlargeText},
      {"", Qt::CTRL | Qt::Key_Equal, &MainWindow::enlargeText},  // + without Shift
      {"", Qt::CTRL | Qt::Key_Minus, &MainWindow::shrinkText},
      {"", Qt::CTRL | Qt::Key_0, &MainWindow::resetTextSize},
      {"", Qt::Key_F6, &MainWindow::focusHistory},
  };
  menu_ = new QMenu(this);
  menu_->setObjectName("popupMenu");
  for (const Command& command : kCommands) {
    if (command.caption == nullptr) {
      menu_->addSeparator();
      continue;
    }
    const QKeySequence key =
        command.key.key() == Qt::Key_unknown ? QKeySequence() : QKeySequence(command.key);
    QString caption = QString::fromLatin1(command.caption);
    if (!key.isEmpty()) caption += '\t' + key.toString(QKeySequence::PortableText);
    auto* action = new QAction(caption, this);
    if (command.run == nullptr) {
      useSelectionAction_ = action;
      action->setObjectName("useSelectionAction");
      action->setCheckable(true);
      connect(action, &QAction::triggered, this, &MainWindow::setUseSelection);
    } else {
      connect(action, &QAction::triggered, this, command.run);
    }
    if (!key.isEmpty() && !shortcutKeys_.contains(key)) {
      action->setShortcut(key);
      shortcutKeys_.append(key);
      addAction(action);
    }
    if (*command.caption != '\0') menu_->addAction(action);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // The search box would claim Ctrl+X, Ctrl+H and others for its own
  // editing; the window's keys come first.
  if (watched == searchBox_ && type == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    // With text selected, Ctrl+X cuts it; without, it still exits.
    if (key->matches(QKeySequence::Cut) && searchBox_->hasSelectedText()) {
      event->accept();
      return true;
    }
    if (shortcutKeys_.contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(key->key()))))) {
      event->ignore();
      return true;
    }
  }
  // Enter on a related text looks it up.
  if (watched == relatedList_ && type == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && relatedList_->currentItem()) {
      searchBox_->setText(relatedList_->currentItem()->text());
      search();
      return true;
    }
  }
  // Tabbing into the word list keeps the entry found: its line is chosen.
  if (watched == mainList_ && type == QEvent::FocusIn && mainList_->currentRow() < 0) {
    const QString shown = translationPane_->toPlainText().section(' ', 0, 0);
    const auto found = mainList_->findItems(shown, Qt::MatchFixedString);
    if (!found.isEmpty()) mainList_->setCurrentItem(found.front());
  }
  // Enter on a line of the typing list or on a suggestion looks it up.
  if (watched == mainList_ && type == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        lookUpOfferedLine(mainList_->currentItem()))
      return true;
  }
  // Up and Down in the box move through the typing list or the
  // suggestions; the box takes the word, so Enter looks it up.
  if (watched == searchBox_ && type == QEvent::KeyPress &&
      (lookup_->typingListShown() || lookup_->suggestionsShown())) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
      const int first = entryOfRow(0) < 0 ? 1 : 0;  // under the suggestions' heading
      const int row = std::clamp(mainList_->currentRow() + (key == Qt::Key_Down ? 1 : -1), first,
                                 mainList_->count() - 1);
      mainList_->setCurrentRow(row);
      if (const QListWidgetItem* item = mainList_->item(row)) searchBox_->setText(item->text());
      return true;
    }
  }
  if (watched == translationPane_->viewport() && type == QEvent::MouseButtonDblClick) {
    wideToggle();
    return false;
  }
  if (watched == relatedList_->viewport() && type == QEvent::MouseButtonDblClick) {
    QMetaObject::invokeMethod(this, &MainWindow::onRelatedDoubleClicked, Qt::QueuedConnection);
    return false;
  }
  if (watched == phraseList_->viewport() && type == QEvent::MouseMove) {
    updatePhraseHint(static_cast<QMouseEvent*>(event)->position().toPoint());
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::connectControls() {
  // Tab follows the window as it reads: the box, the tool bar left to
  // right, the direction, then the panels top to bottom.
  QWidget* const tabOrder[] = {searchBox_,       findButton_,      containButton_,  phraseButton_,
                               clipboardButton_, addButton_,       settingsButton_, helpButton_,
                               aboutButton_,     directions_[0],   directions_[1],  directions_[2],
                               mainList_,        translationPane_, relatedList_,    relatedPane_,
                               phraseList_};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i)
    QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

  searchBox_->installEventFilter(this);
  relatedList_->installEventFilter(this);
  mainList_->installEventFilter(this);
  translationPane_->viewport()->installEventFilter(this);
  relatedList_->viewport()->installEventFilter(this);
  phraseList_->viewport()->installEventFilter(this);

  connect(titleStrip_, &SkinTitleStrip::doubleClicked, this, &MainWindow::compactToggle);
  connect(titleText_, &ShadowLabel::doubleClicked, this, &MainWindow::compactToggle);
  connect(titleStrip_, &SkinTitleStrip::released, this, &MainWindow::onTitleReleased);
  connect(modeGlyph_, &GlyphButton::activated, this, &MainWindow::compactToggle);
  connect(closeGlyph_, &GlyphButton::activated, this, [this] {
    closeHistoryWindow();
    exitProgram();
  });
  connect(minimizeGlyph_, &GlyphButton::activated, this, &MainWindow::minimizeProgram);
  for (GlyphButton* glyph : {closeGlyph_, minimizeGlyph_}) {
    connect(glyph, &GlyphButton::releasedOutside, this, &MainWindow::onGlyphReleasedOutside);
  }
  connect(menuGlyph_, &GlyphButton::activated, this, [this] { menu_->popup(QCursor::pos()); });
  connect(menuGlyph_, &QWidget::customContextMenuRequested, this,
          [this] { menu_->popup(QCursor::pos()); });

  for (int i = 0; i < 3; ++i) {
    connect(directions_[i], &QRadioButton::toggled, this, [this, i](bool checked) {
      if (checked) onDirectionClicked(i + 1);
    });
  }
  connect(searchBox_, &QLineEdit::returnPressed, this, &MainWindow::search);
  connect(searchBox_, &QLineEdit::textEdited, this, [this] {
    if (settings_->LookAsYouType) typingTimer_->start();
  });
  connect(typingTimer_, &QTimer::timeout, this, &MainWindow::showTypingList);
  // A click on a line of the typing list or on a suggestion looks that
  // word up.
  connect(mainList_, &QListWidget::itemClicked, this,
          [this](const QListWidgetItem* item) { lookUpOfferedLine(item); });
  connect(findButton_, &QAbstractButton::clicked, this, &MainWindow::search);
  connect(addButton_, &QAbstractButton::clicked, this, &MainWindow::openAddWord);
  connect(aboutButton_, &QAbstractButton::clicked, this, &MainWindow::openAbout);
  connect(helpButton_, &QAbstractButton::clicked, this, &MainWindow::openHelp);
  connect(settingsButton_, &QAbstractButton::clicked, this, &MainWindow::openOptions);
  connect(containButton_, &QAbstractButton::clicked, this, &MainWindow::onContainToggled);
  connect(phraseButton_, &QAbstractButton::clicked, this, &MainWindow::onPhraseToggled);
  connect(clipboardButton_, &QAbstractButton::clicked, this, &MainWindow::onClipboardToggled);
  connect(mainList_, &QListWidget::currentRowChanged, this, &MainWindow::onMainSelection);
  connect(relatedList_, &QListWidget::currentRowChanged, this, &MainWindow::onRelatedSelection);
  connect(clipboardTimer_, &QTimer::timeout, this, &MainWindow::pollClipboard);
}

// Start-up inside the window's creation: shape, files, caption, layout,
// settings, direction, skin, companions. The data loads after the first show.
void MainWindow::startUp() {
  setMask(roundedWindowRegion(kCreationWidth, kCreationHeight, kMainWindowShapeExtra));

  ini_ = std::make_unique<IniFile>(places_.configDir + kSettingsFileName, kSettingsSection);
  history_ = std::make_unique<HistoryList>(places_.userDir + kHistoryFileName);
  history_->load();
  // A writer killed between writing its temporary file and renaming it left
  // the temporary behind; only ours, and only those of writers now gone.
  for (const std::string& written :
       {places_.configDir + kSettingsFileName, places_.userDir + kHistoryFileName,
        places_.userDir + kEnglishListName, places_.userDir + kIndonesianListName,
        places_.userDir + kPhraseListName})
    removeStaleTemporaries(written);

  setWindowTitle(kWindowCaption);
  titleText_->setText(kWindowCaption);
  titleText_->setFont(appFont(14, true));
  titleText_->fitToText();
  titleText_->move((titleStrip_->width() - titleText_->width()) / 2,
                   (titleStrip_->height() - titleText_->height()) / 2);
  linkPanel_->setText(kMakerWebAddress);
  linkPanel_->setToolTip(QStringLiteral("Visit ") + kMakerWebAddress);
  linkPanel_->setAccessibleName(kMakerWebAddress);

  applyFullLayout();
  readSettings();
  setStayOnTop(settings_->AlwaysOnTop);
  applyLanguage();
  applySkin(settings_->Skin);
  createCompanionWindows();
}

bool MainWindow::clipboardMonitoring() const { return clipboardButton_->isChecked(); }

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Restored by the window system, or re-created for a flag: not shown anew.
  if (event->spontaneous() || changingFlags_) return;
  if (!shownOnce_) {
    shownOnce_ = true;
    QCoreApplication::postEvent(this, new QEvent(kLoadStartMessage));
  }
  activateWindow();
  searchBox_->setFocus();
  relatedPanel_->setVisible(containButton_->isChecked());
  phrasePanel_->setVisible(phraseButton_->isChecked());
  applyPanelLayout();
  if (readCompactMode(*ini_)) {
    setCompactMode(true);
    // Bring back the compact layout last used (normal or wide).
    setWideCompact(wide_);
  }
  setTranslationHint();
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == kLoadStartMessage) {
    onLoadStart();
    return true;
  }
  return QWidget::event(event);
}

void MainWindow::onLoadStart() {
  setStatusText(" Loading Data...");
  loader_->start();
  // Hunspell's dictionaries are needed only for words the data lacks; they
  // load at the lowest priority, so the data's loading does not wait for them.
  for (StemLanguage language : {StemLanguage::kEnglish, StemLanguage::kIndonesian})
    Stemmer::shared()->prepare(language);
}

void MainWindow::onLoadFinished(const QString& status) {
  loadStatus_ = bytesOf(status);
  setStatusText(loadStatus_);
  noteFocusOnlyClipboard();
  emit loadFinished(status);
}

// Wayland's own clipboard tells only the focused program of a new text
// (sway and KWin offer data-control, which tells everyone; GNOME and weston
// do not): said once, the first time monitoring is on there.
void MainWindow::noteFocusOnlyClipboard() {
  if (focusOnlyNoted_ || !clipboardMonitoring() || !companions_->clipboardNeedsFocus()) return;
  focusOnlyNoted_ = true;
  setStatusText(" Clipboard is read only while this window is active");
}

void MainWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous() && !changingFlags_) hidden_ = true;
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) onMinimizeCommand();
}

// Closing is always allowed and writes nothing: every setting and history
// entry was saved when it changed. The loader is asked to stop between
// chunks and joined; its end only queues a call to this thread, so the join
// cannot wait on us.
void MainWindow::closeEvent(QCloseEvent* event) {
  // The add-word editor may hold unsaved words: it asks first, and a Cancel
  // there (or a save that failed) keeps the program running.
  if (addWordEditor_ && !addWordEditor_->close()) {
    event->ignore();
    return;
  }
  closeHistoryWindow();
  clipboardTimer_->stop();
  loader_->stop();
  loader_->join();
  event->accept();
}

// The manual opens in the desktop's browser. When there is none to open it
// with, the window says so, with the manual's path for another program, and
// stays where it is.
void MainWindow::openHelp() {
  const std::string manual = manualPath();
  if (manual.empty()) {
    setStatusText(" Help: the manual is not installed");
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual)))) {
    setStatusText(" Help: no program opens the manual, " + utf8To1252(manual));
    return;
  }
  showMinimized();
}

void MainWindow::exitProgram() { close(); }

void MainWindow::applyCaptionHalo() {
  std::optional<QColor> halo;
  if (palette_.captionHalo) halo = toQColor(*palette_.captionHalo);
  static_cast<DirectionChoiceStyle*>(directions_[0]->style())->setHalo(halo);
  for (QRadioButton* direction : directions_) direction->update();
  for (ImageButton* button : {findButton_, addButton_, settingsButton_, helpButton_, aboutButton_,
                              clipboardButton_, containButton_, phraseButton_})
    button->setTextHalo(halo);
}

void MainWindow::openMenuFromKeyboard() {
  menu_->popup(searchBox_->mapToGlobal(QPoint(0, searchBox_->height())));
}

void MainWindow::onTitleReleased() {
  closeGlyph_->clearPressed();
  minimizeGlyph_->clearPressed();
}

void MainWindow::onGlyphReleasedOutside(QPoint globalPos) {
  if (titleStrip_->rect().contains(titleStrip_->mapFromGlobal(globalPos))) onTitleReleased();
}

}  // namespace tavro2
