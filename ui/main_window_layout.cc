// The main window's modes and layouts, its settings and its skin.
//
// Geometry follows one convention: a control's "right" is its left plus its
// width and its "bottom" its top plus its height (one past the last pixel).
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QSizeGrip>
#include <QSplitter>
#include <QTextEdit>

#include "app/ini_file.h"
#include "app/settings.h"
#include "engine/lookup_state.h"
#include "engine/query_text.h"
#include "skin/image_list.h"
#include "skin/skin_widgets.h"
#include "ui/format_adapter.h"
#include "ui/main_window.h"

namespace tavro2 {

namespace {

int rightOf(const QWidget* w) { return w->x() + w->width(); }
int bottomOf(const QWidget* w) { return w->y() + w->height(); }

constexpr int kFullHeight = 435;
constexpr int kCompactHeight = 118;
constexpr int kMinimumWidth = 352;  // the first width, the narrowest
constexpr int kShapeHeight = 424;   // the rounded shape's height at the first size
constexpr int kGripSize = 12;

void setBackground(QWidget* widget, ColorRef color, QPalette::ColorRole role = QPalette::Window) {
  QPalette p = widget->palette();
  p.setColor(role, toQColor(color));
  if (role == QPalette::Base) p.setColor(QPalette::Window, toQColor(color));
  widget->setPalette(p);
}

void setTextColor(QWidget* widget, ColorRef color) {
  QPalette p = widget->palette();
  p.setColor(QPalette::WindowText, toQColor(color));
  widget->setPalette(p);
}

}  // namespace

void MainWindow::applyFullLayout() {
  const int width = std::max(fullWidth_, kMinimumWidth);
  if (fullHeight_ < kFullHeight) fullHeight_ = kFullHeight;
  // Sizes set here are the layout's own, not the user's (the bounds move
  // the window too when it is in the compact size).
  layingOut_ = true;
  setMinimumSize(kMinimumWidth, kFullHeight);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  resize(width, fullHeight_);
  layingOut_ = false;
  // Room above the first size goes to the panels: a third each.
  const int extra = fullHeight_ - kFullHeight;
  placeTitleGlyphs();

  directionBar_->setGeometry(3, bottomOf(titleStrip_) - 4, width - 6, 32);
  toolBar_->setGeometry(directionBar_->x(), bottomOf(directionBar_), directionBar_->width(), 32);
  searchPanel_->setGeometry(5, 6, 109, searchPanel_->height());
  findButton_->setGeometry(rightOf(searchPanel_) + 2, searchPanel_->y(), findButton_->width(), 22);

  auto placeAfter = [this](QWidget* button, const QWidget* before, int gap) {
    button->setGeometry(rightOf(before) + gap, findButton_->y(), button->width(),
                        findButton_->height());
  };
  placeAfter(containButton_, findButton_, 10);
  placeAfter(phraseButton_, containButton_, 1);
  placeAfter(clipboardButton_, phraseButton_, 1);
  placeAfter(addButton_, clipboardButton_, 10);
  placeAfter(settingsButton_, addButton_, 1);
  placeAfter(helpButton_, settingsButton_, 1);
  placeAfter(aboutButton_, helpButton_, 1);

  translationPanel_->setGeometry(8, bottomOf(toolBar_) + 6, width - 16, 102 + extra / 3);
  relatedPanel_->setGeometry(translationPanel_->x(), bottomOf(translationPanel_) + 2,
                             translationPanel_->width(), translationPanel_->height());
  phrasePanel_->setGeometry(translationPanel_->x(), bottomOf(relatedPanel_) + 2,
                            translationPanel_->width(), 100 + extra - 2 * (extra / 3));
  statusLine_->setGeometry(translationPanel_->x(), bottomOf(phrasePanel_) + 4,
                           translationPanel_->width() - 120, statusLine_->height());
  linkPanel_->setGeometry(translationPanel_->x() + statusLine_->width() + 2, statusLine_->y(), 118,
                          linkPanel_->height());
  fitLinkText();
  sizeGrip_->setGeometry(width - kGripSize - 2, fullHeight_ - kGripSize - 2, kGripSize, kGripSize);
  sizeGrip_->show();
  sizeGrip_->raise();
  // The rounded shape grows with the window; at the first size it is the
  // shape of before.
  setMask(roundedWindowRegion(width, fullHeight_ - (kFullHeight - kShapeHeight),
                              kMainWindowShapeExtra));
  fitStatusFont();
}

void MainWindow::placeTitleGlyphs() {
  const int width = this->width();  // the compact layouts have the first width
  titleStrip_->setGeometry(0, 0, width, titleStrip_->height());
  closeGlyph_->move(width - (kMinimumWidth - 313), closeGlyph_->y());
  minimizeGlyph_->move(width - (kMinimumWidth - 296), minimizeGlyph_->y());
  modeGlyph_->move(width - (kMinimumWidth - 331), modeGlyph_->y());
  titleText_->move((width - titleText_->width()) / 2, titleText_->y());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (layingOut_ || compact_ || sizeGrip_ == nullptr) return;
  // The user's new size: the full layout takes it.
  fullWidth_ = std::max(width(), kMinimumWidth);
  fullHeight_ = std::max(height(), kFullHeight);
  applyFullLayout();
  applyPanelLayout();
}

void MainWindow::applyPanelLayout() {
  const bool contain = containButton_->isChecked();
  const bool phrase = phraseButton_->isChecked();
  QRect panel = translationPanel_->geometry();
  const int extra = std::max(fullHeight_, kFullHeight) - kFullHeight;
  if (contain && phrase) {
    applyFullLayout();
  } else if (contain) {
    panel.setHeight(153 + extra / 2);
    translationPanel_->setGeometry(panel);
    relatedPanel_->setGeometry(relatedPanel_->x(), bottomOf(translationPanel_) + 2,
                               relatedPanel_->width(), 153 + extra - extra / 2);
  } else if (phrase) {
    panel.setHeight(102 + extra / 3);
    translationPanel_->setGeometry(panel);
    phrasePanel_->setGeometry(phrasePanel_->x(), bottomOf(translationPanel_) + 2,
                              phrasePanel_->width(), 204 + extra - extra / 3);
  } else {
    panel.setHeight(308 + extra);
    translationPanel_->setGeometry(panel);
  }
  relatedPanel_->setVisible(contain);
  phrasePanel_->setVisible(phrase);
}

void MainWindow::setCompactMode(bool on) {
  compact_ = on;
  for (QWidget* part :
       {static_cast<QWidget*>(directionBar_), wordColumn_, relatedPanel_, phrasePanel_,
        static_cast<QWidget*>(containButton_), static_cast<QWidget*>(phraseButton_)}) {
    part->setVisible(!on);
  }
  // The splitter's handle goes with the column it drags.
  translationSplitter_->handle(1)->setVisible(!on);
  settingsWritten(ini_->writeBoolean(settings_key::kCompactMode, on));
  syncLookupSettings();

  if (!on) {
    modeGlyph_->setRestImage(kImageFullMode);
    applyFullLayout();
    return;
  }
  sizeGrip_->hide();
  setFixedSize(kMinimumWidth, kCompactHeight);  // the compact layouts keep their size
  placeTitleGlyphs();
  toolBar_->setGeometry(toolBar_->x(), 32, toolBar_->width(), height() - 35);
  modeGlyph_->setRestImage(kImageCompactMode);
  searchPanel_->setGeometry(searchPanel_->x(), 3, 90, searchPanel_->height());
  clipboardButton_->move(searchPanel_->x(), bottomOf(searchPanel_) + 4);
  settingsButton_->move(rightOf(clipboardButton_) + 1, clipboardButton_->y());
  helpButton_->move(rightOf(settingsButton_), clipboardButton_->y());
  aboutButton_->move(rightOf(helpButton_), clipboardButton_->y());
  translationPanel_->setGeometry(102, 34, 245, 77);
  statusLine_->setGeometry(statusLine_->x(), 90, searchPanel_->width(), statusLine_->height());
  fitStatusFont();
}

void MainWindow::setWideCompact(bool on) {
  if (!compact_) {
    statusLine_->show();
    return;
  }
  if (on) {
    translationPanel_->setGeometry(7, translationPanel_->y(), width() - 14,
                                   translationPanel_->height());
    statusLine_->hide();
  } else {
    translationPanel_->setGeometry(102, 34, 245, 77);
    statusLine_->show();
  }
  wide_ = on;
}

void MainWindow::setTranslationHint() {
  translationPane_->setToolTip(
      compact_ ? "Double click to switch between full and normal compact mode" : "The translation");
}

void MainWindow::compactToggle() {
  setCompactMode(!compact_);
  setWideCompact(wide_);
  if (!compact_) applyPanelLayout();
  setTranslationHint();
}

// Full -> compact -> wide compact -> full. The wide flag survives full mode
// (the compact toggle brings the wide layout back), so "wide" alone does not
// mean the window is in the wide layout: only in compact mode does the cycle
// leave it; from full mode it always enters the normal compact layout.
void MainWindow::compactCycle() {
  if (compact_ && !wide_) {
    setWideCompact(true);
  } else if (compact_ && wide_) {
    setWideCompact(false);
    setCompactMode(false);
  } else {
    setCompactMode(true);
    setWideCompact(false);
  }
  if (!compact_) applyPanelLayout();
  setTranslationHint();
}

void MainWindow::wideToggle() { setWideCompact(!wide_); }

// --- Settings -----------------------------------------------------------------

void MainWindow::readSettings() {
  *settings_ = tavro2::readSettings(*ini_);
  clipboardButton_->setChecked(settings_->UseClipboard);
  containButton_->setChecked(settings_->ShowContain);
  phraseButton_->setChecked(settings_->ShowPhrase);
  useSelectionAction_->setChecked(settings_->UseSelection);
  for (ImageButton* toggle : {clipboardButton_, containButton_, phraseButton_}) {
    restyleToggle(toggle);
  }
  setStayOnTop(settings_->AlwaysOnTop);
  setOpacity(this, settings_->AlphaBlend);
  applyTextZoom();
  syncLookupSettings();
  onSettingsApplied();
}

void MainWindow::applyTextZoom() {
  // The word columns keep their size: their width is the splitters' and
  // a headword is short.
  const QFont font = appFont(kFontPixels + 2 * settings_->TextZoom);
  for (QTextEdit* pane : {translationPane_, relatedPane_}) {
    pane->setFont(font);
    pane->document()->setDefaultFont(font);
  }
  phraseList_->setFont(font);
}

void MainWindow::enlargeText() {
  if (settings_->TextZoom >= kTextZoomMax) return;
  ++settings_->TextZoom;
  settingsWritten(ini_->writeInteger(settings_key::kTextZoom, settings_->TextZoom));
  applyTextZoom();
}

void MainWindow::shrinkText() {
  if (settings_->TextZoom <= kTextZoomMin) return;
  --settings_->TextZoom;
  settingsWritten(ini_->writeInteger(settings_key::kTextZoom, settings_->TextZoom));
  applyTextZoom();
}

void MainWindow::resetTextSize() {
  if (settings_->TextZoom == 0) return;
  settings_->TextZoom = 0;
  settingsWritten(ini_->writeInteger(settings_key::kTextZoom, 0));
  applyTextZoom();
}

void MainWindow::applyLanguage() {
  const int language = settings_->Language;
  if (language < 1 || language > 3) return;
  applyingLanguage_ = true;
  for (QRadioButton* choice : directions_) choice->setChecked(false);
  directions_[language - 1]->setChecked(true);
  applyingLanguage_ = false;
  syncLookupSettings();
}

void MainWindow::setStayOnTop(bool on) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  // Changing the flag re-creates a shown window, hiding and showing it; that
  // is no hide or show of the user's, so the events it sends are ignored.
  const bool visible = isVisible();
  changingFlags_ = true;
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) show();
  changingFlags_ = false;
}

void MainWindow::onDirectionClicked(int number) {
  if (applyingLanguage_) return;
  settings_->Language = static_cast<std::uint8_t>(number);
  settingsWritten(ini_->writeInteger(settings_key::kLanguage, number));
  syncLookupSettings();
  // The word on screen is looked up again in the direction chosen (orang:
  // the Indonesian entry, not the English one), with the history's rule.
  if (!trimView(bytesOf(searchBox_->text())).empty()) search();
}

void MainWindow::onContainToggled() {
  settings_->ShowContain = containButton_->isChecked();
  settingsWritten(ini_->writeBoolean(settings_key::kShowContain, settings_->ShowContain));
  restyleToggle(containButton_);
  applyPanelLayout();
}

void MainWindow::onPhraseToggled() {
  settings_->ShowPhrase = phraseButton_->isChecked();
  settingsWritten(ini_->writeBoolean(settings_key::kShowPhrase, settings_->ShowPhrase));
  restyleToggle(phraseButton_);
  applyPanelLayout();
  syncLookupSettings();
}

void MainWindow::onClipboardToggled() {
  settings_->UseClipboard = clipboardButton_->isChecked();
  settingsWritten(ini_->writeBoolean(settings_key::kUseClipboard, settings_->UseClipboard));
  restyleToggle(clipboardButton_);
  noteFocusOnlyClipboard();
}

// The address fits its panel, or ends in "…" (a wider substitute font);
// the hint and the accessible name keep it whole.
void MainWindow::fitLinkText() {
  linkPanel_->setText(QFontMetrics(linkPanel_->font())
                          .elidedText(kMakerWebAddress, Qt::ElideRight, linkPanel_->width() - 4));
}

// Pressed: navy text, opaque face. Released: black text, transparent. (White
// either way where the skin is too dark for them.)
void MainWindow::restyleToggle(ImageButton* button) {
  const bool down = button->isChecked();
  button->setTextColor(toQColor(down ? palette_.toolBarTextDown : palette_.toolBarText));
  button->setOpaque(down);
}

void MainWindow::syncLookupSettings() {
  LookupSettings s;
  Direction direction = Direction::kAutomatic;
  if (directions_[1]->isChecked()) direction = Direction::kEnglishIndonesian;
  if (directions_[2]->isChecked()) direction = Direction::kIndonesianEnglish;
  s.direction = direction;
  s.WordsBefore = settings_->WordsBefore;
  s.WordsAfter = settings_->WordsAfter;
  s.MaxContainTexts = settings_->MaxContainTexts;
  s.CompactMode = compact_;
  s.ShowPhrase = phraseButton_->isChecked();
  s.AutoRemAlpha = settings_->AutoRemAlpha;
  lookup_->setSettings(s);
}

// --- Skin ---------------------------------------------------------------------

void MainWindow::applySkin(int index) {
  skin_.load(index);
  palette_ = computeSkinPalette(skin_);
  const SkinPalette& p = palette_;

  setBackground(this, p.windowColor);
  toolBar_->setColors(p.toolBarTop, p.toolBarBottom);
  directionBar_->setColors(p.directionBarTop, p.directionBarBottom);
  setBackground(mainList_, p.mainWordList, QPalette::Base);
  setBackground(translationPane_, p.translationPane, QPalette::Base);
  setBackground(relatedList_, p.relatedList, QPalette::Base);
  setBackground(relatedPane_, p.relatedTranslationPane, QPalette::Base);
  setBackground(phraseList_, p.phraseList, QPalette::Base);
  setBackground(statusLine_, p.statusLineBack);
  setTextColor(statusLine_, p.statusLineText);
  setBackground(linkPanel_, p.linkPanelBack);
  setTextColor(linkPanel_, p.linkPanelText);
  linkPanel_->setFont(appFont(14, true));
  fitLinkText();
  setBackground(searchPanel_, p.searchFrame);
  setBackground(translationPanel_, p.translationPanel);
  setBackground(relatedPanel_, p.relatedPanel);
  setBackground(phrasePanel_, p.phrasePanel);
  clipboardButton_->setFaceColor(p.clipboardButton);
  containButton_->setFaceColor(p.containButton);
  phraseButton_->setFaceColor(p.phraseButton);
  for (ImageButton* button : {findButton_, addButton_, settingsButton_, helpButton_, aboutButton_})
    button->setTextColor(toQColor(p.toolBarText));
  for (ImageButton* toggle : {clipboardButton_, containButton_, phraseButton_})
    restyleToggle(toggle);
  for (QRadioButton* direction : directions_) setTextColor(direction, p.directionText);
  applyCaptionHalo();
  update();
  titleStrip_->update();
  mainList_->viewport()->update();
  relatedList_->viewport()->update();
  phraseList_->viewport()->update();
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), toQColor(palette_.windowColor));
  paintSkinFrame(painter, rect(), skin_);
}

}  // namespace tavro2
