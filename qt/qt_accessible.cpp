#include "qt_accessible.h"

#include <QAccessibleWidget>

#include <algorithm>
#include <vector>

#include "qt_controls.h"

namespace kalvena::qt {

namespace {

// What a screen reader is told. The window is a frame whose children are its controls, without
// the drawn lines, which carry no meaning of their own.
class FormAccessible final : public QAccessibleWidget {
 public:
  explicit FormAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}

  int childCount() const override { return static_cast<int>(children().size()); }
  QAccessibleInterface* child(int index) const override {
    const std::vector<QWidget*> c = children();
    if (index < 0 || index >= static_cast<int>(c.size())) return nullptr;
    return QAccessible::queryAccessibleInterface(c[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<QWidget*> c = children();
    const auto it = std::find(c.begin(), c.end(), child ? child->object() : nullptr);
    return it == c.end() ? -1 : static_cast<int>(it - c.begin());
  }

 private:
  std::vector<QWidget*> children() const {
    std::vector<QWidget*> c;
    for (QObject* o : widget()->children()) {
      auto* w = qobject_cast<QWidget*>(o);
      if (w && !w->isWindow() && !qobject_cast<LineControl*>(w)) c.push_back(w);
    }
    return c;
  }
};

// A result box: text that can be read and selected, but is not editable.
class OutputBoxAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit OutputBoxAccessible(QtTextBox* box)
      : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.editable = false;
    s.selectableText = true;
    return s;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return box()->text();
    return QAccessibleWidget::text(t);
  }

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index == 0 && box()->hasSelectedText()) {
      *start = box()->selectionStart();
      *end = *start + static_cast<int>(box()->selectedText().size());
    }
  }
  int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { box()->deselect(); }
  void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
  int cursorPosition() const override { return box()->cursorPosition(); }
  void setCursorPosition(int position) override { box()->setCursorPosition(position); }
  QString text(int start, int end) const override { return box()->text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(box()->text().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint& point) const override {
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
  }
  void scrollToSubstring(int start, int) override { box()->setCursorPosition(start); }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }

 private:
  QtTextBox* box() const { return static_cast<QtTextBox*>(widget()); }
};

}  // namespace

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
  auto* w = qobject_cast<QWidget*>(object);
  if (!w) return nullptr;
  if (qobject_cast<PictureBox*>(w)) return new QAccessibleWidget(w, QAccessible::Graphic);
  if (auto* box = qobject_cast<QtTextBox*>(w); box && box->isOutput()) {
    return new OutputBoxAccessible(box);
  }
  if (w->isWindow() && w->property("kalvenaForm").toBool()) return new FormAccessible(w);
  return nullptr;
}

}  // namespace kalvena::qt
