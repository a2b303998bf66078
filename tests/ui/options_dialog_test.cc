#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <climits>

#include "app/ini_file.h"
#include "app/settings.h"
#include "engine/dictionary_store.h"
#include "skin/skin_widgets.h"
#include "ui/about_box.h"
#include "ui_test_util.h"

namespace tavro2 {
namespace {

using test::child;

TEST(BoxNumberTest, ParsesSignAndLeadingDigits) {
  const std::pair<const char*, std::int32_t> rows[] = {
      {"", 0},
      {"-12", -12},
      {"12abc", 12},
      {"-", 0},
      {" 5", 0},
      {"--3", 0},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},  // beyond 32 bits: stops at the ends
  };
  for (const auto& [text, value] : rows) EXPECT_EQ(boxNumber(text), value) << text;
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  // A dialog over settings read from the file as the main window would.
  std::unique_ptr<OptionsDialog> open(const std::string& iniText = "") {
    if (!iniText.empty()) test::writeFile(ini_.path(), iniText);
    settings_ = readSettings(ini_);
    skin_.load(settings_.Skin);
    OptionsHost host{&mainWindow_,
                     &settings_,
                     &ini_,
                     &skin_,
                     [this](int index) {
                       skin_.load(index);
                       appliedSkins_.push_back(index);
                     },
                     [this] {
                       settings_ = readSettings(ini_);
                       ++settingsReads_;
                     },
                     [](bool) {},
                     {},
                     selectionReadable_};
    return std::make_unique<OptionsDialog>(host);
  }

  static QLineEdit* box(QWidget& d, const char* name) { return child<QLineEdit>(d, name); }
  std::optional<std::string> stored(std::string_view key) const { return ini_.readString(key); }

  test::TempDir dir_;
  IniFile ini_{dir_.file("Tavro2.ini")};
  Settings settings_;
  SkinState skin_;
  QWidget mainWindow_;
  std::vector<int> appliedSkins_;
  int settingsReads_ = 0;
  bool selectionReadable_ = true;
};

// The worst contrast of any text on a dialog's gradient body with the band
// of gradient behind it.
double worstContrastOn(QWidget& dialog) {
  auto* body = dialog.findChild<GradientPanel*>("body");
  double worst = 21;
  for (QWidget* w : body->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&dialog) || !(qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w)))
      continue;
    const QWidget* panel = w->parentWidget();  // text on a panel of its own is not the body's
    while (panel != body && qobject_cast<const GradientPanel*>(panel) == nullptr)
      panel = panel->parentWidget();
    if (panel != body) continue;
    const QPoint at = w->mapTo(body, QPoint(0, 0));
    auto [top, bottom] = body->band(at.y(), at.y() + w->height() - 1);
    if (w->autoFillBackground())  // on a ground of its own
      top = bottom = colorRefOf(w->palette().color(QPalette::Window));
    worst = std::min(
        worst, worstContrast(colorRefOf(w->palette().color(QPalette::WindowText)), top, bottom));
  }
  return worst;
}

// Every label and check box of the options dialog and the about box reads
// at 4.5:1 on every skin's gradient (a dark skin's lower rows take white).
TEST_F(OptionsDialogTest, TextReadsOnEverySkin) {
  DictionaryStore store;
  for (int index = 0; index < kSkinCount; ++index) {
    auto dialog = open("[General]\r\nSkin=" + std::to_string(index) + "\r\n");
    EXPECT_GE(worstContrastOn(*dialog), kReadableContrast) << skinTable()[index].name;
    AboutBox about(store, dir_.path(), &skin_, nullptr);
    about.show();
    EXPECT_GE(worstContrastOn(about), kReadableContrast) << skinTable()[index].name;
  }
}

TEST_F(OptionsDialogTest, SaveWritesTheNineKeysInOrderThenReadsThemBack) {
  auto dialog = open();
  for (auto [name, text] : {std::pair("wordsBefore", "150"), std::pair("wordsAfter", "-5"),
                            std::pair("maxContainTexts", ""), std::pair("wordHistory", "+12x")}) {
    box(*dialog, name)->setText(text);
  }
  child<QCheckBox>(*dialog, "alwaysOnTop")->setChecked(false);
  EXPECT_TRUE(child<QCheckBox>(*dialog, "lookAsYouType")->isChecked());  // on by default
  child<QCheckBox>(*dialog, "lookAsYouType")->setChecked(false);
  child<QComboBox>(*dialog, "historyOrder")->setCurrentIndex(0);
  child<QPushButton>(*dialog, "saveButton")->click();

  // Not shown, so the file holds exactly what Save wrote, in its order.
  EXPECT_EQ(test::readFile(ini_.path()),
            "[General]\r\nWordsBefore=150\r\nWordsAfter=-5\r\nMaxContainTexts=0\r\n"
            "AlwaysOnTop=0\r\nAutoRemAlpha=1\r\nAlphaBlend=255\r\nWordHistory=12\r\n"
            "HistoryFromRight=0\r\nLookAsYouType=0\r\n");
  EXPECT_EQ(
      std::tuple(settingsReads_, settings_.WordsBefore, settings_.LookAsYouType, dialog->result()),
      std::tuple(1, 100, false, QDialog::Accepted));  // read back bounded
}

// The skin and the opacity are applied and stored at once, without Save.
TEST_F(OptionsDialogTest, SkinAndSliderAreAppliedAndStoredAtOnce) {
  auto dialog = open("[General]\r\nAlphaBlend=5\r\n");
  auto* slider = child<QSlider>(*dialog, "opacity");
  dialog->show();
  // Out of range in the file: shown, applied and stored as 20.
  EXPECT_EQ(std::tuple(slider->value(), opacityOf(&mainWindow_), stored("AlphaBlend")),
            std::tuple(20, 20, "20"));
  slider->setValue(0);
  EXPECT_EQ(slider->value(), 20);
  slider->setValue(180);
  EXPECT_EQ(std::tuple(opacityOf(&mainWindow_), stored("AlphaBlend"), settings_.AlphaBlend),
            std::tuple(180, "180", 180));
  child<QComboBox>(*dialog, "skinList")->setCurrentIndex(14);
  EXPECT_EQ(std::tuple(appliedSkins_, stored("Skin"), settings_.Skin,
                       child<GradientPanel>(*dialog, "body")->bottomColor()),
            std::tuple(std::vector<int>{14}, "14", 14, skin_.skinBaseColor));
  // Leaving by the close glyph keeps them and stores nothing else.
  QTest::mouseClick(child(*dialog, "closeGlyph"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(std::tuple(dialog->isVisible(), dialog->result(), stored("Skin"),
                       stored("WordsBefore").has_value(), settingsReads_),
            std::tuple(false, QDialog::Rejected, "14", false, 0));
}

// By keyboard: the slider takes the focus and its keys, Enter saves, Escape
// closes without saving.
TEST_F(OptionsDialogTest, KeyboardSavesAndCancels) {
  auto dialog = open();
  dialog->show();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  auto* slider = child<QSlider>(*dialog, "opacity");
  slider->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(slider->hasFocus());
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_EQ(slider->value(), 254);
  QTest::keyClick(box(*dialog, "wordHistory"), Qt::Key_Return);
  EXPECT_EQ(std::tuple(dialog->result(), stored("WordHistory").has_value()),
            std::tuple(QDialog::Accepted, true));
  auto again = open();
  again->show();
  QTest::keyClick(box(*again, "wordsBefore"), Qt::Key_Escape);
  EXPECT_EQ(std::tuple(again->isVisible(), again->result()), std::tuple(false, QDialog::Rejected));
}

// A desktop that lets no program read another's selection greys the switch and says why.
TEST_F(OptionsDialogTest, SelectToTranslateIsGreyedWhereNoSelectionCanBeRead) {
  auto first = open();
  auto* readable = child<QCheckBox>(*first, "useSelection");
  selectionReadable_ = false;
  auto second = open();
  auto* greyed = child<QCheckBox>(*second, "useSelection");
  EXPECT_EQ(std::tuple(readable->isEnabled(), greyed->isEnabled(), greyed->toolTip()),
            std::tuple(true, false, QString("This desktop gives programs no selected text to read")));
}

// From the main window: a skin chosen recolours it at once; Save leaves it the bounded values.
TEST(OptionsFromMainWindowTest, SkinAndSaveReachTheMainWindow) {
  test::TempDir dir;
  MainWindow window(dir.path());
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    ran = true;
    dialog->findChild<QComboBox*>("skinList")->setCurrentIndex(14);
    EXPECT_EQ(std::tuple(window.skin().index, window.skin().skinBaseColor,
                         window.findChild<GradientPanel*>("toolBar")->bottomColor()),
              std::tuple(14, rgbColor(101, 157, 216), rgbColor(101, 157, 216)));
    dialog->findChild<QLineEdit*>("maxContainTexts")->setText("0");
    dialog->findChild<QPushButton*>("saveButton")->click();
  });
  window.findChild<QAbstractButton*>("settingsButton")->click();
  EXPECT_TRUE(ran);
  EXPECT_EQ(window.findChild<OptionsDialog*>(), nullptr);  // destroyed on closing
  const IniFile written(dir.file("Tavro2.ini"));
  EXPECT_EQ(std::tuple(window.settings().MaxContainTexts, window.settings().Skin,
                       written.readInteger("Skin", 0), written.readInteger("MaxContainTexts", 10)),
            std::tuple(6, 14, 14, 0));
}

}  // namespace
}  // namespace tavro2
