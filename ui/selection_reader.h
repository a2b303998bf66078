// SelectionReader: fetches the text of the clipboard or of the PRIMARY
// selection (the text last selected with the mouse, on platforms that have
// one) without ever making the user-interface thread wait for it.
//
// On X11 a selection's text lives in the program that owns it and has to be
// asked for; an owner that is busy or broken may never answer, and waiting
// for it in the user-interface thread freezes every window. So the X11
// reader asks over a connection of its own, on a worker thread, and gives up
// after kSelectionTimeoutMs: an owner that does not answer reads as no text.
// Elsewhere (and under the offscreen platform) QClipboard answers at once.
#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace tavro2 {

// A selection's content: whether it holds text, and that text as
// Windows-1252 bytes. `tooLong` marks a text cut at kMaxSelectionBytes,
// which no lookup can accept.
struct ClipboardReading {
  bool hasText = false;
  std::string text;
  bool tooLong = false;
};

// A text as the 8-bit clipboard format gives it: each character's
// Windows-1252 byte, '?' for one that 1252 cannot hold, ending at the first
// NUL (the format is a C string).
std::string clipboardTextTo1252(const QString& text);
// A selection holding `text`, cut (and marked too long) at kMaxSelectionBytes.
ClipboardReading readingOf(const QString& text);

enum class SelectionKind { kClipboard, kPrimary };

inline constexpr int kSelectionTimeoutMs = 300;
inline constexpr std::size_t kMaxSelectionBytes = std::size_t{64} << 20;

using SelectionDone = std::function<void(ClipboardReading)>;

class SelectionReader : public QObject {
 public:
  // Starts a read; `done` runs later on this object's thread with what was
  // read (or at once, for a reader that never waits). Callers keep at most
  // one read in flight. A reader destroyed first never calls `done`.
  virtual void read(SelectionDone done) = 0;

  // Whether the reader itself hears of every new selection, focused or not;
  // it then calls the handler given to onChange (on this object's thread)
  // in place of the platform's own signal.
  virtual bool tellsChanges() const { return false; }
  void onChange(std::function<void()> changed) { changed_ = std::move(changed); }

  // The reader this platform needs for `kind`: on a Wayland desktop that
  // offers the data-control protocol (sway, KWin), one that reads it
  // without focus, whichever Qt platform the window uses; on X11 one over
  // an X connection of its own; elsewhere QClipboard.
  static std::unique_ptr<SelectionReader> forPlatform(SelectionKind kind);

 protected:
  // From any thread: runs the change handler soon on this object's thread.
  void announceChange();

 private:
  std::function<void()> changed_;
};

// Reads through QClipboard, which answers at once on every platform but
// X11 (there it may wait on the owner, so X11 uses X11SelectionReader).
class QtSelectionReader final : public SelectionReader {
 public:
  explicit QtSelectionReader(SelectionKind kind) : kind_(kind) {}
  void read(SelectionDone done) override;

 private:
  SelectionKind kind_;
};

// Sends every request still buffered for the window system (on X11 Qt
// writes some of them, a window's opacity among them, only when its event
// loop next flushes). Does nothing elsewhere.
void flushWindowSystem();

}  // namespace tavro2
