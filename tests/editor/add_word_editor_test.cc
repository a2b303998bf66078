#include "editor/add_word_editor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <deque>
#include <filesystem>

#include "ui/ui_test_util.h"

namespace tavro2 {
namespace {

using test::readFile;
using test::writeFile;

// Answers message boxes from a script; an unexpected box fails the test.
struct ScriptedAsker {
  struct Question {
    QMessageBox::Icon icon;
    QString title, text;
    QMessageBox::StandardButtons buttons;
    bool operator==(const Question&) const = default;
  };
  std::deque<QMessageBox::StandardButton> answers;
  std::vector<Question> asked;
  MessageAsker asker() {
    return [this](QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
                  QMessageBox::StandardButtons buttons) {
      asked.push_back({icon, title, text, buttons});
      if (answers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
        return QMessageBox::Cancel;
      }
      const QMessageBox::StandardButton answer = answers.front();
      answers.pop_front();
      return answer;
    };
  }
};

class AddWordEditorTest : public ::testing::Test {
 protected:
  void TearDown() override {
    discard();
    EXPECT_TRUE(script_.answers.empty()) << "a message box the test expected was not shown";
  }
  void discard() {
    if (!editor_) return;
    editor_->setAttribute(Qt::WA_DeleteOnClose, false);
    delete editor_.data();
  }
  FAddWord& open() {
    discard();
    editor_ = new FAddWord(dir_.path(), &skin_, nullptr, script_.asker());
    editor_->show();
    return *editor_;
  }

  template <typename T = QWidget>
  T* child(const char* name) { return test::child<T>(*editor_, name); }
  QCheckBox* phraseBox() { return child<QCheckBox>("phraseBox"); }
  QRadioButton* englishButton() { return child<QRadioButton>("englishButton"); }
  QRadioButton* indonesianButton() { return child<QRadioButton>("indonesianButton"); }
  QString hint() { return child<QLabel>("hintLine")->text(); }
  int enabledChoices() {
    return phraseBox()->isEnabled() + englishButton()->isEnabled() +
           indonesianButton()->isEnabled();
  }
  std::string en() const { return dir_.file("Tavro2en.dat"); }
  std::string id() const { return dir_.file("Tavro2id.dat"); }
  std::string phrase() const { return dir_.file("Tavro2phrase.dat"); }

  test::TempDir dir_;
  SkinState skin_;
  ScriptedAsker script_;
  QPointer<FAddWord> editor_;
};

// A fresh editor shows the English list with the choice locked; only Open
// unlocks it, and a choice click then loads that list and locks again.
TEST_F(AddWordEditorTest, ChoiceClicksLoadOnlyWhenUnlocked) {
  EXPECT_EQ(open().text(), "");  // no list yet
  writeFile(en(), "en=1\r\n");
  writeFile(id(), "id=2\r\n");
  writeFile(phrase(), "saya makan=I eat\r\n");
  FAddWord& editor = open();
  EXPECT_EQ(hint(), "english_word = indonesian_word");
  EXPECT_TRUE(editor.locked() && !editor.modified() && enabledChoices() == 0);
  phraseBox()->click();  // locked: the box is disabled and nothing happens
  EXPECT_FALSE(phraseBox()->isChecked());
  child<QPushButton>("openButton")->click();
  EXPECT_TRUE(!editor.locked() && enabledChoices() == 3);
  EXPECT_EQ(editor.text(), "en=1\r\n");  // nothing loaded until a choice is clicked
  const struct { QAbstractButton* button; const char* hint; std::string text; } rows[] = {
      {phraseBox(), "indonesian_word = english_word", "saya makan=I eat\r\n"},
      {phraseBox(), "english_word = indonesian_word", "en=1\r\n"},  // untick
      {indonesianButton(), "indonesian_word = english_word", "id=2\r\n"},
  };
  for (const auto& row : rows) {
    editor.openList();
    row.button->click();
    EXPECT_EQ(std::tuple(hint(), editor.text(), editor.locked(), editor.modified()),
              std::tuple(row.hint, row.text, true, false));
    EXPECT_EQ(englishButton()->isHidden(), phraseBox()->isChecked());
  }
}

TEST_F(AddWordEditorTest, CheckNamesTheLineAmongNonBlankLines) {
  writeFile(en(), "old=lama\r\n");
  FAddWord& editor = open();
  editor.setText("");  // an empty text is neither saved nor reported
  EXPECT_TRUE(!editor.save() && editor.modified());
  editor.setText("a=b\r\n\r\nc");
  script_.answers = {QMessageBox::Ok};
  EXPECT_FALSE(editor.save());
  EXPECT_EQ(script_.asked, (std::vector<ScriptedAsker::Question>{
                               {QMessageBox::Critical, "Warning",
                                "Incomplete data at lines 2\nThe format for every line is : "
                                "the_word=the_translation_of_word",
                                QMessageBox::Ok}}));
  EXPECT_EQ(readFile(en()), "old=lama\r\n");
  EXPECT_TRUE(editor.modified());
  editor.setText("a=b\r\n\r\nzebrafish=ikan zebra");  // the check sees the text of the moment
  EXPECT_TRUE(editor.save());
  EXPECT_EQ(readFile(en()), "a=b\r\n\r\nzebrafish=ikan zebra");
  EXPECT_TRUE(!editor.modified() && editor.locked());  // a save leaves the lock as it is
}

// Odd bytes survive load and save; a list named in another case is written in place.
TEST_F(AddWordEditorTest, SaveWritesTheTextByteForByte) {
  const std::string list =
      "  x=y \r\n\r\n\xa0"
      "caf\xe9=kafe\r\nq=a\nb\r\nlast=akhir";
  const std::string path = dir_.file("tavro2EN.dat");
  writeFile(path, list);
  FAddWord& editor = open();
  EXPECT_EQ(editor.text(), list);
  EXPECT_TRUE(editor.save());
  EXPECT_EQ(readFile(path), list);
  editor.setText("Keep=Tetap");
  EXPECT_TRUE(editor.save());
  EXPECT_EQ(readFile(path), "Keep=Tetap");
  EXPECT_FALSE(test::fileExists(en()));
  // Typed and pasted capitals become lower case; those in the list stay.
  auto* area = child<QPlainTextEdit>("textArea");
  area->moveCursor(QTextCursor::End);
  QTest::keyClick(area, Qt::Key_Return);
  QTest::keyClicks(area, "New=Baru");
  QApplication::clipboard()->setText("\nPaste=X");
  area->paste();
  EXPECT_EQ(editor.text(), "Keep=Tetap\r\nnew=baru\r\npaste=x");
  EXPECT_TRUE(editor.modified());
}

// A list written on Linux shows decoded and is saved in its own kind; a
// Windows list given a character 1252 lacks is saved as UTF-8, losing nothing.
TEST_F(AddWordEditorTest, LinuxListsKeepTheirKindAndNothingTypedIsLost) {
  const struct { const char* name; std::string file, shown, saved; } rows[] = {
      {"UTF-8, LF", "kaf\xC3\xA9=kopi\n\xE4\xB8\xAD=china\n", "kaf\xC3\xA9=kopi\n\xE4\xB8\xAD=china\n", ""},
      {"ASCII, LF", "a=b\nc=d", "a=b\nc=d", ""},
      {"UTF-8 with mark", "\xEF\xBB\xBFx=\xC3\xA9\r\n", "x=\xC3\xA9\n", ""},
      {"1252 gains a Chinese word", "kaf\xE9=kopi\r\n", "kaf\xC3\xA9=kopi\n",
       "kaf\xC3\xA9=kopi\r\n\xE4\xB8\xAD=china"},
  };
  for (const auto& row : rows) {
    writeFile(en(), row.file);
    FAddWord& editor = open();
    auto* area = child<QPlainTextEdit>("textArea");
    EXPECT_EQ(area->toPlainText().toStdString(), row.shown) << row.name;
    if (!row.saved.empty()) {
      area->moveCursor(QTextCursor::End);
      area->insertPlainText(QString::fromUtf8("\xE4\xB8\xAD=china"));
    }
    ASSERT_TRUE(editor.save()) << row.name;
    EXPECT_EQ(readFile(en()), row.saved.empty() ? row.file : row.saved) << row.name;
  }
  // Sorting changes the text, not the file; a UTF-8 list keeps its characters.
  for (const auto& [file, sorted] : {std::pair<std::string, std::string>{"b=1\r\nB=2\r\na=3", "B=2\na=3\nb=1\n"},
                                     {"\xE4\xB8\xAD=china\nkaf\xC3\xA9=kopi\nB=2\n",
                                      "B=2\nkaf\xC3\xA9=kopi\n\xE4\xB8\xAD=china\n"}}) {
    writeFile(en(), file);
    open().sortData();
    EXPECT_EQ(child<QPlainTextEdit>("textArea")->toPlainText().toStdString(), sorted);
    EXPECT_TRUE(editor_->modified() && readFile(en()) == file);
  }
}

// Open with unsaved changes asks first; a failing check (Yes, then the
// warning) still releases the lock, and the next choice click replaces the text.
TEST_F(AddWordEditorTest, OpenWithUnsavedChangesAsksFirst) {
  writeFile(phrase(), "p=q\r\n");
  using B = QMessageBox;
  const struct { std::deque<B::StandardButton> answers; const char* text; bool locked; const char* file; }
  rows[] = {
      {{B::Cancel}, "edited=diubah\r\n", true, "a=b\r\n"},
      {{B::No}, "edited=diubah\r\n", false, "a=b\r\n"},  // nothing discarded yet
      {{B::Yes}, "c=d\r\n", false, "c=d\r\n"},
      {{B::Yes, B::Ok}, "broken\r\n", false, "a=b\r\n"},
  };
  for (const auto& row : rows) {
    writeFile(en(), "a=b\r\n");
    FAddWord& editor = open();
    editor.setText(row.text);
    script_.answers = row.answers;
    editor.openList();
    EXPECT_EQ(std::tuple(editor.locked(), editor.text(), readFile(en())),
              std::tuple(row.locked, std::string(row.text), std::string(row.file))) << row.text;
  }
  EXPECT_EQ(script_.asked.front(), (ScriptedAsker::Question{B::Question, "Confirmation",
                                                            "Do you want to save changes ?",
                                                            B::Yes | B::No | B::Cancel}));
  phraseBox()->click();
  EXPECT_EQ(editor_->text(), "p=q\r\n");
}

// A save that cannot write warns with the file's name and keeps the text
// modified and the old file. A list too large to read shows empty with a
// warning; saving over it would lose it, so Save refuses there too.
TEST_F(AddWordEditorTest, RefusedSavesKeepTheTextAndTheFile) {
  const struct { const char* name; std::function<void()> spoil; bool needsNonRoot; } rows[] = {
      {"read-only list", [&] { writeFile(en(), "old=lama\r\n"), chmod(en().c_str(), 0444); }, false},
      {"unreadable list", [&] {
         const int fd = ::open(en().c_str(), O_WRONLY | O_CREAT, 0644);
         ASSERT_EQ(::ftruncate(fd, off_t{65} << 20), 0);  // sparse, over the read limit
         ::close(fd);
         script_.answers = {QMessageBox::Ok};
       }, false},
      {"read-only directory", [&] { chmod(dir_.path().c_str(), 0555); }, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.needsNonRoot && geteuid() == 0) continue;  // root writes into read-only directories
    std::filesystem::remove(en());
    row.spoil();
    const std::string old = readFile(en());
    FAddWord& editor = open();
    EXPECT_TRUE(script_.answers.empty());  // the unreadable list was named as it opened
    script_.asked.clear();
    editor.setText("fresh=segar\r\n");
    script_.answers = {QMessageBox::Ok};
    EXPECT_FALSE(editor.save());
    ASSERT_EQ(script_.asked.size(), 1u);
    EXPECT_TRUE(script_.asked[0].title == "Warning" &&
                script_.asked[0].text.contains(QString::fromStdString(en())));
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(readFile(en()), old);
    script_.answers = {QMessageBox::Yes, QMessageBox::Ok};  // "Open": save first, which fails
    editor.openList();
    EXPECT_TRUE(editor.locked() && editor.modified());
    chmod(dir_.path().c_str(), 0755);
    chmod(en().c_str(), 0644);
  }
}

TEST_F(AddWordEditorTest, ClosingWithUnsavedChangesAsks) {
  writeFile(en(), "a=b\r\n");
  EXPECT_TRUE(open().close());  // nothing changed: no question
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(editor_.isNull());  // forgotten when closed
  open().setText("c=d\r\n");
  script_.answers = {QMessageBox::Cancel};
  QTest::mouseClick(child("closeGlyph"), Qt::LeftButton);  // the glyph closes on release
  QCoreApplication::sendPostedEvents();
  ASSERT_FALSE(editor_.isNull());
  EXPECT_TRUE(editor_->isVisible() && script_.asked.at(0).text == "Do you want to save changes ?");
  editor_->setText("broken");
  script_.answers = {QMessageBox::Yes, QMessageBox::Ok};
  EXPECT_FALSE(editor_->close());  // the check failed: stays open
  EXPECT_EQ(readFile(en()), "a=b\r\n");
  editor_->setText("c=d\r\n");
  script_.answers = {QMessageBox::Yes};
  EXPECT_TRUE(editor_->close());
  EXPECT_EQ(readFile(en()), "c=d\r\n");
  open().setText("e=f\r\n");
  script_.answers = {QMessageBox::No};
  child<QPushButton>("closeButton")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(editor_.isNull());
  EXPECT_EQ(open().text(), "c=d\r\n");  // discarded; a fresh editor reads the list from disk
  editor_->setText("");  // Yes on an empty text closes without writing
  script_.answers = {QMessageBox::Yes};
  EXPECT_TRUE(editor_->close());
  EXPECT_EQ(readFile(en()), "c=d\r\n");
}

// Answers the next (modal) message box.
void answerNextMessageBox(QMessageBox::StandardButton answer, QString* text) {
  QTimer::singleShot(0, [answer, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    *text = box->text();
    box->button(answer)->click();
  });
}

TEST(AddWordFromMainWindowTest, OneEditorThatIsAskedBeforeTheProgramCloses) {
  test::TempDir dir;
  writeFile(dir.file("Tavro2en.dat"), "a=b\r\n");
  MainWindow window(dir.path());
  auto* add = window.findChild<QAbstractButton*>("addButton");
  add->click();
  QPointer<FAddWord> editor = window.findChild<FAddWord*>();
  ASSERT_FALSE(editor.isNull());
  EXPECT_TRUE(editor->isVisible() && editor->text() == "a=b\r\n");
  QWidget* textArea = editor->findChild<QWidget*>("textArea");
  EXPECT_EQ(editor->focusWidget(), textArea);  // the first keys reach the list
  editor->setText("c=d\r\n");
  window.findChild<QWidget*>("searchBox")->setFocus();
  add->click();
  EXPECT_EQ(editor->focusWidget(), textArea);
  EXPECT_EQ(window.findChildren<FAddWord*>().size(), 1);
  EXPECT_EQ(editor->text(), "c=d\r\n");  // shown again as it was
  QString asked;
  answerNextMessageBox(QMessageBox::Cancel, &asked);
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(asked == "Do you want to save changes ?" && editor->isVisible());
  answerNextMessageBox(QMessageBox::Yes, &asked);
  EXPECT_TRUE(window.close());
  EXPECT_EQ(readFile(dir.file("Tavro2en.dat")), "c=d\r\n");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(editor.isNull());
}

}  // namespace
}  // namespace tavro2
