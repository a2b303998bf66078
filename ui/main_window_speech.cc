// The Pronounce command (Ctrl+P, the window menu, the definition popup's
// menu): the shown entry's headword spoken with the voice of its language.
// Built only with speech and Qt Multimedia; otherwise the command is not
// there.
#include "engine/cp1252.h"
#include "engine/lookup_state.h"
#include "ui/main_window.h"

#ifdef TAVRO2_HAVE_SOUND
#include "ui/pronouncer.h"
#endif

namespace tavro2 {

#ifdef TAVRO2_HAVE_SOUND

Pronouncer& MainWindow::pronouncer() {
  if (pronouncer_ == nullptr) {
    pronouncer_ = new Pronouncer(this);
    pronouncer_->setObjectName("pronouncer");
    connect(pronouncer_, &Pronouncer::problem, this,
            [this](const QString& text) { setStatusText(utf8To1252(text.toStdString())); });
  }
  return *pronouncer_;
}

void MainWindow::pronounce() {
  const std::string word = lookup_->shownHeadword();
  if (word.empty()) return;
  syncLookupSettings();  // a history entry's side follows the direction chosen
  pronouncer().pronounce(cp1252ToUtf8(word), lookup_->shownIndonesian()
                                                 ? SpeechLanguage::kIndonesian
                                                 : SpeechLanguage::kEnglish);
}

#else

void MainWindow::pronounce() {}

#endif

}  // namespace tavro2
