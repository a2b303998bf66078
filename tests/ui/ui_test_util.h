// Helpers shared by the window tests.
#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QWidget>

namespace tavro2::test {

// The named child widget; a missing one fails the test.
template <class T = QWidget>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Stands in for the desktop's opener for one URL scheme while it lives.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  explicit UrlCatcher(QString scheme = "file");
  ~UrlCatcher() override;
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.append(url); }

 private:
  QString scheme_;
};

}  // namespace tavro2::test
