#include "ui/clipboard_monitor.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/settings.h"
#include "engine/cp1252.h"
#include "engine/query_text.h"
#include "skin/skin.h"
#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/history_window.h"

namespace tavro2 {

namespace {

// Whether `text`, lowered A to Z, equals `lowered` (no copy of `text`).
bool equalsLowered(std::string_view text, std::string_view lowered) {
  if (text.size() != lowered.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowered[i]) return false;
  }
  return true;
}

}  // namespace

bool ClipboardMonitor::platformSignalsChanges() {
  // X11 (through XFixes) and Windows announce every new clipboard owner,
  // and the offscreen platform's clipboard lives in this process. Wayland's
  // own clipboard announces one only to the focused program, but then at
  // once, and while unfocused a read gives nothing new either: no tick
  // would help (where the desktop offers no data-control reader the window
  // says so). Others (macOS notices changes only when the program is
  // activated) are read on every tick.
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform == QLatin1String("wayland") ||
         platform == QLatin1String("windows") || platform == QLatin1String("offscreen");
}

ClipboardMonitor::ClipboardMonitor(HistoryHost& host, SelectionKind kind, QObject* parent)
    : ClipboardMonitor(host, Reader(), platformSignalsChanges(), kind, parent) {
  systemReader_ = SelectionReader::forPlatform(kind);
  reader_ = [reader = systemReader_.get()](SelectionDone done) { reader->read(std::move(done)); };
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Text selected in our own windows is the user working here, not a word
  // to translate.
  const auto ours = [clipboard, kind] {
    return kind == SelectionKind::kPrimary && clipboard != nullptr && clipboard->ownsSelection();
  };
  if (systemReader_->tellsChanges()) {
    signalsChanges_ = true;
    systemReader_->onChange([this, ours] {
      if (!ours()) markChanged();
    });
  } else if (clipboard != nullptr) {
    const QClipboard::Mode watched =
        kind == SelectionKind::kPrimary ? QClipboard::Selection : QClipboard::Clipboard;
    connect(clipboard, &QClipboard::changed, this, [this, watched, ours](QClipboard::Mode mode) {
      if (mode == watched && !ours()) markChanged();
    });
  }
}

bool ClipboardMonitor::readsWithoutFocus() const {
  if (systemReader_ != nullptr && systemReader_->tellsChanges()) return true;
  // Wayland's own clipboard answers only the focused program.
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

ClipboardMonitor::ClipboardMonitor(HistoryHost& host, Reader reader, bool signalsChanges,
                                   SelectionKind kind, QObject* parent)
    : QObject(parent),
      host_(host),
      kind_(kind),
      reader_(std::move(reader)),
      signalsChanges_(signalsChanges),
      // The clipboard's text at start-up is looked up; a selection only once
      // the user makes a new one.
      stale_(kind == SelectionKind::kClipboard) {}

ClipboardMonitor::~ClipboardMonitor() = default;

bool ClipboardMonitor::enabled() const {
  return kind_ == SelectionKind::kClipboard ? host_.clipboardButtonDown()
                                            : host_.settings().UseSelection;
}

void ClipboardMonitor::pollClipboard() {
  if (!enabled()) {
    // A selection made while select-to-translate was off is not new when
    // it is turned on.
    if (kind_ == SelectionKind::kPrimary) stale_ = false;
    return;
  }
  const int settle = kind_ == SelectionKind::kPrimary ? kSettleTicks : 0;
  if (quietTicks_ < settle) ++quietTicks_;
  if ((stale_ || !signalsChanges_) && !reading_ && quietTicks_ >= settle) {
    // Cleared before the read: a change signalled while the read waits on
    // the owner makes a later tick read again.
    stale_ = false;
    reading_ = true;
    ++reads_;
    reader_([this](ClipboardReading reading) { received(std::move(reading)); });
  }
  judge();
}

void ClipboardMonitor::received(ClipboardReading reading) {
  reading_ = false;
  if (reading.hasText != current_.hasText || reading.tooLong != current_.tooLong ||
      reading.text != current_.text) {
    current_ = std::move(reading);
    ++serial_;
  }
  if (enabled()) judge();
}

void ClipboardMonitor::judge() {
  const bool autoRemAlpha = host_.settings().AutoRemAlpha;
  if (judgedSerial_ == serial_ && judgedAutoRemAlpha_ == autoRemAlpha) return;
  judgedSerial_ = serial_;
  judgedAutoRemAlpha_ = autoRemAlpha;
  ++judged_;

  // Lower changes no byte of code 32 or less, so trimming first gives K.
  const std::string_view trimmed =
      trimView(current_.hasText ? std::string_view(current_.text) : std::string_view());
  if (equalsLowered(trimmed, lastText_)) return;
  const std::size_t length =
      autoRemAlpha ? filterLetters(trimmed, kMaxWordLength).size() : trimmed.size();
  if (length > kMaxWordLength || current_.tooLong) return;
  if (!current_.hasText) {
    host_.setClipboardHit(false);
    return;
  }
  std::string key = lower(trimmed);
  std::string word = autoRemAlpha ? filterLetters(key) : key;
  accept(std::move(key), std::move(word));
}

void ClipboardMonitor::accept(std::string key, std::string word) {
  lastText_ = std::move(key);
  const bool found = host_.lookUpCopiedWord(std::move(word));
  // The History window shows a copied word beside it; without it, and for
  // a selection, the word shows at the pointer, where the user is working,
  // unless the pointer rests on the main window, which shows it already.
  const FHistory* history = host_.historyWindow();
  const QPoint pointer = host_.screen().pointer;
  const bool onMainWindow =
      kind_ == SelectionKind::kClipboard && host_.mainWindowArea().contains(pointer);
  // Wayland places a new window where the compositor likes and gives it the
  // keyboard: a popup there would take the user's typing away from the
  // program they copied in. The word shows in the main window and the
  // history instead.
  const bool popupStealsFocus = onNativeWayland() && QGuiApplication::focusWindow() == nullptr;
  if (!found) {
    // What it may have meant shows at the pointer (the History window has
    // no line for a word not found).
    host_.offerSuggestions(onMainWindow || popupStealsFocus ? std::nullopt
                                                            : std::optional<QPoint>(pointer));
    return;
  }
  host_.setClipboardHit(true);
  if (!onMainWindow && !popupStealsFocus &&
      (kind_ == SelectionKind::kPrimary || history == nullptr || !history->isVisible())) {
    if (FDef* popup = host_.definitionPopup()) popup->showNearPointer(pointer);
  }
}

}  // namespace tavro2
