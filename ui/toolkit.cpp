#include "toolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QSvgRenderer>

#include <algorithm>

namespace kalvena::ui {
namespace {

std::vector<Window*> gLoaded;
bool gEnding = false;

// The top-level widget of a loaded window: its close box unloads the window.
class FormWidget final : public QWidget {
 public:
  explicit FormWidget(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    onClose_();
  }

 private:
  std::function<void()> onClose_;
};

QWidget* buildControl(const ControlSpec& spec, QWidget* parent) {
  QWidget* w = nullptr;
  const QString caption = QString::fromUtf8(spec.caption);
  const QRect rect(twips(spec.left), twips(spec.top), twips(spec.width), twips(spec.height));
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
      w = new QLineEdit(parent);
      break;
    case ControlType::CommandButton:
      w = new QPushButton(caption, parent);
      w->setAccessibleName(caption);
      break;
    case ControlType::PictureBox:
      w = new PictureBox(QString::fromLatin1(spec.image),
                         QSize(spec.bitmapWidth, spec.bitmapHeight), parent);
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

QPixmap renderSvg(const QString& image, QSize size, qreal dpr) {
  QImage canvas(size * dpr, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  QSvgRenderer svg(image);
  QPainter painter(&canvas);
  svg.render(&painter);
  painter.end();
  QPixmap pixmap = QPixmap::fromImage(canvas);
  pixmap.setDevicePixelRatio(dpr);
  return pixmap;
}

}  // namespace

PictureBox::PictureBox(const QString& image, QSize bitmap, QWidget* parent)
    : QWidget(parent), image_(image), bitmap_(bitmap) {
  setFocusPolicy(Qt::NoFocus);
}

QPixmap PictureBox::pixmap() const {
  const qreal dpr = devicePixelRatioF();
  if (cache_.isNull() || cache_.devicePixelRatio() != dpr) cache_ = renderSvg(image_, bitmap_, dpr);
  return cache_;
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, pixmap());
}

LineControl::LineControl(const LineSpec& spec, QWidget* parent) : QWidget(parent) {
  setObjectName(QString::fromLatin1(spec.name));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  const QPoint a(twips(spec.x1), twips(spec.y1));
  const QPoint b(twips(spec.x2), twips(spec.y2));
  // Both end points are drawn; the parent clips a line that runs past the client area.
  setGeometry(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                    QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
}

QIcon programIcon() {
  // Drawn once; every window after the first shares the pixmaps.
  static const QIcon icon = [] {
    QIcon i;
    for (const int size : {16, 32, 48, 64}) {
      i.addPixmap(renderSvg(QStringLiteral(":/images/sun.svg"), QSize(size, size), 1.0));
    }
    return i;
  }();
  return icon;
}

void setUpApplication(QApplication& app) {
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // Pixel size, not points, so the windows look the same whatever DPI the desktop reports.
  // Where Liberation Sans is missing (on Windows, say) the metric-compatible Arial stands in.
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  font.setPixelSize(11);
  app.setFont(font);
  QApplication::setApplicationName(QStringLiteral("Kalvena"));
  // The program ends when no window is loaded; Window::Unload and End decide that.
  QApplication::setQuitOnLastWindowClosed(false);
}

Window::~Window() {
  std::erase(gLoaded, this);
  delete widget_.data();
  for (const QPointer<QWidget>& w : unloaded_) delete w.data();
}

void Window::Show() {
  if (!isLoaded()) load();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = widget_->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    widget_->move(frame.topLeft());
  }
  // A window just shown is on top already; it only needs to become the active one.
  widget_->show();
  widget_->activateWindow();
}

void Window::load() {
  const FormLayout& l = layout();
  auto* form = new FormWidget([this] { Unload(); });
  form->setWindowTitle(QStringLiteral("Kalvena"));
  form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  form->setFixedSize(twips(l.clientWidth), twips(l.clientHeight));
  form->setWindowIcon(programIcon());
  buildControls(l, form);
  widget_ = form;
  gLoaded.push_back(this);
  connectEvents();
  Form_Load();
}

void Window::Unload() {
  if (!isLoaded()) return;
  QWidget* w = widget_;
  widget_ = nullptr;
  std::erase(gLoaded, this);
  w->hide();
  w->deleteLater();
  std::erase_if(unloaded_, [](const QPointer<QWidget>& p) { return p.isNull(); });
  unloaded_.emplace_back(w);
  if (gLoaded.empty() && !gEnding) QCoreApplication::exit(0);
}

QLineEdit* Window::textBox(const char* name) const {
  return widget_
             ? widget_->findChild<QLineEdit*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly)
             : nullptr;
}

void Window::onChange(const char* textBoxName, std::function<void()> handler) {
  QObject::connect(textBox(textBoxName), &QLineEdit::textChanged, widget_,
                   [h = std::move(handler)] { h(); });
}

void Window::onClick(const char* buttonName, std::function<void()> handler) {
  auto* button =
      widget_->findChild<QPushButton*>(QString::fromLatin1(buttonName), Qt::FindDirectChildrenOnly);
  QObject::connect(button, &QPushButton::clicked, widget_, [h = std::move(handler)] { h(); });
}

void End() {
  gEnding = true;
  const std::vector<Window*> loaded = gLoaded;
  for (Window* w : loaded) w->Unload();
  gEnding = false;
  QCoreApplication::exit(0);
}

int loadedWindowCount() { return static_cast<int>(gLoaded.size()); }

void MsgBox(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace kalvena::ui
