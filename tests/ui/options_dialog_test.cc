#include "ui/options_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings.h"
#include "test_util.h"
#include "ui/main_window.h"
#include "ui/skin.h"
#include "ui/skin_widgets.h"

namespace tavro2 {
namespace {

TEST(BoxNumberTest, ParsesSignAndLeadingDigits) {
  struct Row {
    const char* text;
    std::int32_t value;
  };
  const std::vector<Row> rows = {
      {"", 0},
      {"12", 12},
      {"+12", 12},
      {"-12", -12},
      {"12abc", 12},
      {"abc", 0},
      {"-", 0},
      {"+", 0},
      {" 5", 0},
      {"007", 7},
      {"1-2", 1},
      {"--3", 0},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {"-2147483648", INT_MIN},
      {"2147483647", INT_MAX},
  };
  for (const Row& row : rows) EXPECT_EQ(BoxNumber(row.text), row.value) << row.text;
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() : ini_(dir_.file("Tavro2.ini")) {}

  // Settings as the main window would hold them after reading the file.
  std::unique_ptr<OptionsDialog> open(const std::string& iniText = "") {
    if (!iniText.empty()) test::writeFile(ini_.path(), iniText);
    settings_ = ReadSettings(ini_);
    skin_.load(settings_.Skin);
    OptionsHost host;
    host.mainWindow = &mainWindow_;
    host.settings = &settings_;
    host.ini = &ini_;
    host.skin = &skin_;
    host.applySkin = [this](int index) {
      skin_.load(index);
      appliedSkins_.push_back(index);
    };
    host.readSettings = [this] {
      settings_ = ReadSettings(ini_);
      ++settingsReads_;
    };
    return std::make_unique<OptionsDialog>(host);
  }

  template <typename T>
  static T* child(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  std::optional<std::string> stored(std::string_view key) const { return ini_.ReadString(key); }

  test::TempDir dir_;
  IniFile ini_;
  Settings settings_;
  SkinState skin_;
  QWidget mainWindow_;
  std::vector<int> appliedSkins_;
  int settingsReads_ = 0;
};

TEST_F(OptionsDialogTest, ControlsStartFromTheRunningSettings) {
  auto dialog = open(
      "[General]\r\nWordsBefore=3\r\nWordsAfter=4\r\nMaxContainTexts=0\r\nSkin=14\r\n"
      "AlwaysOnTop=0\r\nAutoRemAlpha=1\r\nWordHistory=33\r\nHistoryFromRight=1\r\n");
  EXPECT_EQ(child<QLineEdit>(*dialog, "wordsBefore")->text(), "3");
  EXPECT_EQ(child<QLineEdit>(*dialog, "wordsAfter")->text(), "4");
  EXPECT_EQ(child<QLineEdit>(*dialog, "maxContainTexts")->text(), "6");  // bounded on reading
  EXPECT_EQ(child<QLineEdit>(*dialog, "wordHistory")->text(), "33");
  EXPECT_FALSE(child<QCheckBox>(*dialog, "alwaysOnTop")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(*dialog, "autoRemAlpha")->isChecked());
  auto* skins = child<QComboBox>(*dialog, "skinList");
  ASSERT_EQ(skins->count(), 20);
  EXPECT_EQ(skins->itemText(0), "Blue Aqua");
  EXPECT_EQ(skins->itemText(19), "Vista Black 2");
  EXPECT_EQ(skins->currentText(), "Deep Blue Aqua");
  EXPECT_TRUE(appliedSkins_.empty());  // filling the list applies nothing

  dialog->show();
  EXPECT_EQ(child<QComboBox>(*dialog, "historyOrder")->currentText(), "From Right");
  EXPECT_EQ(dialog->size(), QSize(288, 275));
  EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(OptionsDialogTest, SaveWritesTheEightKeysInOrderThenReadsThemBack) {
  auto dialog = open();
  child<QLineEdit>(*dialog, "wordsBefore")->setText("150");
  child<QLineEdit>(*dialog, "wordsAfter")->setText("-5");
  child<QLineEdit>(*dialog, "maxContainTexts")->setText("");
  child<QLineEdit>(*dialog, "wordHistory")->setText("+12x");
  child<QCheckBox>(*dialog, "alwaysOnTop")->setChecked(false);
  child<QComboBox>(*dialog, "historyOrder")->setCurrentIndex(0);
  child<QPushButton>(*dialog, "saveButton")->click();

  // Not shown, so the slider's show-time write did not run: the file holds
  // exactly what Save wrote, in its order.
  EXPECT_EQ(test::readFile(ini_.path()),
            "[General]\r\nWordsBefore=150\r\nWordsAfter=-5\r\nMaxContainTexts=0\r\n"
            "AlwaysOnTop=0\r\nAutoRemAlpha=1\r\nAlphaBlend=255\r\nWordHistory=12\r\n"
            "HistoryFromRight=0\r\n");
  EXPECT_EQ(settingsReads_, 1);
  EXPECT_EQ(settings_.WordsBefore, 100);
  EXPECT_EQ(settings_.WordsAfter, 100);  // -5 cut to 16 bits is 65531
  EXPECT_EQ(settings_.MaxContainTexts, 6);
  EXPECT_EQ(settings_.WordHistory, 12);
  EXPECT_FALSE(settings_.AlwaysOnTop);
  EXPECT_FALSE(settings_.HistoryFromRight);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(OptionsDialogTest, SaveWithoutTouchingKeepsHistoryFromRight) {
  auto dialog = open("[General]\r\nHistoryFromRight=1\r\nWordsBefore=250\r\n");
  dialog->show();
  child<QPushButton>(*dialog, "saveButton")->click();
  EXPECT_EQ(stored("HistoryFromRight"), "1");
  EXPECT_EQ(stored("WordsBefore"), "100");  // the box showed the bounded value
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(OptionsDialogTest, SkinChoiceIsAppliedAndStoredAtOnce) {
  auto dialog = open();
  dialog->show();
  auto* body = child<GradientPanel>(*dialog, "body");
  const QPalette before = child<QSlider>(*dialog, "opacity")->palette();
  child<QComboBox>(*dialog, "skinList")->setCurrentIndex(14);

  EXPECT_EQ(appliedSkins_, std::vector<int>{14});
  EXPECT_EQ(stored("Skin"), "14");
  EXPECT_EQ(settings_.Skin, 14);
  const ColorRef deepBlueBase = RgbColor(101, 157, 216);  // zBlueX row 6
  EXPECT_EQ(skin_.SkinBaseColor, deepBlueBase);
  EXPECT_EQ(body->bottomColor(), deepBlueBase);
  const QPalette after = child<QSlider>(*dialog, "opacity")->palette();
  EXPECT_NE(after.color(QPalette::Window), before.color(QPalette::Window));
  EXPECT_EQ(after.color(QPalette::Window), toQColor(BlendColor(kWhite, deepBlueBase, 0.78f)));

  // Leaving by the close glyph keeps the skin and stores nothing else.
  QTest::mouseClick(child<QWidget>(*dialog, "closeGlyph"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(stored("Skin"), "14");
  EXPECT_FALSE(stored("WordsBefore").has_value());
  EXPECT_EQ(settingsReads_, 0);
}

TEST_F(OptionsDialogTest, SliderSetsOpacityAndStoresItAtOnce) {
  auto dialog = open("[General]\r\nAlphaBlend=5\r\n");
  auto* slider = child<QSlider>(*dialog, "opacity");
  dialog->show();
  // Out of range in the file: shown, applied and stored as 20.
  EXPECT_EQ(slider->value(), 20);
  EXPECT_EQ(OpacityOf(&mainWindow_), 20);
  EXPECT_EQ(stored("AlphaBlend"), "20");

  slider->setValue(300);
  EXPECT_EQ(slider->value(), 255);
  slider->setValue(0);
  EXPECT_EQ(slider->value(), 20);
  slider->setValue(180);
  EXPECT_EQ(OpacityOf(&mainWindow_), 180);
  EXPECT_EQ(stored("AlphaBlend"), "180");
  EXPECT_EQ(settings_.AlphaBlend, 180);

  dialog->close();
  EXPECT_EQ(stored("AlphaBlend"), "180");

  // The next opening starts from the stored value, not the old one.
  auto again = open();
  again->show();
  EXPECT_EQ(child<QSlider>(*again, "opacity")->value(), 180);
  EXPECT_EQ(OpacityOf(&mainWindow_), 180);
}

// The main window's settings button: the dialog runs modally over it, a skin
// chosen there recolours it at once, and Save leaves it with the bounded
// values read back from the file.
TEST(OptionsFromMainWindowTest, SkinAndSaveReachTheMainWindow) {
  test::TempDir dir;
  MainWindow window(dir.path());
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    ran = true;
    dialog->findChild<QComboBox*>("skinList")->setCurrentIndex(14);
    EXPECT_EQ(window.skin().index, 14);
    EXPECT_EQ(window.skin().SkinBaseColor, RgbColor(101, 157, 216));
    dialog->findChild<QLineEdit*>("maxContainTexts")->setText("0");
    dialog->findChild<QPushButton*>("saveButton")->click();
  });
  window.findChild<QAbstractButton*>("settingsButton")->click();
  EXPECT_TRUE(ran);
  EXPECT_EQ(window.findChild<OptionsDialog*>(), nullptr);  // destroyed on closing
  EXPECT_EQ(window.settings().MaxContainTexts, 6);
  EXPECT_EQ(window.settings().Skin, 14);
  EXPECT_EQ(window.iniFile().ReadInteger("Skin", 0), 14);
  EXPECT_EQ(window.iniFile().ReadInteger("MaxContainTexts", 10), 0);
}

}  // namespace
}  // namespace tavro2
