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

#include <limits>
#include <memory>

#include "qt_painter.h"
#include "qt_toolkit.h"
#include "result_text.h"

namespace kalvena::qt {

using ui::LineSpec;

namespace {

// Where the text of a result box begins: past the frame and a pixel of space.
constexpr qreal kOutputTextIndent = 2;

}  // namespace

QtTextBox::QtTextBox(QWidget* parent) : QLineEdit(parent) {
  // A paste is never cut: the whole text reaches the check, which rejects or stores it.
  setMaxLength(std::numeric_limits<int>::max());
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
  QFont f = font();
  f.setStretch(85);
  setFont(f);
  // Whatever sets the text, the box shows where it begins.
  connect(this, &QLineEdit::textChanged, this, [this] { setCursorPosition(0); });
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
  // Drawn here rather than by the style, so that the digits sit in the middle of the box at
  // every scale: the text from its beginning (a text too wide with "…" in its middle), the
  // selection, the frame.
  QPainter painter(this);
  const QPalette& p = palette();
  painter.fillRect(rect(), p.color(QPalette::Base));
  const QFontMetricsF fm(font(), this);
  const qreal left = kOutputTextIndent;
  const qreal baseline = (height() + fm.capHeight()) / 2.0;
  const QString t = shownText();
  painter.setClipRect(rect().adjusted(1, 1, -1, -1));
  painter.setPen(p.color(QPalette::Text));
  painter.drawText(QPointF(left, baseline), t);
  if (hasSelectedText()) {
    // Of a shortened text, a selection of any part marks all that is shown.
    const bool whole = t == text();
    const QString selected = whole ? selectedText() : t;
    const qreal x0 = left + (whole ? fm.horizontalAdvance(t.left(selectionStart())) : 0);
    painter.fillRect(QRectF(x0, 1, fm.horizontalAdvance(selected), height() - 2),
                     p.color(QPalette::Highlight));
    painter.setPen(p.color(QPalette::HighlightedText));
    painter.drawText(QPointF(x0, baseline), selected);
  }
  painter.setClipping(false);
  // A frame a shade off the ground: darker on a light one, lighter on a dark one.
  const QColor ground = p.color(QPalette::Window);
  const QColor frame = ground.lightness() >= 128 ? ground.darker(140) : ground.lighter(180);
  painter.setPen(hasFocus() ? p.color(QPalette::Highlight) : frame);
  painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

bool copyPartsList(const PartsList& list) {
  const QString text = list ? list() : QString();
  if (text.isEmpty()) return false;
  QGuiApplication::clipboard()->setText(text);
  return true;
}

void QtTextBox::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  if (output_) {
    // The whole window's results, first, above what the box itself offers.
    auto* copyAll = new QAction(QString::fromUtf8(ui::kCopyPartsListCaption), menu.get());
    const PartsList list = partsList_;
    copyAll->setEnabled(list && !list().isEmpty());
    copyAll->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));  // shown, as Copy's is
    connect(copyAll, &QAction::triggered, this, [list] { copyPartsList(list); });
    QAction* first = menu->actions().value(0);
    menu->insertAction(first, copyAll);
    menu->insertSeparator(first);
  }
  menu->exec(event->globalPos());
}

QString QtTextBox::shownText() const {
  const QString t = text();
  if (!output_) return t;
  const QFontMetricsF fm(font(), this);
  // Past the frame and a pixel of space on either side.
  const qreal available = width() - 2 * kOutputTextIndent;
  return QString::fromStdString(
      fitResultText(t.toStdString(), available, [&fm](std::string_view s) {
        return fm.horizontalAdvance(QString::fromUtf8(s.data(), std::ssize(s)));
      }));
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

PictureBox::PictureBox(const ui::Drawing* drawing, QSize bitmap, QWidget* parent)
    : QWidget(parent), drawing_(drawing), bitmap_(bitmap) {
  setFocusPolicy(Qt::NoFocus);
}

QImage PictureBox::render(qreal devicePixelRatio) const {
  QImage image((QSizeF(bitmap_) * devicePixelRatio).toSize(), QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtPainter drawn(painter);
  if (drawing_) drawing_->draw(drawn, bitmap_.width(), bitmap_.height());
  return image;
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setClipRect(QRect(QPoint(0, 0), bitmap_));
  QtPainter drawn(painter);
  if (drawing_) drawing_->draw(drawn, bitmap_.width(), bitmap_.height());
}

LineControl::LineControl(const LineSpec& spec, QWidget* parent) : QWidget(parent) {
  setObjectName(QString::fromLatin1(spec.name));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  const QPoint a(twipsToPixels(spec.x1), twipsToPixels(spec.y1));
  const QPoint b(twipsToPixels(spec.x2), twipsToPixels(spec.y2));
  // Both end points are drawn; the parent clips a line that runs past the client area.
  setGeometry(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                    QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Black on the usual light ground; a dark desktop theme's text colour on a dark one.
  painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

}  // namespace kalvena::qt
