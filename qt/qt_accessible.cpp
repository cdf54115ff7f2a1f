#include "qt_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "qt_controls.h"
#include "qt_toolkit.h"

namespace kalvena::qt {

namespace {

// A caption or picture that the window draws: no widget of its own, a child of the window's
// interface with its name, role and place.
class FacePartAccessible final : public QAccessibleInterface {
 public:
  FacePartAccessible(QWidget* form, const ui::FaceObject& part) : form_(form), part_(part) {}

  bool isValid() const override { return !form_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return form_ ? form_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return form_ ? QAccessible::queryAccessibleInterface(form_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QString::fromStdString(part_.name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!form_) return {};
    const ui::PixelRect& b = part_.bounds;
    return QRect(form_->mapToGlobal(QPoint(b.left, b.top)), QSize(b.width, b.height));
  }
  QAccessible::Role role() const override {
    return part_.role == ui::FaceObject::Role::Graphic ? QAccessible::Graphic
                                                       : QAccessible::StaticText;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    if (form_ && !form_->isVisible()) s.invisible = true;
    return s;
  }

 private:
  QPointer<QWidget> form_;
  ui::FaceObject part_;
};

// What a screen reader is told. The window is a frame whose children are the captions and
// pictures it draws (without the lines, which carry no meaning of their own), then its boxes
// and buttons. A picture that takes the focus is its place in the tab order's own interface, so
// that the object a focus event names is the window's child, focusable and focused.
class FormAccessible final : public QAccessibleWidget {
 public:
  explicit FormAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
  ~FormAccessible() override {
    for (const Part& part : parts_) {
      if (part.id) QAccessible::deleteAccessibleInterface(part.id);
    }
  }
  FormAccessible(const FormAccessible&) = delete;
  FormAccessible& operator=(const FormAccessible&) = delete;

  int childCount() const override { return static_cast<int>(parts().size() + children().size()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0) return nullptr;
    const auto i = static_cast<std::size_t>(index);
    if (i < parts().size()) return interfaceOf(parts_[i]);
    const std::vector<QWidget*> c = children();
    if (i - parts_.size() >= c.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(c[i - parts_.size()]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    for (std::size_t i = 0; i < parts().size(); ++i) {
      const Part& part = parts_[i];
      if (part.focus ? child->object() == part.focus.data()
                     : QAccessible::accessibleInterface(part.id) == child) {
        return static_cast<int>(i);
      }
    }
    const std::vector<QWidget*> c = children();
    const auto it = std::find(c.begin(), c.end(), child->object());
    return it == c.end() ? -1 : static_cast<int>(parts_.size()) + static_cast<int>(it - c.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    // The boxes and buttons lie over the face.
    for (QWidget* w : children()) {
      QAccessibleInterface* control = QAccessible::queryAccessibleInterface(w);
      if (control && control->rect().contains(x, y)) return control;
    }
    const ui::Face* face = faceOf(widget());
    const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
    const std::optional<std::size_t> i = face ? face->objectAt(at.x(), at.y()) : std::nullopt;
    return i && *i < parts().size() ? interfaceOf(parts_[*i]) : nullptr;
  }

 private:
  // A caption or picture: the window's own object, or a picture's place in the tab order.
  struct Part {
    QAccessible::Id id = 0;
    QPointer<QWidget> focus;
  };

  static QAccessibleInterface* interfaceOf(const Part& part) {
    if (part.focus) return QAccessible::queryAccessibleInterface(part.focus.data());
    return part.id ? QAccessible::accessibleInterface(part.id) : nullptr;
  }

  std::vector<QWidget*> children() const {
    std::vector<QWidget*> c;
    for (QObject* o : widget()->children()) {
      auto* w = qobject_cast<QWidget*>(o);
      // A picture's place in the tab order is heard among the face's parts, as the picture.
      if (w && !w->isWindow() && !w->property("kalvenaPictureFocus").toBool()) c.push_back(w);
    }
    return c;
  }

  // Made when first asked for: the window asks for its own interface while it is being built.
  const std::vector<Part>& parts() const {
    if (parts_.empty()) {
      if (const ui::Face* face = faceOf(widget())) {
        for (const ui::FaceObject& o : face->objects()) {
          QWidget* focus = widget()->findChild<QWidget*>(QString::fromLatin1(o.spec->name),
                                                         Qt::FindDirectChildrenOnly);
          if (focus && focus->property("kalvenaPictureFocus").toBool()) {
            parts_.push_back({0, focus});
          } else {
            parts_.push_back(
                {QAccessible::registerAccessibleInterface(new FacePartAccessible(widget(), o)),
                 nullptr});
          }
        }
      }
    }
    return parts_;
  }

  mutable std::vector<Part> parts_;
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
  if (auto* box = qobject_cast<QtTextBox*>(w); box && box->isOutput()) {
    return new OutputBoxAccessible(box);
  }
  if (w->isWindow() && w->property("kalvenaForm").toBool()) return new FormAccessible(w);
  // A picture that has the focus is heard as the picture.
  if (w->property("kalvenaPictureFocus").toBool()) {
    return new QAccessibleWidget(w, QAccessible::Graphic);
  }
  return nullptr;
}

}  // namespace kalvena::qt
