#include "qt_toolkit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
#include <QToolTip>
#include <QTranslator>

#include <algorithm>
#include <limits>

#include "qt_painter.h"
#include "result_text.h"

namespace kalvena::qt {

using ui::ControlSpec;
using ui::ControlType;
using ui::FormLayout;
using ui::LineSpec;

namespace {

QWidget* buildControl(const ControlSpec& spec, QWidget* parent) {
  QWidget* w = nullptr;
  const QString caption = QString::fromUtf8(spec.caption);
  const QRect rect(twipsToPixels(spec.left), twipsToPixels(spec.top), twipsToPixels(spec.width),
                   twipsToPixels(spec.height));
  switch (spec.type) {
    case ControlType::Label: {
      auto* label = new QLabel(caption, parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      // A caption wraps inside its box; in a box one line high a wrapped second line would
      // only be cut off, so there the caption stays on its line.
      label->setWordWrap(rect.height() >= 2 * label->fontMetrics().lineSpacing());
      w = label;
      break;
    }
    case ControlType::TextBox:
      w = new QtTextBox(parent);
      break;
    case ControlType::CommandButton:
      w = new QtCommandButton(caption, parent);
      w->setAccessibleName(caption);
      break;
    case ControlType::PictureBox:
      w = new PictureBox(ui::drawingNamed(spec.image), QSize(spec.bitmapWidth, spec.bitmapHeight),
                         parent);
      break;
  }
  w->setObjectName(QString::fromLatin1(spec.name));
  if (spec.accessibleName) w->setAccessibleName(QString::fromUtf8(spec.accessibleName));
  w->setGeometry(rect);
  return w;
}

// Builds the controls so that creation order is stacking order: labels at the bottom, lines
// over them, then the rest; then chains the controls that take focus in tab index order.
void buildControls(const FormLayout& layout, QWidget* form) {
  auto isLabel = [](const ControlSpec& c) { return c.type == ControlType::Label; };
  for (const ControlSpec& spec : layout.controls) {
    if (isLabel(spec)) buildControl(spec, form);
  }
  for (const LineSpec& line : layout.lines) new LineControl(line, form);
  std::vector<std::pair<int, QWidget*>> focusable;
  for (const ControlSpec& spec : layout.controls) {
    if (isLabel(spec)) continue;
    QWidget* w = buildControl(spec, form);
    if (w->focusPolicy() & Qt::TabFocus) focusable.emplace_back(spec.tabIndex, w);
  }
  std::sort(focusable.begin(), focusable.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
  }
  if (!focusable.empty()) focusable.front().second->setFocus();
}

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

// A desktop theme (qt6ct, KDE's, GTK's) sets the application's font when it applies its
// settings, after start-up and again whenever they change, and that also drops the font
// given to hover texts. Each time, the program's font is set again for both.
class ProgramFontKeeper final : public QObject {
 public:
  void keep(QApplication& app) {
    apply();
    app.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ApplicationFontChange && watched == qApp && !applying_ &&
        !(QApplication::font() == programFont() && QToolTip::font() == programFont())) {
      apply();
    }
    return false;
  }

 private:
  void apply() {
    applying_ = true;
    QApplication::setFont(programFont());
    QToolTip::setFont(programFont());
    applying_ = false;
  }

  bool applying_ = false;
};

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

QIcon programIcon() {
  // The desktop icons that packaging installs; made once, every window shares them.
  static const QIcon icon = [] {
    QIcon i;
    for (const int size : {16, 32, 48, 256}) {
      i.addFile(QStringLiteral(":/icons/kalvena-%1.png").arg(size), QSize(size, size));
    }
    return i;
  }();
  return icon;
}

QFont programFont() {
  // Pixel size, not points, so the windows look the same whatever DPI the desktop reports.
  // Where Liberation Sans is missing (on Windows, say) the metric-compatible Arial stands in.
  // Made from a family, not from the application's font, so that weight, slant and stretch
  // start from their defaults rather than from whatever a theme set.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  font.setPixelSize(11);
  // Every property is the program's own, so none of them is taken from the font a desktop
  // theme gives the application (a bold or wide theme font would not fit the twips either).
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

void setUpApplication(QApplication& app) {
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  static ProgramFontKeeper fontKeeper;
  fontKeeper.keep(app);
  QApplication::setApplicationName(QStringLiteral("Kalvena"));
  // Links the running windows to the menu entry, whose icon and name a task bar shows.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kalvena.kalvena"));
  // Qt's own texts (the input box's context menu, say) in Bulgarian, like the rest.
  static QTranslator qtBulgarian;
  if (qtBulgarian.load(QStringLiteral("qtbase_bg"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtBulgarian);
  }
  QAccessible::installFactory(accessibleFactory);
  // The program ends when no window is loaded; the windows' Unload and End decide that.
  QApplication::setQuitOnLastWindowClosed(false);
}

namespace {

// The windows' handle on a text box.
class TextBoxHandle final : public ui::TextBox {
 public:
  explicit TextBoxHandle(QtTextBox* box) : box_(box) {}

  std::string text() const override { return box_->text().toStdString(); }
  void setText(std::string_view utf8) override {
    box_->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  }
  void setOutput() override { box_->setOutput(); }
  void setDescription(std::string_view utf8) override {
    const QString d = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    box_->setToolTip(d);
    box_->setAccessibleDescription(d);
  }
  void onChange(std::function<void()> handler) override {
    QObject::connect(box_, &QLineEdit::textChanged, box_, [h = std::move(handler)] { h(); });
  }

 private:
  QtTextBox* box_;
};

class CommandButtonHandle final : public ui::CommandButton {
 public:
  explicit CommandButtonHandle(QtCommandButton* button) : button_(button) {}

  void onClick(std::function<void()> handler) override {
    QObject::connect(button_, &QPushButton::clicked, button_, [h = std::move(handler)] { h(); });
  }

 private:
  QtCommandButton* button_;
};

// The top-level widget of a loaded window: its controls, and its close box, which unloads it.
class FormWidget final : public QWidget, public ui::NativeWindow {
 public:
  FormWidget(const FormLayout& layout, std::function<void()> onClose)
      : onClose_(std::move(onClose)) {
    setProperty("kalvenaForm", true);
    setWindowTitle(QStringLiteral("Kalvena"));
    setAccessibleDescription(QString::fromUtf8(layout.description));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    setWindowIcon(programIcon());
    // The twips were laid out for this font: a desktop theme's font does not apply here.
    setFont(programFont());
    buildControls(layout, this);
    for (QtTextBox* box : findChildren<QtTextBox*>(Qt::FindDirectChildrenOnly)) {
      textBoxes_.emplace_back(box->objectName().toStdString(), TextBoxHandle(box));
    }
    for (QtCommandButton* b : findChildren<QtCommandButton*>(Qt::FindDirectChildrenOnly)) {
      buttons_.emplace_back(b->objectName().toStdString(), CommandButtonHandle(b));
    }
  }

  ui::TextBox* textBox(std::string_view name) override { return find(textBoxes_, name); }
  ui::CommandButton* commandButton(std::string_view name) override { return find(buttons_, name); }

  void show() override {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      const QSize frame = frameGeometry().size();
      move(ui::placeOnAxis(frame.width(), area.x(), area.width()),
           ui::placeOnAxis(frame.height(), area.y(), area.height()));
    }
    // A window just shown is on top already; it only needs to become the active one.
    QWidget::show();
    activateWindow();
  }

  void messageBox(std::string_view text, std::string_view title) override {
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(title.data(), std::ssize(title)),
                    QString::fromUtf8(text.data(), std::ssize(text)), QMessageBox::Ok, this);
    box.setFont(programFont());
    box.exec();
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    onClose_();
  }

 private:
  template <class Handle>
  static Handle* find(std::vector<std::pair<std::string, Handle>>& handles, std::string_view name) {
    for (auto& [n, h] : handles) {
      if (n == name) return &h;
    }
    return nullptr;
  }

  std::function<void()> onClose_;
  std::vector<std::pair<std::string, TextBoxHandle>> textBoxes_;
  std::vector<std::pair<std::string, CommandButtonHandle>> buttons_;
};

}  // namespace

QtToolkit::~QtToolkit() {
  for (const QPointer<QWidget>& w : dying_) delete w.data();
}

std::unique_ptr<ui::NativeWindow> QtToolkit::createWindow(const FormLayout& layout,
                                                          std::function<void()> onClose) {
  return std::make_unique<FormWidget>(layout, std::move(onClose));
}

void QtToolkit::destroyLater(std::unique_ptr<ui::NativeWindow> window) {
  auto* w = dynamic_cast<QWidget*>(window.release());
  w->hide();
  // The handler that asked for this may still be running on one of the window's controls.
  w->deleteLater();
  std::erase_if(dying_, [](const QPointer<QWidget>& p) { return p.isNull(); });
  dying_.emplace_back(w);
}

void QtToolkit::quit() { QCoreApplication::exit(0); }

std::string QtToolkit::decimalSeparator() const {
  return QLocale::system().decimalPoint().toStdString();
}

QWidget* widgetOf(const ui::Window& window) { return dynamic_cast<QWidget*>(window.native()); }

}  // namespace kalvena::qt
