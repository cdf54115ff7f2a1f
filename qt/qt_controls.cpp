#include "qt_controls.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>

#include "qt_toolkit.h"
#include "result_glyphs.h"
#include "result_layout.h"

namespace kalvena::qt {

QtTextBox::QtTextBox(QWidget* parent) : QLineEdit(parent) {
  // A paste is never cut: the whole text reaches the check, which rejects or stores it.
  setMaxLength(std::numeric_limits<int>::max());
  // A typed "3000" stays four digits: a pixel between characters, unhinted as the results are,
  // keeps a number's characters apart by the windows' rule of ink at every scale (the tests
  // draw every pair a number holds in a box to see it). Only these two properties are the
  // box's own; the rest comes from the window's font.
  QFont f;
  f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setResolveMask(QFont::LetterSpacingResolved | QFont::HintingPreferenceResolved);
  setFont(f);
}

void QtTextBox::setOutput() {
  output_ = true;
  // What a screen reader was told of the box so far described an editable box.
  QAccessible::deleteAccessibleInterface(
      QAccessible::uniqueId(QAccessible::queryAccessibleInterface(this)));
  setReadOnly(true);
  setFrame(false);
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Window));
  setPalette(p);
  // Whatever sets the text, the box shows where it begins.
  connect(this, &QLineEdit::textChanged, this, [this] { setCursorPosition(0); });
  // A selection of any part of the result takes all of it, from its end towards its start, so
  // that its beginning stays in view.
  connect(this, &QLineEdit::selectionChanged, this, [this] {
    const int n = static_cast<int>(text().size());
    const ui::TextSelection now{selectionStart(), static_cast<int>(selectedText().size())};
    const ui::TextSelection whole = ui::resultSelection(now, n);
    if (whole.length != 0 && now != whole) setSelection(n, -n);
  });
}

static_assert(Qt::Key_A == 'A' && Qt::Key_Z == 'Z');

ui::KeyPress keyPressOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  const bool latin = event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z;
  // X and Wayland give a key's code as xkb numbers it: the kernel's code plus 8. Qt's codes of
  // the letters are theirs in ASCII.
  return {latin ? static_cast<char>(event.key()) : '\0',
          static_cast<int>(event.nativeScanCode()) - 8, (held & Qt::ControlModifier) != 0,
          (held & Qt::ShiftModifier) != 0, (held & (Qt::AltModifier | Qt::MetaModifier)) != 0};
}

void QtTextBox::keyPressEvent(QKeyEvent* event) {
  // The box's own shortcuts, by their letter whatever the layout; any other key is the line
  // edit's, and what it does not take goes on to the window.
  const ui::Place place = output_ ? ui::Place::ResultBox : ui::Place::InputBox;
  if (const std::optional<ui::Command> command = ui::commandOfKey(place, keyPressOf(*event))) {
    event->accept();
    switch (*command) {
      case ui::Command::Undo:
        undo();
        break;
      case ui::Command::Cut:
        cut();
        break;
      case ui::Command::Copy:
        copy();
        break;
      case ui::Command::Paste:
        paste();
        break;
      case ui::Command::SelectAll:
        selectAll();
        break;
      default:
        break;
    }
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void QtTextBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Tabbing in selects the whole text with the cursor at its end, which would scroll the
  // beginning out of view; the same selection is made from the end towards the start.
  if (output_ && hasSelectedText()) {
    const int n = static_cast<int>(text().size());
    setSelection(n, -n);
  }
}

void QtTextBox::paintEvent(QPaintEvent* event) {
  if (!output_) {
    QLineEdit::paintEvent(event);
    return;
  }
  // Drawn here rather than by the style: the text from its beginning, spaced (a text too wide
  // with "…" in its middle), the digits in the middle of the box at every scale, the
  // selection, the frame.
  QPainter painter(this);
  const QPalette& p = palette();
  painter.fillRect(rect(), p.color(QPalette::Base));
  const qreal dpr = devicePixelRatioF();
  BoxGlyphs glyphs(font(), dpr);
  const ui::ResultLine shown = layOut(*this, glyphs);
  const QFontMetricsF fm(glyphs.font(shown.size), this);
  const QPoint start(static_cast<int>(std::lround(kOutputTextIndent * dpr)),
                     static_cast<int>(std::lround((height() + fm.capHeight()) / 2.0 * dpr)));
  painter.setClipRect(rect().adjusted(1, 1, -1, -1));
  QColor ink = p.color(QPalette::Text);
  if (hasSelectedText() && !shown.characters.empty()) {
    // The result is selected whole: all that is shown of it is marked.
    const qreal x0 = (start.x() + shown.characters.front().inkLeft) / dpr - 1;
    const qreal x1 = (start.x() + shown.characters.back().inkRight) / dpr + 1;
    painter.fillRect(QRectF(x0, 1, x1 - x0, height() - 2), p.color(QPalette::Highlight));
    ink = p.color(QPalette::HighlightedText);
  }
  draw(painter, shown, glyphs, start, ink);
  painter.setClipping(false);
  // A frame a shade off the ground: darker on a light one, lighter on a dark one.
  const QColor ground = p.color(QPalette::Window);
  const QColor frame = ground.lightness() >= 128 ? ground.darker(140) : ground.lighter(180);
  painter.setPen(hasFocus() ? p.color(QPalette::Highlight) : frame);
  painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void QtTextBox::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  // The box's own edits are the line edit's menu, as every Qt program offers them; the window's
  // commands that the box's menu offers go first, above them.
  QAction* first = menu->actions().value(0);
  bool added = false;
  for (const ui::MenuEntry& entry :
       ui::menuOf(output_ ? ui::Place::ResultBox : ui::Place::InputBox)) {
    const ui::CommandSpec& spec = ui::commandSpec(entry.command);
    if (!spec.window || !windowCommands_.run) continue;
    auto* action = new QAction(QString::fromUtf8(spec.caption), menu.get());
    action->setShortcut(QKeySequence(QString::fromLatin1(spec.keys)));  // shown, as Copy's is
    action->setEnabled(windowCommands_.holds(spec.enabled));
    connect(action, &QAction::triggered, this,
            [run = windowCommands_.run, command = spec.command] { run(command); });
    menu->insertAction(first, action);
    added = true;
  }
  if (added) menu->insertSeparator(first);
  menu->exec(event->globalPos());
}

QString QtTextBox::shownText() const {
  if (!output_) return text();
  BoxGlyphs glyphs(font(), devicePixelRatioF());
  return QString::fromStdString(layOut(*this, glyphs).text());
}

QtCommandButton::QtCommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void QtCommandButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
    event->accept();
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

PictureFocus::PictureFocus(QWidget* form, std::function<void()> open)
    : QWidget(form), open_(std::move(open)) {
  setProperty("kalvenaPictureFocus", true);
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureFocus::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  // A dotted frame inside the picture's edge, as every style shows the focus on a picture.
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void PictureFocus::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void PictureFocus::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void PictureFocus::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      event->accept();
      open_();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace kalvena::qt
