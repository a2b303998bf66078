#include "ui/about_box.h"

#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include "engine/data_statistics.h"
#include "engine/dictionary_store.h"
#include "skin/image_list.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"
#include "ui/program_names.h"

namespace tavro2 {
namespace {

// The "Freeware" line's grey: the lightest that still reads at 4.5:1 on the
// body's white top.
constexpr ColorRef kFreewareGrey = rgbColor(118, 118, 118);

const char* const kDescription =
    "An English-Indonesian and Indonesian-English dictionary. Small, Simple, Easy and Fast  :)";
// The layout below was drawn for Arial at 11 pixels per em (the platform's
// 8-point default, a line about 14 pixels high); at a larger size the texts
// run into the controls placed beside them.
constexpr int kFontPixels = 11;
// The product name is two sizes up, as 16 is to 14.
constexpr int kProductFontPixels = 13;
constexpr QRgb kShadowColor = 0x808080;
constexpr int kIconSize = 32;

// The icon frame: a panel in the skin's outline colour, read when it paints,
// whose one-pixel edge shows round the icon column it holds.
class OutlinePanel : public QWidget {
 public:
  OutlinePanel(const SkinState* skin, QWidget* parent) : QWidget(parent), skin_(skin) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(skin_->skinOutlineColor));
  }

 private:
  const SkinState* skin_;
};

// The program icon at the panel's top-left corner, over whatever is behind.
class IconPanel : public QWidget {
 public:
  explicit IconPanel(QWidget* parent) : QWidget(parent), icon_(programIconPixmap()) {
    setAttribute(Qt::WA_TranslucentBackground);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (icon_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, kIconSize, kIconSize), icon_);
  }

 private:
  QPixmap icon_;  // released with the box
};

QLabel* makeWrappedLabel(const QString& text, const QRect& geometry, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(geometry);
  return label;
}

}  // namespace

// --- LinkLabel ------------------------------------------------------------------

LinkLabel::LinkLabel(const QString& address, QWidget* parent) : QLabel(address, parent) {
  setCursor(Qt::PointingHandCursor);
  setHovered(false);
  adjustSize();
}

void LinkLabel::setHovered(bool hovered) {
  hovered_ = hovered;
  QFont face = appFont(kFontPixels, true);
  face.setUnderline(hovered);
  setFont(face);
  QPalette colors = palette();
  colors.setColor(QPalette::WindowText, hovered ? QColor(0, 0, 255) : QColor(0, 0, 0));
  setPalette(colors);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  setHovered(true);
}

void LinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  setHovered(false);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  // Whether the browser could be started is not reported.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    QDesktopServices::openUrl(QUrl(text()));
}

// --- AboutBox -------------------------------------------------------------------

QString aboutStatisticsText(const DictionaryStore& store, const std::string& programDir,
                            const QLocale& locale) {
  const DataStatistics stats = readDataStatistics(store, programDir);
  const DateFormatter formatDate = [&locale](const CalendarDate& date) {
    return locale.toString(QDate(date.year, date.month, date.day), "dd MMM yy").toStdString();
  };
  // Everything but the locale's month names is ASCII; those come as UTF-8.
  return QString::fromStdString(dataStatisticsText(stats, formatDate, "\n"));
}

AboutBox::AboutBox(const DictionaryStore& store, const std::string& programDir,
                   const SkinState* skin, QWidget* parent, const QLocale& locale)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), skin_(skin) {
  setObjectName("F3");
  setWindowTitle("Tavro2 - About");
  noticePath_ = programDir + "DATA-NOTICE";
  if (!QFileInfo::exists(QString::fromStdString(noticePath_)))
    noticePath_ =
        QDir::cleanPath(QString::fromStdString(programDir + "../share/tavro2/DATA-NOTICE"))
            .toStdString();
  setFixedSize(kWidth, kHeight);
  setFont(appFont(kFontPixels));
  createControls();
  setMask(roundedWindowRegion(kWidth, kHeight, kDialogShapeExtra));
  statistics_->setText(aboutStatisticsText(store, programDir, locale));

  centerOnScreen(this);
}

void AboutBox::showFor(const DictionaryStore& store, const std::string& programDir,
                       const SkinState* skin, QWidget* parent) {
  AboutBox box(store, programDir, skin, parent);
  box.exec();
}

void AboutBox::createControls() {
  titleStrip_ = new SkinTitleStrip(skin_, this);
  titleStrip_->setGeometry(0, 0, kWidth, kTitleHeight);
  auto* titleText = new ShadowLabel(titleStrip_);
  titleText->setObjectName("titleText");
  titleText->setFont(appFont(kFontPixels, true));
  titleText->setText("About Tavro");
  titleText->fitToText();
  titleText->move(8, 8);
  GlyphButton* closeGlyph = createCloseGlyph(titleStrip_);
  closeGlyph->setObjectName("closeGlyph");
  closeGlyph->move(289, 7);

  body_ = new GradientPanel(this, kWhite, skin_->skinBaseColor);
  body_->setObjectName("body");
  body_->setGeometry(3, kTitleHeight + 3, kWidth - 6, kHeight - kTitleHeight - 6);

  iconFrame_ = new OutlinePanel(skin_, body_);
  iconFrame_->setGeometry(8, 7, 57, 169);
  // The body's gradient upside down.
  iconColumn_ = new GradientPanel(iconFrame_, body_->bottomColor(), body_->topColor());
  iconColumn_->setGeometry(1, 1, 57 - 2, 169 - 2);
  auto* icon = new IconPanel(iconColumn_);
  icon->setGeometry(11, 8, kIconSize, kIconSize);

  auto* product = new ShadowLabel(body_);
  product->setObjectName("product");
  product->setFont(appFont(kProductFontPixels, true));
  product->setTextColor(Qt::black);
  product->setShadowColor(QColor::fromRgb(kShadowColor));
  product->setText(kWindowCaption);
  product->fitToText();
  product->move(73, 7);

  QLabel* freeware = makeWrappedLabel("Freeware", QRect(73, 25, 232, 33), body_);
  freeware->setObjectName("freeware");  // grey, as dark as reads (showEvent)
  makeWrappedLabel(kDescription, QRect(73, 50, 232, 41), body_)->setObjectName("description");
  // Four lines: the three dictionaries and the transcriptions.
  statistics_ = makeWrappedLabel(QString(), QRect(73, 96, 232, 59), body_);
  statistics_->setObjectName("statistics");

  link_ = new LinkLabel(kMakerWebAddress, body_);
  link_->setObjectName("link");
  link_->move(73, 161);

  // The data's licences ask for credit; the notice names the sources.
  auto* credits = makeWrappedLabel(
      QStringLiteral(
          "Dictionary data: FreeDict, WordNet, Wordnet Bahasa - <a href=\"%1\">licences</a>")
          .arg(QUrl::fromLocalFile(QString::fromStdString(noticePath_)).toString()),
      QRect(8, 184, kWidth - 22, 28), body_);
  credits->setObjectName("dataCredits");
  credits->setTextFormat(Qt::RichText);
  // Tab reaches the link and Enter opens it; Escape closes the box.
  credits->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  credits->setFocusPolicy(Qt::StrongFocus);
  credits->setAccessibleName("Dictionary data licences");
  connect(credits, &QLabel::linkActivated, this,
          [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
}

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  body_->setColors(kWhite, skin_->skinBaseColor);
  body_->makeTextReadable({{findChild<QWidget*>("freeware"), kFreewareGrey}});
  iconFrame_->update();
}

void AboutBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  paintSkinFrame(painter, rect(), *skin_);
  // The skin may have changed since the box was shown.
  body_->setColors(kWhite, skin_->skinBaseColor);
  iconColumn_->setColors(body_->bottomColor(), body_->topColor());
}

}  // namespace tavro2
