#include "ui_test_util.h"

#include <QDesktopServices>

namespace tavro2::test {

UrlCatcher::UrlCatcher(QString scheme) : scheme_(std::move(scheme)) {
  QDesktopServices::setUrlHandler(scheme_, this, "open");
}

UrlCatcher::~UrlCatcher() { QDesktopServices::unsetUrlHandler(scheme_); }

}  // namespace tavro2::test
