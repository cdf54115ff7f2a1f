#include "toolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>

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
  switch (spec.type) {
    case ControlType::Label: {
      auto* label = new QLabel(caption, parent);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      w = label;
      break;
    }
    case ControlType::TextBox:
      w = new QLineEdit(parent);
      break;
    case ControlType::CommandButton:
      w = new QPushButton(caption, parent);
      break;
  }
  w->setObjectName(QString::fromLatin1(spec.name));
  w->setGeometry(twips(spec.left), twips(spec.top), twips(spec.width), twips(spec.height));
  return w;
}

}  // namespace

void setUpApplication(QApplication& app) {
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // Pixel size, not points, so the windows look the same whatever DPI the desktop reports.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  if (!QFontInfo(font).exactMatch()) font.setFamily(QStringLiteral("Arial"));
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
  widget_->show();
  widget_->raise();
  widget_->activateWindow();
}

void Window::load() {
  const FormLayout& l = layout();
  auto* form = new FormWidget([this] { Unload(); });
  form->setWindowTitle(QStringLiteral("Kalvena"));
  form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  form->setFixedSize(twips(l.clientWidth), twips(l.clientHeight));
  for (const ControlSpec& spec : l.controls) buildControl(spec, form);
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

int loadedWindowCount() {
  return static_cast<int>(gLoaded.size());
}

void MsgBox(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace kalvena::ui
