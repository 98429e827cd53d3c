#include "app/editor_accessibility.h"

#include <Qsci/qsciscintillabase.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

namespace numvex {

namespace {

// The editors given a plain interface, whose interfaces go when an assistive technology starts.
std::vector<QPointer<QObject>>& PlainEditors() {
  static std::vector<QPointer<QObject>> editors;
  return editors;
}

QAccessibleInterface* PlainEditorFactory(const QString& /*class_name*/, QObject* object) {
  auto* editor = qobject_cast<QsciScintillaBase*>(object);
  if (editor == nullptr || QAccessible::isActive()) return nullptr;
  PlainEditors().emplace_back(editor);
  return new QAccessibleWidget(editor, QAccessible::EditableText);
}

class Activation : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    if (!active) return;
    for (const QPointer<QObject>& editor : PlainEditors()) {
      // The cached plain interface; the next query asks the factories again.
      if (QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(editor.data())) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
      }
    }
    PlainEditors().clear();
  }
};

}  // namespace

void UsePlainAccessibilityWhileInactive() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  // Factories asked last come first.
  QAccessible::installFactory(PlainEditorFactory);
  static Activation activation;
  QAccessible::installActivationObserver(&activation);
}

}  // namespace numvex
