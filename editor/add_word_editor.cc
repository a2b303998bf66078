#include "editor/add_word_editor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTextBlock>
#include <utility>

#include "app/atomic_file.h"
#include "editor/user_list_text.h"
#include "engine/cp1252.h"
#include "engine/data_file.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"

namespace tavro2 {
namespace {

constexpr char16_t kLoneCarriageReturn = 0x240D;  // SYMBOL FOR CARRIAGE RETURN
constexpr char16_t kLoneLineFeed = 0x240A;        // SYMBOL FOR LINE FEED

// The layout below was drawn for Arial at 11 pixels per em (the platform's
// 8-point default, a line about 14 pixels high); at a larger size the texts
// run into the controls placed beside them.
constexpr int kFontPixels = 11;
constexpr float kTextPanelMix = 0.7f;
constexpr float kChoiceStripTopMix = 0.2f;

QString lowerAsciiLetters(QString text) {
  for (QChar& ch : text)
    if (ch >= u'A' && ch <= u'Z') ch = QChar(ch.unicode() - u'A' + u'a');
  return text;
}

bool hasAsciiCapital(const QString& text) {
  for (QChar ch : text)
    if (ch >= u'A' && ch <= u'Z') return true;
  return false;
}

// The editor's text area: letters A-Z typed, pasted or dropped in become
// lower case; text put in by the program stays as it is.
class LowerCaseTextArea : public QPlainTextEdit {
 public:
  explicit LowerCaseTextArea(QWidget* parent) : QPlainTextEdit(parent) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!hasAsciiCapital(event->text())) {
      QPlainTextEdit::keyPressEvent(event);
      return;
    }
    QKeyEvent lowered(event->type(), event->key(), event->modifiers(),
                      lowerAsciiLetters(event->text()), event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&lowered);
    event->setAccepted(lowered.isAccepted());
  }

  void insertFromMimeData(const QMimeData* source) override {
    if (source->hasText()) {
      insertPlainText(lowerAsciiLetters(source->text()));
      return;
    }
    QPlainTextEdit::insertFromMimeData(source);
  }
};

// A plain panel whose colour is computed each time it paints, so it follows
// the skin without being told.
class ColorPanel : public QWidget {
 public:
  ColorPanel(std::function<ColorRef()> color, QWidget* parent)
      : QWidget(parent), color_(std::move(color)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(color_()));
  }

 private:
  std::function<ColorRef()> color_;
};

// A button that Tab reaches but a click does not take the focus to (the
// text area keeps it), with its key in its hint and its name.
QPushButton* makeButton(const QString& caption, bool bold, const QKeySequence& key,
                        QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setFont(appFont(kFontPixels, bold));
  button->setFocusPolicy(Qt::TabFocus);
  button->setAutoDefault(false);
  const QString keyText = key.toString(QKeySequence::NativeText);
  button->setToolTip(caption + " (" + keyText + ")");
  button->setAccessibleDescription(keyText);
  return button;
}

}  // namespace

QMessageBox::StandardButton askWithMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                              const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, title, text, buttons, owner);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

namespace {

// Raw characters, line ends as the file has them, to the text area's text.
QString editorTextOfRaw(const QString& raw, bool lfLineEnds) {
  QString text;
  text.reserve(raw.size());
  for (qsizetype i = 0; i < raw.size(); ++i) {
    const char16_t c = raw[i].unicode();
    if (c == u'\r') {
      if (i + 1 < raw.size() && raw[i + 1] == QChar(u'\n')) {
        text += QChar(u'\n');
        ++i;
      } else {
        text += QChar(kLoneCarriageReturn);
      }
    } else if (c == u'\n') {
      text += QChar(lfLineEnds ? u'\n' : kLoneLineFeed);
    } else {
      text += raw[i];
    }
  }
  return text;
}

QString rawOf1252(std::string_view bytes) {
  QString raw;
  raw.reserve(static_cast<qsizetype>(bytes.size()));
  // Every 1252 code point lies in the basic plane: one UTF-16 unit.
  for (const char c : bytes)
    raw += QChar(static_cast<char16_t>(unicodeOf1252(static_cast<unsigned char>(c))));
  return raw;
}

bool isLineBreak(char16_t unit) {
  return unit == u'\n' || unit == QChar::ParagraphSeparator || unit == QChar::LineSeparator;
}

// True when 1252 holds every character of the text (line ends and the lone
// CR and LF symbols stand for bytes and count as held).
bool holdsOnly1252(const QString& text) {
  for (const QChar ch : text) {
    const char16_t unit = ch.unicode();
    if (isLineBreak(unit) || unit == kLoneCarriageReturn || unit == kLoneLineFeed) continue;
    if (QChar::isSurrogate(unit) || (cp1252Of(unit) == '?' && unit != u'?')) return false;
  }
  return true;
}

}  // namespace

QString editorTextOf(std::string_view bytes) { return editorTextOfRaw(rawOf1252(bytes), false); }

QString editorTextOfFile(std::string_view bytes, const UserListFormat& format) {
  if (!format.utf8 && !format.lfLineEnds) return editorTextOf(bytes);
  if (format.byteOrderMark) bytes.remove_prefix(3);
  const QString raw = format.utf8
                          ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                          : rawOf1252(bytes);
  return editorTextOfRaw(raw, format.lfLineEnds);
}

std::string fileBytesOfEditorText(const QString& text, UserListFormat& format) {
  if (!format.utf8 && !holdsOnly1252(text)) format.utf8 = true;
  const char* lineEnd = format.lfLineEnds ? "\n" : "\r\n";
  if (!format.utf8) {
    std::string bytes = editorBytesOf(text);
    if (!format.lfLineEnds) return bytes;
    std::string lf;  // a list without CR holds no lone-CR symbol either
    lf.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
      if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) lf += bytes[i];
    return lf;
  }
  QString raw;
  raw.reserve(text.size());
  for (const QChar ch : text) {
    const char16_t unit = ch.unicode();
    if (isLineBreak(unit)) {
      raw += QLatin1String(lineEnd);
    } else if (unit == kLoneCarriageReturn) {
      raw += QChar(u'\r');
    } else if (unit == kLoneLineFeed) {
      raw += QChar(u'\n');
    } else {
      raw += ch;
    }
  }
  return (format.byteOrderMark ? std::string("\xEF\xBB\xBF") : std::string()) +
         raw.toUtf8().toStdString();
}

std::string editorBytesOf(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (unit == u'\n' || unit == QChar::ParagraphSeparator || unit == QChar::LineSeparator) {
      bytes += "\r\n";
    } else if (unit == kLoneCarriageReturn) {
      bytes += '\r';
    } else if (unit == kLoneLineFeed) {
      bytes += '\n';
    } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
               QChar::isLowSurrogate(text[i + 1].unicode())) {
      bytes += '?';  // one character outside 1252, one '?'
      ++i;
    } else {
      bytes += cp1252Of(unit);
    }
  }
  return bytes;
}

FAddWord::FAddWord(std::string programDir, const SkinState* skin, QWidget* parent,
                   MessageAsker asker)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      dir_(std::move(programDir)),
      skin_(skin),
      asker_(std::move(asker)) {
  setObjectName("FAddWord");
  setWindowTitle("Tavro2 - Add Word");
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kWidth, kHeight);
  setFont(appFont(kFontPixels));
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);

  createControls();
  applySkin();

  // Selecting "English - Indonesian" counts as a click on it: the hint is set
  // and the English-Indonesian list is loaded, which locks the choice.
  englishButton_->setChecked(true);
  choiceClicked();

  setMask(roundedWindowRegion(kWidth, kHeight, kDialogShapeExtra));
  checkLines_.clear();

  centerOnScreen(this);
}

void FAddWord::createControls() {
  titleStrip_ = new SkinTitleStrip(skin_, this);
  titleStrip_->setGeometry(0, 0, kWidth, 31);

  titleText_ = new ShadowLabel(titleStrip_);
  titleText_->setObjectName("titleText");
  titleText_->setFont(appFont(kFontPixels, true));
  titleText_->setText("Tavro - Add New Word");
  titleText_->fitToText();
  titleText_->move(115, 8);

  GlyphButton* closeGlyph = createCloseGlyph(titleStrip_);
  closeGlyph->setObjectName("closeGlyph");
  closeGlyph->move(337, 7);

  choiceStrip_ = new GradientPanel(this);
  choiceStrip_->setObjectName("choiceStrip");
  choiceStrip_->setGeometry(3, 31, kWidth - 6, 33);
  // A platform-sized gap between box and text, so that both direction
  // buttons fit the strip at their places.
  choiceStrip_->setStyleSheet("QRadioButton, QCheckBox { spacing: 3px; }");

  openButton_ = makeButton("Open", false, QKeySequence::Open, choiceStrip_);
  openButton_->setObjectName("openButton");
  openButton_->setGeometry(8, 7, 41, 20);

  phraseBox_ = new QCheckBox("Phrase", choiceStrip_);
  phraseBox_->setObjectName("phraseBox");
  phraseBox_->adjustSize();
  phraseBox_->move(52, 7);

  englishButton_ = new QRadioButton("English - Indonesian", choiceStrip_);
  englishButton_->setObjectName("englishButton");
  englishButton_->adjustSize();
  englishButton_->move(114, 7);

  indonesianButton_ = new QRadioButton("Indonesian - English", choiceStrip_);
  indonesianButton_->setObjectName("indonesianButton");
  indonesianButton_->adjustSize();
  indonesianButton_->move(232, 7);

  saveButton_ = makeButton("Save", true, QKeySequence::Save, this);
  saveButton_->setObjectName("saveButton");
  saveButton_->setGeometry(12, 66, 61, 20);

  hintLine_ = new QLabel("Information", this);
  hintLine_->setObjectName("hintLine");
  hintLine_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  hintLine_->setGeometry(168, 72, 179, 15);

  textPanel_ = new ColorPanel(
      [this] { return blendColor(kWhite, skin_->skinBaseColor, kTextPanelMix); }, this);
  textPanel_->setGeometry(13, 88, 337, 217);

  textArea_ = new LowerCaseTextArea(textPanel_);
  textArea_->setObjectName("textArea");
  textArea_->setGeometry(2, 2, 337 - 4, 217 - 4);  // inside the panel's 2-pixel border
  textArea_->setFrameShape(QFrame::NoFrame);
  textArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textArea_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textArea_->document()->setDocumentMargin(2);
  textArea_->setEnabled(false);         // until the first list is loaded
  textArea_->setTabChangesFocus(true);  // a list has no tabs; Tab moves on
  textArea_->setAccessibleName("Word list");
  textArea_->setAccessibleDescription("One entry a line: the word, =, its translation");
  hintLine_->setAccessibleName("Information");

  sortButton_ = makeButton("Sort data", true, QKeySequence(Qt::CTRL | Qt::Key_R), this);
  sortButton_->setObjectName("sortButton");
  sortButton_->setGeometry(16, 312, 64, 25);

  closeButton_ = makeButton("Close", true, QKeySequence(Qt::Key_Escape), this);
  closeButton_->setObjectName("closeButton");
  closeButton_->setGeometry(288, 312, 61, 25);

  connect(openButton_, &QPushButton::clicked, this, &FAddWord::openList);
  connect(phraseBox_, &QCheckBox::clicked, this, &FAddWord::choiceClicked);
  connect(englishButton_, &QRadioButton::clicked, this, &FAddWord::choiceClicked);
  connect(indonesianButton_, &QRadioButton::clicked, this, &FAddWord::choiceClicked);
  connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
  connect(sortButton_, &QPushButton::clicked, this, &FAddWord::sortData);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(textArea_, &QPlainTextEdit::textChanged, this, &FAddWord::textChanged);
}

// The buttons' keys reach the window from whichever control has the focus
// (none of them uses these keys); Escape closes, asking first as Close does
// when there are changes.
void FAddWord::keyPressEvent(QKeyEvent* event) {
  const std::pair<QPushButton*, QKeySequence> keys[] = {
      {openButton_, QKeySequence::Open},
      {saveButton_, QKeySequence::Save},
      {sortButton_, QKeySequence(Qt::CTRL | Qt::Key_R)},
      {closeButton_, QKeySequence(Qt::Key_Escape)}};
  const QKeySequence pressed(event->keyCombination());
  for (const auto& [button, key] : keys) {
    if (pressed == key) {
      button->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

QString FAddWord::joinedText() const {
  // Block by block: QPlainTextEdit::toPlainText would turn no-break spaces
  // (byte 0xA0) into plain spaces.
  QString joined;
  for (QTextBlock block = textArea_->document()->begin(); block.isValid(); block = block.next()) {
    if (block != textArea_->document()->begin()) joined += QChar(u'\n');
    joined += block.text();
  }
  return joined;
}

std::string FAddWord::text() const { return editorBytesOf(joinedText()); }

void FAddWord::setText(std::string_view bytes) { textArea_->setPlainText(editorTextOf(bytes)); }

std::string FAddWord::chosenListPath() const {
  const char* name = phraseBox_->isChecked()       ? kPhraseListName
                     : englishButton_->isChecked() ? kEnglishListName
                                                   : kIndonesianListName;
  // The lookup finds a list whatever the case of its name on disk; the editor
  // reads and writes that same file.
  return resolvePath(dir_ + name);
}

void FAddWord::choiceClicked() {
  const bool phrase = phraseBox_->isChecked();
  hintLine_->setText(!phrase && englishButton_->isChecked() ? "english_word = indonesian_word"
                                                            : "indonesian_word = english_word");
  englishButton_->setVisible(!phrase);
  indonesianButton_->setVisible(!phrase);
  if (!locked_) loadChosenList();
}

void FAddWord::loadChosenList() {
  // A missing list gives an empty text area, without a word. One that exists
  // but cannot be read (too large, no regular file, no permission) gives an
  // empty one too, with a warning, and is never replaced by a Save: that
  // would throw its words away.
  const std::string path = chosenListPath();
  bool missing = false;
  const std::optional<std::string> read = readFileBytes(path, &missing);
  listReadable_ = read || missing;
  if (!listReadable_)
    ask(QMessageBox::Critical, "Warning",
        "The word list could not be read from\n" + QString::fromStdString(cp1252ToUtf8(path)),
        QMessageBox::Ok);
  const std::string bytes = read.value_or(std::string());
  format_ = detectUserListFormat(bytes);
  textArea_->setPlainText(editorTextOfFile(bytes, format_));
  textArea_->setEnabled(true);
  setLocked(true);
  modified_ = false;  // putting the text in raised a change notification
}

void FAddWord::setLocked(bool locked) {
  locked_ = locked;
  phraseBox_->setEnabled(!locked);
  englishButton_->setEnabled(!locked);
  indonesianButton_->setEnabled(!locked);
}

void FAddWord::textChanged() {
  modified_ = true;
  setLocked(true);
}

void FAddWord::openList() {
  if (!modified_) {
    setLocked(false);
    return;
  }
  switch (ask(QMessageBox::Question, "Confirmation", "Do you want to save changes ?",
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      // A list that failed its check is left to the user, as after No; a list
      // the system refused to write stays locked so that the next choice
      // click cannot replace the unsaved text.
      if (saveList() != SaveOutcome::kWriteFailed) setLocked(false);
      break;
    case QMessageBox::No:
      setLocked(false);
      break;
    default:
      break;
  }
}

bool FAddWord::check() {
  checkLines_.clear();
  const std::string bytes = text();
  if (bytes.empty()) return false;
  for (std::string_view line : splitEditorLines(bytes))
    if (!isBlankLine(line)) checkLines_.emplace_back(line);
  const int incomplete = findIncompleteLine(bytes);
  if (incomplete == 0) return true;
  ask(QMessageBox::Critical, "Warning", QString::fromStdString(incompleteLineMessage(incomplete)),
      QMessageBox::Ok);
  return false;
}

bool FAddWord::save() { return saveList() == SaveOutcome::kSaved; }

FAddWord::SaveOutcome FAddWord::saveList() {
  if (!check()) return SaveOutcome::kCheckFailed;
  const std::string path = chosenListPath();
  UserListFormat format = format_;
  if (!listReadable_ || !writeFileAtomically(path, fileBytesOfEditorText(joinedText(), format))) {
    // The old list is whole (the write goes through a temporary file); the
    // text stays modified so that closing still offers to save it.
    ask(QMessageBox::Critical, "Warning",
        "The word list could not be saved to\n" + QString::fromStdString(cp1252ToUtf8(path)),
        QMessageBox::Ok);
    return SaveOutcome::kWriteFailed;
  }
  format_ = format;
  modified_ = false;
  return SaveOutcome::kSaved;
}

void FAddWord::present() {
  show();
  raise();
  activateWindow();
  textArea_->setFocus(Qt::ActiveWindowFocusReason);
}

void FAddWord::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  textArea_->setFocus(Qt::ActiveWindowFocusReason);
}

void FAddWord::sortData() {
  const QString joined = joinedText();
  if (!format_.utf8 && holdsOnly1252(joined)) {
    textArea_->setPlainText(editorTextOf(sortEditorLines(text())));
    return;
  }
  // Sorted as UTF-8 bytes (code point order), so no character is lost.
  UserListFormat utf8{true, false, false};
  textArea_->setPlainText(
      editorTextOfFile(sortEditorLines(fileBytesOfEditorText(joined, utf8)), utf8));
}

void FAddWord::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  paintSkinFrame(painter, rect(), *skin_);
}

void FAddWord::applySkin() {
  // The choice strip carries the main window's tool-bar colours.
  choiceStrip_->setColors(blendColor(kWhite, skin_->skinBaseColor, kChoiceStripTopMix),
                          skin_->skinBaseColor);
  update();
}

void FAddWord::closeEvent(QCloseEvent* event) {
  if (!modified_) {
    event->accept();
    return;
  }
  switch (ask(QMessageBox::Question, "Confirmation", "Do you want to save changes ?",
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      // An empty text has nothing to save (Save would write nothing), so Yes
      // closes; otherwise the editor stays open when the check fails or the
      // list cannot be written.
      event->setAccepted(text().empty() || save());
      break;
    case QMessageBox::No:
      event->accept();
      break;
    default:
      event->ignore();
      break;
  }
}

QMessageBox::StandardButton FAddWord::ask(QMessageBox::Icon icon, const QString& title,
                                          const QString& text,
                                          QMessageBox::StandardButtons buttons) {
  return asker_ ? asker_(this, icon, title, text, buttons) : QMessageBox::Cancel;
}

}  // namespace tavro2
