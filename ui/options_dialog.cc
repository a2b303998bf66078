#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <limits>

#include "app/ini_file.h"
#include "app/settings.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"

namespace tavro2 {
namespace {

// The layout below was drawn for Arial at 11 pixels per em (the platform's
// 8-point default, a line about 14 pixels high); at a larger size the texts
// run into the controls placed beside them.
constexpr int kFontPixels = 11;
constexpr float kWindowMix = 0.2f;
constexpr float kSliderBackgroundMix = 0.78f;
constexpr int kBoxWidth = 41;
constexpr int kBoxHeight = 22;
constexpr int kListHeight = 22;
constexpr int kSliderHeight = 24;

const char* const kFromLeft = "From Left";
const char* const kFromRight = "From Right";

// A label naming `field` (its buddy: a screen reader reads the field by it).
QLabel* makeLabel(const QString& text, int x, int y, QWidget* parent, QWidget* field = nullptr) {
  auto* label = new QLabel(text, parent);
  label->adjustSize();
  label->move(x, y);
  if (field != nullptr) {
    label->setBuddy(field);
    field->setAccessibleName(text);
  }
  return label;
}

}  // namespace

std::int32_t boxNumber(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // One past the largest magnitude, so that "-2147483648" still fits.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = std::min(kCap, magnitude * 10 + (text[i] - '0'));
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

OptionsDialog::OptionsDialog(const OptionsHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      host_(host) {
  setObjectName("F2");
  setWindowTitle("Tavro2 - Options");
  setFixedSize(kWidth, kHeight);
  setFont(appFont(kFontPixels));
  createControls();
  setMask(roundedWindowRegion(kWidth, kHeight, kDialogShapeExtra));
  fillFromSettings();
  // Wayland lets no program keep its window on top or see through it: the
  // switches say so instead of doing nothing.
  if (onNativeWayland()) {
    const QString why = "This desktop does not let programs do this";
    for (QWidget* control : {static_cast<QWidget*>(alwaysOnTop_), static_cast<QWidget*>(opacity_)}) {
      control->setEnabled(false);
      control->setToolTip(why);
    }
  }
  // The keyboard starts at the first option it can change.
  (alwaysOnTop_->isEnabled() ? alwaysOnTop_ : autoRemAlpha_)->setFocus(Qt::OtherFocusReason);

  centerOnScreen(this);
}

void OptionsDialog::showFor(const OptionsHost& host) {
  OptionsDialog dialog(host, host.mainWindow);
  dialog.exec();
}

void OptionsDialog::createControls() {
  titleStrip_ = new SkinTitleStrip(host_.skin, this);
  titleStrip_->setGeometry(0, 0, kWidth, kTitleHeight);
  titleText_ = new ShadowLabel(titleStrip_);
  titleText_->setObjectName("titleText");
  titleText_->setFont(appFont(kFontPixels, true));
  titleText_->setText("Tavro - Options");
  titleText_->fitToText();
  titleText_->move((kWidth - titleText_->width()) / 2, (kTitleHeight - titleText_->height()) / 2);
  closeGlyph_ = createCloseGlyph(titleStrip_);
  closeGlyph_->setObjectName("closeGlyph");
  closeGlyph_->move(262, 7);

  body_ = new GradientPanel(this, kWhite, host_.skin->skinBaseColor);
  body_->setObjectName("body");
  body_->setGeometry(3, kTitleHeight + 3, kWidth - 6, kHeight - kTitleHeight - 6);

  group_ = new QGroupBox(body_);
  group_->setGeometry(6, 8, 272, 193 + kTypingRow);

  alwaysOnTop_ = new QCheckBox("Always on Top", group_);
  alwaysOnTop_->setObjectName("alwaysOnTop");
  alwaysOnTop_->adjustSize();
  alwaysOnTop_->move(9, 15);
  autoRemAlpha_ = new QCheckBox("Auto remove non Alphanumeric", group_);
  autoRemAlpha_->setObjectName("autoRemAlpha");
  autoRemAlpha_->adjustSize();
  autoRemAlpha_->move(9, 39);
  useSelection_ = new QCheckBox("Select to Translate", group_);
  useSelection_->setObjectName("useSelection");
  useSelection_->setToolTip("Look up the text selected in other programs");
  if (!host_.selectionReadable) {
    useSelection_->setEnabled(false);
    useSelection_->setToolTip("This desktop gives programs no selected text to read");
  }
  useSelection_->adjustSize();
  useSelection_->move(140, 15);
  lookAsYouType_ = new QCheckBox("Look up as you type", group_);
  lookAsYouType_->setObjectName("lookAsYouType");
  lookAsYouType_->setToolTip("List the words that begin with what you type, as you type");
  lookAsYouType_->adjustSize();
  lookAsYouType_->move(9, 63);

  wordsBefore_ = makeNumberBox(126, 69 + kTypingRow);
  wordsBefore_->setObjectName("wordsBefore");
  makeLabel("Main words list, before", 9, 74 + kTypingRow, group_, wordsBefore_);
  wordsAfter_ = makeNumberBox(207, 69 + kTypingRow);
  wordsAfter_->setObjectName("wordsAfter");
  makeLabel("After", 173, 74 + kTypingRow, group_, wordsAfter_);
  wordsAfter_->setAccessibleName("Main words list, after");
  maxContainTexts_ = makeNumberBox(126, 92 + kTypingRow);
  maxContainTexts_->setObjectName("maxContainTexts");
  makeLabel("Max Contain text", 9, 96 + kTypingRow, group_, maxContainTexts_);
  maxContainTexts_->setAccessibleDescription("Max 50");
  makeLabel("Max 50", 174, 96 + kTypingRow, group_);

  skinList_ = new QComboBox(group_);
  skinList_->setObjectName("skinList");
  skinList_->setGeometry(126, 115 + kTypingRow, 136, kListHeight);
  for (const SkinInfo& info : skinTable()) skinList_->addItem(info.name);
  auto* skinLabel = makeLabel("Select Skin", 9, 119 + kTypingRow, group_, skinList_);
  skinLabel->setGeometry(9, 119 + kTypingRow, 57, 15);

  wordHistory_ = makeNumberBox(126, 138 + kTypingRow);
  wordHistory_->setObjectName("wordHistory");
  makeLabel("Max word history", 9, 141 + kTypingRow, group_, wordHistory_);
  historyOrder_ = new QComboBox(group_);
  historyOrder_->setObjectName("historyOrder");
  historyOrder_->setGeometry(173, 138 + kTypingRow, 89, kListHeight);
  historyOrder_->addItems({kFromLeft, kFromRight});
  historyOrder_->setAccessibleName("History slides in");

  alphaLabel_ = makeLabel("Alpha Blend", 9, 167 + kTypingRow, group_);

  saveButton_ = new QPushButton("Save", body_);
  saveButton_->setObjectName("saveButton");
  saveButton_->setFont(appFont(kFontPixels, true));
  saveButton_->setGeometry(205, 206 + kTypingRow, 72, 27);
  // Enter saves and Escape closes without saving, as in any dialog.
  saveButton_->setDefault(true);
  connect(saveButton_, &QPushButton::clicked, this, &OptionsDialog::save);
}

QLineEdit* OptionsDialog::makeNumberBox(int x, int y) {
  auto* box = new QLineEdit(group_);
  box->setGeometry(x, y, kBoxWidth, kBoxHeight);
  // Typing takes digits only; the value is still parsed leniently on Save.
  box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
  return box;
}

void OptionsDialog::fillFromSettings() {
  const Settings& settings = *host_.settings;
  skinList_->setCurrentIndex(settings.Skin < skinList_->count() ? settings.Skin : -1);
  wordsBefore_->setText(QString::number(settings.WordsBefore));
  wordsAfter_->setText(QString::number(settings.WordsAfter));
  maxContainTexts_->setText(QString::number(settings.MaxContainTexts));
  alwaysOnTop_->setChecked(settings.AlwaysOnTop);
  autoRemAlpha_->setChecked(settings.AutoRemAlpha);
  useSelection_->setChecked(settings.UseSelection);
  lookAsYouType_->setChecked(settings.LookAsYouType);
  wordHistory_->setText(QString::number(settings.WordHistory));

  opacity_ = new QSlider(Qt::Horizontal, group_);
  opacity_->setObjectName("opacity");
  opacity_->setGeometry(136, 162 + kTypingRow, 120, kSliderHeight);
  opacity_->setRange(kOpacityMin, kOpacityMax);
  opacity_->setFocusPolicy(Qt::StrongFocus);  // the arrow keys move it
  alphaLabel_->setBuddy(opacity_);
  opacity_->setAccessibleName("Alpha Blend");
  opacity_->setAutoFillBackground(true);
  recolor();
  opacity_->setValue(std::clamp<int>(settings.AlphaBlend, kOpacityMin, kOpacityMax));

  // Attached only now, so that filling the controls writes nothing.
  connect(skinList_, &QComboBox::currentIndexChanged, this, &OptionsDialog::skinChanged);
  connect(opacity_, &QSlider::valueChanged, this, &OptionsDialog::opacityChanged);
  connect(useSelection_, &QCheckBox::toggled, this, [this](bool on) {
    if (host_.setUseSelection) host_.setUseSelection(on);
  });
}

void OptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The stored value may lie outside the slider's range (AlphaBlend 5): the
  // slider shows it brought into range, and the main window and the file
  // take that value too.
  const int position = std::clamp<int>(host_.settings->AlphaBlend, kOpacityMin, kOpacityMax);
  {
    const QSignalBlocker quiet(opacity_);
    opacity_->setValue(position);
  }
  opacityChanged(position);
  historyOrder_->setCurrentIndex(host_.settings->HistoryFromRight ? 1 : 0);
}

void OptionsDialog::skinChanged(int index) {
  if (index < 0) return;
  if (host_.applySkin) host_.applySkin(index);
  if (host_.mainWindow) host_.mainWindow->update();
  update();
  titleStrip_->update();
  body_->setColors(kWhite, host_.skin->skinBaseColor);
  recolor();
  settingsWritten(host_.ini->writeInteger(settings_key::kSkin, index));
  // The running value follows the file, so the next opening shows this skin.
  host_.settings->Skin = static_cast<std::uint8_t>(index);
}

void OptionsDialog::opacityChanged(int position) {
  setOpacity(host_.mainWindow, position);
  settingsWritten(host_.ini->writeInteger(settings_key::kAlphaBlend, position));
  // Kept in the running settings too: the next opening starts from it rather
  // than putting the old opacity back.
  host_.settings->AlphaBlend = static_cast<std::uint16_t>(position);
}

void OptionsDialog::save() {
  IniFile& ini = *host_.ini;
  auto number = [](const QLineEdit* box) { return boxNumber(box->text().toStdString()); };
  bool saved = ini.writeInteger(settings_key::kWordsBefore, number(wordsBefore_));
  saved &= ini.writeInteger(settings_key::kWordsAfter, number(wordsAfter_));
  saved &= ini.writeInteger(settings_key::kMaxContainTexts, number(maxContainTexts_));
  saved &= ini.writeBoolean(settings_key::kAlwaysOnTop, alwaysOnTop_->isChecked());
  saved &= ini.writeBoolean(settings_key::kAutoRemAlpha, autoRemAlpha_->isChecked());
  saved &= ini.writeInteger(settings_key::kAlphaBlend, opacity_->value());
  saved &= ini.writeInteger(settings_key::kWordHistory, number(wordHistory_));
  saved &=
      ini.writeBoolean(settings_key::kHistoryFromRight, historyOrder_->currentText() == kFromRight);
  saved &= ini.writeBoolean(settings_key::kLookAsYouType, lookAsYouType_->isChecked());
  if (host_.readSettings) host_.readSettings();
  settingsWritten(saved);
  accept();
}

// The slider and the Save button take the skin's colours; run at creation and
// whenever the skin changes.
void OptionsDialog::recolor() {
  QPalette buttonColors = saveButton_->palette();
  buttonColors.setColor(QPalette::Button, windowColor());
  saveButton_->setPalette(buttonColors);

  QPalette colors = opacity_->style()->standardPalette();
  const ColorRef top = body_->topColor();
  const ColorRef bottom = body_->bottomColor();
  colors.setColor(QPalette::Window, toQColor(blendColor(top, bottom, kSliderBackgroundMix)));
  colors.setColor(QPalette::Button, toQColor(bottom));
  colors.setColor(QPalette::Highlight, toQColor(bottom));
  colors.setColor(QPalette::Mid, toQColor(bottom));
  colors.setColor(QPalette::Light, toQColor(top));
  colors.setColor(QPalette::Dark, toQColor(host_.skin->skinOutlineColor));
  opacity_->setPalette(colors);
  body_->makeTextReadable();
}

void OptionsDialog::settingsWritten(bool saved) {
  if (host_.settingsWritten) host_.settingsWritten(saved);
}

QColor OptionsDialog::windowColor() const {
  return toQColor(blendColor(kWhite, host_.skin->skinBaseColor, kWindowMix));
}

void OptionsDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), windowColor());
  paintSkinFrame(painter, rect(), *host_.skin);
}

}  // namespace tavro2
