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
#include <tuple>
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
  const std::pair<const char*, std::int32_t> rows[] = {
      {"", 0},  {"12", 12}, {"+12", 12}, {"-12", -12}, {"12abc", 12}, {"abc", 0},
      {"-", 0}, {"+", 0},   {" 5", 0},   {"007", 7},   {"1-2", 1},    {"--3", 0},
  };
  for (const auto& [text, value] : rows) EXPECT_EQ(BoxNumber(text), value) << text;
  // Beyond the 32-bit range a number stops at its ends.
  for (const char* text : {"99999999999", "2147483647"}) EXPECT_EQ(BoxNumber(text), INT_MAX);
  for (const char* text : {"-99999999999", "-2147483648"}) EXPECT_EQ(BoxNumber(text), INT_MIN);
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  // A dialog over settings read from the file as the main window would.
  std::unique_ptr<OptionsDialog> open(const std::string& iniText = "") {
    if (!iniText.empty()) test::writeFile(ini_.path(), iniText);
    settings_ = ReadSettings(ini_);
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
                       settings_ = ReadSettings(ini_);
                       ++settingsReads_;
                     }};
    return std::make_unique<OptionsDialog>(host);
  }

  template <typename T = QWidget>
  static T* child(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  static QString box(QWidget& dialog, const char* name) {
    return child<QLineEdit>(dialog, name)->text();
  }

  std::optional<std::string> stored(std::string_view key) const { return ini_.ReadString(key); }

  test::TempDir dir_;
  IniFile ini_{dir_.file("Tavro2.ini")};
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
  // MaxContainTexts was bounded on reading.
  EXPECT_EQ(std::tuple(box(*dialog, "wordsBefore"), box(*dialog, "wordsAfter"),
                       box(*dialog, "maxContainTexts"), box(*dialog, "wordHistory")),
            std::tuple("3", "4", "6", "33"));
  EXPECT_FALSE(child<QCheckBox>(*dialog, "alwaysOnTop")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(*dialog, "autoRemAlpha")->isChecked());
  auto* skins = child<QComboBox>(*dialog, "skinList");
  ASSERT_EQ(skins->count(), 20);
  EXPECT_EQ(std::tuple(skins->itemText(0), skins->itemText(19), skins->currentText()),
            std::tuple("Blue Aqua", "Vista Black 2", "Deep Blue Aqua"));
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
  // Read back bounded; -5 cut to 16 bits is 65531.
  EXPECT_EQ(std::tuple(settings_.WordsBefore, settings_.WordsAfter, settings_.MaxContainTexts,
                       settings_.WordHistory, settings_.AlwaysOnTop, settings_.HistoryFromRight),
            std::tuple(100, 100, 6, 12, false, false));
  EXPECT_EQ(dialog->result(), QDialog::Accepted);

  // Saved untouched, the boxes hold the bounded values and the order stays.
  auto again = open("[General]\r\nHistoryFromRight=1\r\nWordsBefore=250\r\n");
  again->show();
  child<QPushButton>(*again, "saveButton")->click();
  EXPECT_EQ(stored("HistoryFromRight"), "1");
  EXPECT_EQ(stored("WordsBefore"), "100");
  EXPECT_FALSE(again->isVisible());
}

TEST_F(OptionsDialogTest, SkinChoiceIsAppliedAndStoredAtOnce) {
  auto dialog = open();
  dialog->show();
  const QPalette before = child<QSlider>(*dialog, "opacity")->palette();
  child<QComboBox>(*dialog, "skinList")->setCurrentIndex(14);

  EXPECT_EQ(appliedSkins_, std::vector<int>{14});
  EXPECT_EQ(stored("Skin"), "14");
  EXPECT_EQ(settings_.Skin, 14);
  const ColorRef deepBlueBase = RgbColor(101, 157, 216);  // zBlueX row 6
  EXPECT_EQ(skin_.SkinBaseColor, deepBlueBase);
  EXPECT_EQ(child<GradientPanel>(*dialog, "body")->bottomColor(), deepBlueBase);
  const QColor slider = child<QSlider>(*dialog, "opacity")->palette().color(QPalette::Window);
  EXPECT_NE(slider, before.color(QPalette::Window));
  EXPECT_EQ(slider, toQColor(BlendColor(kWhite, deepBlueBase, 0.78f)));

  // Leaving by the close glyph keeps the skin and stores nothing else.
  QTest::mouseClick(child(*dialog, "closeGlyph"), Qt::LeftButton);
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
  EXPECT_EQ(std::tuple(slider->value(), OpacityOf(&mainWindow_), stored("AlphaBlend")),
            std::tuple(20, 20, "20"));
  for (auto [set, shown] : {std::pair(300, 255), std::pair(0, 20), std::pair(180, 180)}) {
    slider->setValue(set);
    EXPECT_EQ(slider->value(), shown) << set;
  }
  EXPECT_EQ(std::tuple(OpacityOf(&mainWindow_), stored("AlphaBlend"), settings_.AlphaBlend),
            std::tuple(180, "180", 180));
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
  EXPECT_EQ(std::tuple(window.settings().MaxContainTexts, window.settings().Skin),
            std::tuple(6, 14));
  EXPECT_EQ(window.iniFile().ReadInteger("Skin", 0), 14);
  EXPECT_EQ(window.iniFile().ReadInteger("MaxContainTexts", 10), 0);
}

}  // namespace
}  // namespace tavro2
