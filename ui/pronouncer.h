// Pronouncer: speaks a headword for the Pronounce command.
//
// The word is synthesised on a thread of its own (app/speech.h) and played
// through Qt Multimedia on the default audio output, so the window never
// waits. A new word stops the one playing and overtakes one still being
// made. What cannot be done (no sound device, no voice for a language) is
// said once, through problem(), and costs nothing after.
#pragma once

#include <QAudioDevice>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "app/speech.h"

class QAudioSink;
class QBuffer;
class QThreadPool;

namespace tavro2 {

class Pronouncer : public QObject {
  Q_OBJECT
 public:
  // What makes the samples (on the synthesis thread), and where they play.
  using Synthesizer = std::function<SpokenWord(const std::string& wordUtf8, SpeechLanguage)>;
  using OutputDevice = std::function<QAudioDevice()>;

  // libespeak-ng and the system's default audio output.
  explicit Pronouncer(QObject* parent = nullptr);
  // Waits for a synthesis under way; a word playing stops.
  ~Pronouncer() override;

  // Speaks `wordUtf8` in `language`; nothing for an empty word.
  void pronounce(const std::string& wordUtf8, SpeechLanguage language);
  // A word is playing.
  bool playing() const { return sink_ != nullptr; }

  // Stand-ins for tests.
  void setSynthesizer(Synthesizer synthesize) { synthesize_ = std::move(synthesize); }
  void setOutputDevice(OutputDevice device) { device_ = std::move(device); }

 signals:
  // The synthesis of a word began on its thread (told on this one).
  void synthesisStarted();
  // The word pronounce() was last given is made: playing, or said to be
  // impossible.
  void finished();
  // A status-line text (" No sound device: Pronounce cannot play"), once
  // for each thing that is missing.
  void problem(const QString& statusText);

 private:
  void onSynthesized(int request, SpokenWord spoken, SpeechLanguage language);
  void play(const QAudioDevice& device, const SpokenWord& spoken);
  void stop();
  // problem(text), unless said already.
  void reportOnce(bool& said, const std::string& text);

  Synthesizer synthesize_;
  OutputDevice device_;
  QThreadPool* thread_ = nullptr;  // a child, one thread
  int request_ = 0;                // counts the words asked for
  QAudioSink* sink_ = nullptr;
  QBuffer* buffer_ = nullptr;
  bool noDeviceSaid_ = false;
  bool noDataSaid_ = false;
  std::array<bool, 2> noVoiceSaid_{};  // by SpeechLanguage
};

}  // namespace tavro2
