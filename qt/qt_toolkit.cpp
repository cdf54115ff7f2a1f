#include "qt_toolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

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

}  // namespace

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

  void onCopyPartsList(std::function<std::string()> list) override {
    const PartsList parts = [list = std::move(list)] { return QString::fromStdString(list()); };
    for (QtTextBox* box : findChildren<QtTextBox*>(Qt::FindDirectChildrenOnly)) {
      box->setPartsList(parts);
    }
    if (!shortcut_) {
      shortcut_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
      connect(shortcut_, &QShortcut::activated, this, [this] { copyPartsList(parts_); });
    }
    parts_ = parts;
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    onClose_();
  }

  // Ctrl+Shift+C by the physical key, where the layout gives it a letter the shortcut does not
  // know (a Bulgarian layout alone); with a Latin letter the shortcut has taken it already.
  void keyPressEvent(QKeyEvent* event) override {
    if (controlLetter(*event) == Qt::Key_C && event->key() != Qt::Key_C &&
        (event->modifiers() & Qt::ShiftModifier) && shortcut_) {
      event->accept();
      copyPartsList(parts_);
      return;
    }
    QWidget::keyPressEvent(event);
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
  PartsList parts_;
  QShortcut* shortcut_ = nullptr;
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
