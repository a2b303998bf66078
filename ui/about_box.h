// The about box (F3): the program's name and version, a line about it, the
// entry count and date of each of the three dictionaries, and a link to the
// maker's web page.
//
// The statistics are read when the box is created, so a box opened while
// the loader is still working shows 0 for the files not loaded yet, and the
// next opening shows the counts of that moment. Dates are formatted with the
// month names of the given locale (the user's, normally).
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLocale>
#include <functional>
#include <string>

class QUrl;

namespace tavro2 {

class DictionaryStore;
class GradientPanel;
class ShadowLabel;
class SkinTitleStrip;
struct SkinState;

// The link label: bold; under the pointer also underlined and blue (RGB
// 0000FF), black again when the pointer leaves; a click opens its text
// through the desktop's URL handler.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  LinkLabel(const QString& address, QWidget* parent);
  bool hovered() const { return hovered_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void setHovered(bool hovered);
  bool hovered_ = false;
};

// The statistics label's text: three lines joined by "\n", counts grouped
// with ",", dates "dd MMM yy" in `locale`, "-" for a data file that is
// missing or too short to hold a date.
QString aboutStatisticsText(const DictionaryStore& store, const std::string& programDir,
                            const QLocale& locale);

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 313;
  // The body's last line credits the dictionary data's authors.
  static constexpr int kHeight = 245;
  static constexpr int kTitleHeight = 29;

  // `programDir` ends with '/'; the data files' dates are read from it, and
  // the data notice (DATA-NOTICE, the sources and their licences) is looked
  // for beside them, then in ../share/tavro2/.
  // `skin` must outlive the box.
  AboutBox(const DictionaryStore& store, const std::string& programDir, const SkinState* skin,
           QWidget* parent = nullptr, const QLocale& locale = QLocale::system());

  // Creates the box, shows it modally over `parent` and destroys it.
  static void showFor(const DictionaryStore& store, const std::string& programDir,
                   const SkinState* skin, QWidget* parent);

  QString statisticsText() const { return statistics_->text(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void createControls();

  const SkinState* skin_;

  SkinTitleStrip* titleStrip_ = nullptr;
  GradientPanel* body_ = nullptr;
  QWidget* iconFrame_ = nullptr;
  GradientPanel* iconColumn_ = nullptr;
  QLabel* statistics_ = nullptr;
  std::string noticePath_;  // the data notice the credits line opens
  LinkLabel* link_ = nullptr;
};

}  // namespace tavro2
