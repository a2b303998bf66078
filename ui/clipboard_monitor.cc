#include "ui/clipboard_monitor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/settings.h"
#include "engine/lookup_state.h"
#include "engine/query_text.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"

namespace tavro2 {

std::string ClipboardTextTo1252(const QString& text) {
  return bytesOf(text.left(text.indexOf(QChar(0))));  // CF_TEXT ends at a NUL
}

ClipboardReading ClipboardMonitor::ReadSystemClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return {};
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  if (data == nullptr || !data->hasText()) return {};
  return {true, ClipboardTextTo1252(data->text())};
}

bool ClipboardMonitor::PlatformSignalsChanges() {
  // X11 (through XFixes), Wayland and Windows announce every new clipboard
  // owner; the offscreen platform's clipboard lives in this process. Others
  // (macOS notices changes only when the program is activated) are read on
  // every tick.
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform == QLatin1String("wayland") ||
         platform == QLatin1String("windows") || platform == QLatin1String("offscreen");
}

ClipboardMonitor::ClipboardMonitor(HistoryHost& host, QObject* parent)
    : ClipboardMonitor(host, &ClipboardMonitor::ReadSystemClipboard, PlatformSignalsChanges(),
                       parent) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    connect(clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
      if (mode == QClipboard::Clipboard) markChanged();
    });
  }
}

ClipboardMonitor::ClipboardMonitor(HistoryHost& host, Reader reader, bool signalsChanges,
                                   QObject* parent)
    : QObject(parent), host_(host), reader_(std::move(reader)), signalsChanges_(signalsChanges) {}

void ClipboardMonitor::PollClipboard() {
  if (!host_.clipboardButtonDown()) return;

  if (stale_ || !signalsChanges_) {
    // Cleared before the read: a change signalled while the read waits on
    // the clipboard's owner makes the next tick read again.
    stale_ = false;
    current_ = reader_();
    ++reads_;
  }
  const std::string key = Trim(Lower(current_.hasText ? current_.text : std::string()));
  if (key == lastText_) return;

  const std::string word = host_.settings().AutoRemAlpha ? FilterLetters(key) : key;
  if (word.size() > kMaxWordLength) return;
  if (!current_.hasText) {
    host_.setClipboardHit(false);
    return;
  }

  LookupState& lookup = host_.lookup();
  lookup.searchText = word;
  lookup.fallbackWord = Lower(word);
  lastText_ = key;

  if (lookup.LookupWord(lookup.searchText)) {
    host_.setClipboardHit(true);
    // Shown before it is recorded: the popup copies the translation pane.
    host_.showLookupState();
    host_.recordInHistory();
  } else {
    lookup.FindBaseForm();
    host_.showLookupState();
  }
}

}  // namespace tavro2
