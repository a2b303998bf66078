// MainWindow: the program's one permanent window.
//
// A borderless, skinned window: a title strip with its glyphs, a band of
// three direction choices, a tool bar with the search box and the command
// buttons, three stacked panels (translation, related texts, phrases) and a
// status line. It runs in full or compact mode, compact mode in a normal or
// a wide layout.
//
// The window owns the dictionary store and its loader, the lookup state, the
// settings and their file, the history list and the skin. What a lookup
// finds lives in the LookupState; the window runs its operations and then
// shows what it holds (showLookupState). Every setting the window changes is
// written to the settings file at once; nothing is written at shutdown.
//
// The companion windows (history window, definition popup, options dialog,
// about box, add-word editor) hook in through the commands below and the
// companions' host; their entry points live in main_window_commands.cc.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/storage.h"
#include "skin/skin.h"
#include "ui/program_names.h"
#include "ui/save_notice.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QRadioButton;
class QSplitter;
class QTextEdit;
class QSizeGrip;
class QThreadPool;
class QTimer;

namespace tavro2 {

class DictionaryLoader;
class DictionaryStore;
class FAddWord;
class GlyphButton;
class GradientPanel;
class HistoryList;
class ImageButton;
class IniFile;
class LookupState;
class MainWindowHistoryHost;
class Pronouncer;
class ShadowLabel;
class SkinTitleStrip;
struct HeadwordEntry;
struct Settings;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  // Creates the window with every control and runs start-up up to the first
  // show: settings read and applied, history loaded, skin applied. The data
  // files and every file the window reads or writes are named from `places`.
  // The loader starts at the first show.
  explicit MainWindow(StoragePlaces places, QWidget* parent = nullptr);
  // Everything in one directory (with its trailing separator).
  explicit MainWindow(const std::string& programDir, QWidget* parent = nullptr)
      : MainWindow(storageIn(programDir), parent) {}
  ~MainWindow() override;

  // --- State --------------------------------------------------------------
  // (The controls are found by their object names.)
  const DictionaryStore& store() const { return *store_; }
  const LookupState& lookup() const { return *lookup_; }
  const Settings& settings() const { return *settings_; }
  const SkinState& skin() const { return skin_; }

  // Hidden flag: set when the window is hidden; bringing the window back
  // (the history window, another start) clears it.
  bool hiddenFlag() const { return hidden_; }
  // Monitoring is on while the clipboard button is down.
  bool clipboardMonitoring() const;
  bool compactMode() const { return compact_; }
  bool wideFlag() const { return wide_; }

  // The history window, the definition popup and clipboard monitoring
  // (created at the end of construction).
  MainWindowHistoryHost* historyHost() const { return companions_.get(); }

  // --- Operations -----------------------------------------------------------
  // Reads every setting but CompactMode, bounds them and applies them (stay
  // on top, opacity, toggle buttons). Called at start-up and after the
  // options dialog's Save.
  void readSettings();
  // Loads skin `index` and recolours the window (it repaints itself).
  void applySkin(int index);
  void applyFullLayout();
  // The title strip spans the width; its right-hand glyphs keep to its end.
  void placeTitleGlyphs();
  // The panes' and lists' font from the TextZoom setting.
  void applyTextZoom();

  // The search-box path: Enter or Find.
  void search();
  // The list of the words that begin with the box's text, shown after a
  // pause in typing (LookAsYouType); nothing is looked up or recorded.
  void showTypingList();
  // The window's text size; the panes and lists add TextZoom's steps to it.
  static constexpr int kFontPixels = 14;
  // The pause after the last key before the typing list shows.
  static constexpr int kTypingPauseMs = 150;
  // Puts `word` into the search box; nothing is looked up.
  void setSearchText(const QString& word);
#ifdef TAVRO2_HAVE_SOUND
  // What speaks for Pronounce, made at its first use (main_window_speech.cc).
  Pronouncer& pronouncer();
#endif
  // Un-minimises and shows the window, clears the hidden flag and brings
  // the window to the front.
  void bringForward();

 public slots:
  // Commands. Options, About, Add and History open the companion windows.
  void openOptions();
  void openAbout();
  void openAddWord();
  void toggleHistory();
  // F6: the keyboard goes to the history window's items (opening it when
  // it is closed); Escape or F6 there comes back.
  void focusHistory();
  void minimizeProgram();
  void openHelp();
  void exitProgram();
  // Shift+F10 and the Menu key: the window menu under the search box.
  void openMenuFromKeyboard();
  // Ctrl+plus, Ctrl+minus, Ctrl+0: the text of the translation panes and
  // the phrase list a step larger, smaller, or back to its own size; stored
  // at once (TextZoom).
  void enlargeText();
  void shrinkText();
  void resetTextSize();
  void compactToggle();
  void compactCycle();
  void wideToggle();
  // Ctrl+P: the headword of the entry the translation pane shows, spoken in
  // its language; nothing while the pane shows none (main_window_speech.cc).
  void pronounce();
  // Select-to-translate on or off; UseSelection is written at once.
  void setUseSelection(bool on);

 signals:
  // The loader's end, handed to this thread; `status` is what the status
  // line then shows.
  void loadFinished(const QString& status);
  // Every text the status line is given, in order.
  void statusChanged(const QString& text);
  // Suggestions for a word not found have filled the main word list.
  void suggestionsShown();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The companions' host is the window's other half: it reaches the
  // controls and state the companions are shown through.
  friend class MainWindowHistoryHost;

  // Checks the direction choice that Language names, writing nothing.
  void applyLanguage();
  void applyPanelLayout();
  void setCompactMode(bool on);
  void setWideCompact(bool on);
  // Shows the lookup state's lists, panes, phrase list and status text.
  void showLookupState();
  // Shows only the translation pane of the lookup state (history choice),
  // with the English headword's transcription after the headword.
  void showTranslation();
  // "Did you mean" (main_window_lookup.cc). Finds the headwords nearest the
  // query just missed on a thread of the window's own; they fill the main
  // word list when they come, unless another lookup or list came first.
  // With `popupAt`, the definition popup names the first of them there.
  void requestSuggestions(std::optional<QPoint> popupAt = std::nullopt);
  void showSuggestions(int request, std::vector<HeadwordEntry> entries,
                       std::optional<QPoint> popupAt);
  // The lookup state's entry shown on a row of the main word list (the
  // suggestions come under a line that introduces them).
  int entryOfRow(int row) const;
  // Looks a line of the main list up as if typed (a typing-list line or a
  // suggestion); false when the list holds a lookup's neighbours.
  bool lookUpOfferedLine(const QListWidgetItem* item);
  // Sets the status line's text (Windows-1252 bytes). While data files are
  // missing, a lookup's " not found" keeps naming them. A text too wide for
  // the line is drawn smaller, never cut.
  void setStatusText(const std::string& text);

  // Construction helpers (main_window.cc).
  void createTitleStrip();
  void createDirectionBar();
  void createPanels();
  void createToolBar();
  void createFooter();
  void createMenu();
  void connectControls();
  void startUp();

  // Layout helpers (main_window_layout.cc).
  void setTranslationHint();
  void fitStatusFont();  // main_window_lookup.cc
  void restyleToggle(ImageButton* button);
  // The captions' halo of skins too dark for plain captions (main_window.cc).
  void applyCaptionHalo();
  void fitLinkText();
  void setStayOnTop(bool on);

  // Handlers.
  void onLoadStart();
  void onLoadFinished(const QString& status);
  void onDirectionClicked(int number);
  void onContainToggled();
  void onPhraseToggled();
  void onClipboardToggled();
  void onMainSelection(int row);
  void onRelatedSelection(int row);
  void onRelatedDoubleClicked();
  void onTitleReleased();
  void onGlyphReleasedOutside(QPoint globalPos);
  void updatePhraseHint(QPoint pos);
  void syncLookupSettings();
  void showPhraseList();
  void noteFocusOnlyClipboard();

  // Companion-window hooks (main_window_commands.cc).
  void pollClipboard();
  void recordInHistory();
  // Every write of the settings file reports here; a failure shows once.
  void settingsWritten(bool saved);
  void showSaveNotice(const std::string& text);
  void onMinimizeCommand();
  void onSettingsApplied();
  void closeHistoryWindow();
  void createCompanionWindows();

  StoragePlaces places_;
  std::unique_ptr<DictionaryStore> store_;
  std::unique_ptr<DictionaryLoader> loader_;
  std::unique_ptr<LookupState> lookup_;
  std::unique_ptr<HistoryList> history_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<IniFile> ini_;
  SkinState skin_;
  SkinPalette palette_;

  SaveNotice settingsNotice_{"Settings"};
  SaveNotice historyNotice_{"History"};
  std::string loadStatus_;  // what the end of loading said; empty before
  bool compact_ = false;
  // The height the user gave the full layout (kFullHeight at first); compact
  // mode returns to it. The panes and lists take what is above kFullHeight.
  int fullHeight_ = 0;
  int fullWidth_ = 0;
  bool layingOut_ = false;  // a resize made by the layout itself
  QSizeGrip* sizeGrip_ = nullptr;
  bool wide_ = false;
  bool hidden_ = false;
  bool shownOnce_ = false;
  bool applyingLanguage_ = false;
  bool changingFlags_ = false;  // the stay-on-top change re-creates the window
  bool focusOnlyNoted_ = false;
  int hintLine_ = -1;                 // phrase-list line whose text is the hint; none yet
  QPointer<FAddWord> addWordEditor_;  // while it is open

  // Controls, in creation order.
  SkinTitleStrip* titleStrip_ = nullptr;
  ShadowLabel* titleText_ = nullptr;
  GlyphButton* closeGlyph_ = nullptr;
  GlyphButton* minimizeGlyph_ = nullptr;
  GlyphButton* menuGlyph_ = nullptr;
  GlyphButton* modeGlyph_ = nullptr;
  GradientPanel* directionBar_ = nullptr;
  QRadioButton* directions_[3] = {};
  QWidget* translationPanel_ = nullptr;
  QSplitter* translationSplitter_ = nullptr;
  QWidget* wordColumn_ = nullptr;
  QListWidget* mainList_ = nullptr;
  QTextEdit* translationPane_ = nullptr;
  QWidget* relatedPanel_ = nullptr;
  QSplitter* relatedSplitter_ = nullptr;
  QWidget* relatedColumn_ = nullptr;
  QListWidget* relatedList_ = nullptr;
  QTextEdit* relatedPane_ = nullptr;
  QWidget* phrasePanel_ = nullptr;
  QListWidget* phraseList_ = nullptr;
  GradientPanel* toolBar_ = nullptr;
  ImageButton* addButton_ = nullptr;
  ImageButton* aboutButton_ = nullptr;
  ImageButton* helpButton_ = nullptr;
  ImageButton* settingsButton_ = nullptr;
  QWidget* searchPanel_ = nullptr;
  QLineEdit* searchBox_ = nullptr;
  ImageButton* clipboardButton_ = nullptr;
  ImageButton* findButton_ = nullptr;
  ImageButton* phraseButton_ = nullptr;
  ImageButton* containButton_ = nullptr;
  QLabel* statusLine_ = nullptr;
  QLabel* linkPanel_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* useSelectionAction_ = nullptr;
  QList<QKeySequence> shortcutKeys_;  // the keys the window's actions take
  QTimer* clipboardTimer_ = nullptr;
  QTimer* typingTimer_ = nullptr;  // single shot: the pause in typing
  // Each lookup or list shown counts one up, so suggestions for an older
  // one are dropped when they come.
  int suggestionRequest_ = 0;
  QThreadPool* suggestionThread_ = nullptr;  // a child, one thread
  Pronouncer* pronouncer_ = nullptr;         // a child, once Pronounce is used
  // Last, so it goes first: the history window it may still hold points
  // into the history list and the controls above.
  std::unique_ptr<MainWindowHistoryHost> companions_;
};

}  // namespace tavro2
