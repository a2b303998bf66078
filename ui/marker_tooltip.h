// Tool tips on the part-of-speech markers of an entry: resting the pointer
// on "kkt" in a text box shows "kkt: kata kerja transitif, transitive verb"
// (engine/render.h, markerMeaning).
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

class QTextEdit;

namespace tavro2 {

// An event filter on a QTextEdit's viewport, owned by the text box. A
// tool-tip event over a whole word that is a marker shows what the marker
// stands for until the pointer leaves the word. Over anything else it hides
// that tool tip and lets the event go on, so a box that has a tool tip of
// its own still shows it there.
class MarkerTooltip : public QObject {
  Q_OBJECT
 public:
  // Installs itself on `edit`'s viewport.
  explicit MarkerTooltip(QTextEdit* edit);

  // The tool tip for the point `pos` of the viewport ("kb: kata benda,
  // noun"), empty where no marker is; `wordRect` gets the marker's
  // rectangle in the viewport.
  static QString textAt(const QTextEdit& edit, QPoint pos, QRect* wordRect = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* edit_;
  QString shown_;  // the tool tip this filter last showed, while it may be up
};

}  // namespace tavro2
