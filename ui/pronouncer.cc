#include "ui/pronouncer.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QThreadPool>

namespace tavro2 {

Pronouncer::Pronouncer(QObject* parent)
    : QObject(parent),
      synthesize_([](const std::string& word, SpeechLanguage language) {
        return synthesize(word, language);
      }),
      device_([] { return QMediaDevices::defaultAudioOutput(); }) {
  thread_ = new QThreadPool(this);
  thread_->setObjectName("pronounceThread");
  thread_->setMaxThreadCount(1);
}

Pronouncer::~Pronouncer() {
  thread_->clear();
  thread_->waitForDone();
  stop();
}

void Pronouncer::pronounce(const std::string& wordUtf8, SpeechLanguage language) {
  if (wordUtf8.empty()) return;
  // Another press restarts: the word playing stops, a word still waiting
  // for the thread is dropped and one being made is not played.
  stop();
  thread_->clear();
  const int request = ++request_;
  thread_->start([this, request, wordUtf8, language, synthesize = synthesize_] {
    QMetaObject::invokeMethod(this, &Pronouncer::synthesisStarted, Qt::QueuedConnection);
    SpokenWord spoken = synthesize(wordUtf8, language);
    // Handed back as a queued call: dropped, never run, once this object is
    // gone (its destructor waits for this thread first).
    QMetaObject::invokeMethod(
        this,
        [this, request, language, spoken = std::move(spoken)]() mutable {
          onSynthesized(request, std::move(spoken), language);
        },
        Qt::QueuedConnection);
  });
}

void Pronouncer::onSynthesized(int request, SpokenWord spoken, SpeechLanguage language) {
  if (request != request_) return;  // overtaken by another word
  using Outcome = SpokenWord::Outcome;
  if (spoken.outcome == Outcome::kNoVoiceData || spoken.outcome == Outcome::kNoSpeech) {
    reportOnce(noDataSaid_, speechProblem(spoken.outcome, language));
  } else if (spoken.outcome == Outcome::kNoVoice) {
    reportOnce(noVoiceSaid_[static_cast<std::size_t>(language)],
               speechProblem(spoken.outcome, language));
  } else if (const QAudioDevice device = device_(); device.isNull()) {
    reportOnce(noDeviceSaid_, "No sound device: Pronounce cannot play");
  } else {
    play(device, spoken);
  }
  emit finished();
}

void Pronouncer::play(const QAudioDevice& device, const SpokenWord& spoken) {
  QAudioFormat format;
  format.setSampleRate(spoken.sampleRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  buffer_ = new QBuffer(this);
  buffer_->setData(reinterpret_cast<const char*>(spoken.samples.data()),
                   static_cast<qsizetype>(spoken.samples.size() * sizeof(std::int16_t)));
  buffer_->open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(device, format, this);
  QAudioSink* sink = sink_;
  connect(sink_, &QAudioSink::stateChanged, this, [this, sink](QAudio::State state) {
    if (sink != sink_) return;  // one stopped already
    if (state == QAudio::StoppedState && sink->error() != QAudio::NoError)
      reportOnce(noDeviceSaid_, "The sound device cannot play: Pronounce is silent");
    if (state == QAudio::IdleState || state == QAudio::StoppedState) stop();
  });
  sink_->start(buffer_);
}

void Pronouncer::stop() {
  if (sink_ != nullptr) {
    QAudioSink* sink = sink_;
    sink_ = nullptr;
    sink->stop();
    sink->deleteLater();  // it may be telling its state change
  }
  if (buffer_ != nullptr) {
    buffer_->deleteLater();
    buffer_ = nullptr;
  }
}

void Pronouncer::reportOnce(bool& said, const std::string& text) {
  if (said) return;
  said = true;
  emit problem(QString::fromStdString(" " + text));
}

}  // namespace tavro2
