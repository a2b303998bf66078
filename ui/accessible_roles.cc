#include "ui/accessible_roles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

namespace tavro2 {

namespace {

// The status line: a status bar whose name is what it says (each change is
// announced where it is set).
class StatusLineAccessible : public QAccessibleWidget {
 public:
  explicit StatusLineAccessible(QWidget* line) : QAccessibleWidget(line, QAccessible::StatusBar) {}
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) {
      const QVariant whole = widget()->property(kWholeTextProperty);
      return (whole.isValid() ? whole.toString() : static_cast<const QLabel*>(widget())->text())
          .trimmed();
    }
    if (kind == QAccessible::Description) return QStringLiteral("Status");
    return QAccessibleWidget::text(kind);
  }
};

// A frameless top-level window of ours: a window, named by its title.
class WindowAccessible : public QAccessibleWidget {
 public:
  explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
      return widget()->windowTitle();
    return QAccessibleWidget::text(kind);
  }
};

// The classes whose windows are plain QWidgets (dialogs are Qt's own).
constexpr const char* kWindowClasses[] = {"tavro2::MainWindow", "tavro2::FHistory",
                                          "tavro2::FAddWord", "tavro2::FDef"};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (object->objectName() == QLatin1String("statusLine")) return new StatusLineAccessible(widget);
  if (widget->isWindow())
    for (const char* name : kWindowClasses)
      if (className == QLatin1String(name)) return new WindowAccessible(widget);
  return nullptr;
}

}  // namespace

void installAccessibleRoles() {
  static const bool installed = [] {
    QAccessible::installFactory(accessibleFor);
    return true;
  }();
  (void)installed;
}

}  // namespace tavro2
