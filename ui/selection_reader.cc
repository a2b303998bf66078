#include "ui/selection_reader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "ui/format_adapter.h"
#include "ui/wayland_selection_reader.h"
#include "ui/x11_selection_reader.h"

namespace tavro2 {

std::string clipboardTextTo1252(const QString& text) {
  return bytesOf(text.left(text.indexOf(QChar(0))));  // CF_TEXT ends at a NUL
}

ClipboardReading readingOf(const QString& text) {
  ClipboardReading reading{true, clipboardTextTo1252(text), false};
  if (reading.text.size() > kMaxSelectionBytes) {
    reading.text.resize(kMaxSelectionBytes);
    reading.tooLong = true;
  }
  return reading;
}

std::unique_ptr<SelectionReader> SelectionReader::forPlatform(SelectionKind kind) {
  const QString platform = QGuiApplication::platformName();
  // The offscreen and minimal platforms keep their clipboard in this
  // process: a desktop's clipboard is no business of theirs.
  const bool ownClipboard =
      platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  if (!ownClipboard && waylandSelectionSupported() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    auto wayland = std::make_unique<WaylandSelectionReader>(kind);
    if (wayland->connected()) return wayland;
  }
  if (QGuiApplication::platformName() == QLatin1String("xcb") && x11SelectionSupported()) {
    auto x11 = std::make_unique<X11SelectionReader>(kind);
    if (x11->connected()) return x11;
  }
  return std::make_unique<QtSelectionReader>(kind);
}

void SelectionReader::announceChange() {
  QMetaObject::invokeMethod(
      this, [this] {
        if (changed_) changed_();
      },
      Qt::QueuedConnection);
}

void QtSelectionReader::read(SelectionDone done) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const bool primary = kind_ == SelectionKind::kPrimary;
  if (clipboard == nullptr || (primary && !clipboard->supportsSelection())) {
    done({});
    return;
  }
  const QMimeData* data =
      clipboard->mimeData(primary ? QClipboard::Selection : QClipboard::Clipboard);
  if (data == nullptr || !data->hasText()) {
    done({});
    return;
  }
  done(readingOf(data->text()));
}

}  // namespace tavro2
