#include "qt_toolkit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QSessionManager>
#include <QToolTip>

#include <algorithm>
#include <memory>
#include <optional>

#include "qt_dialogs.h"
#include "qt_painter.h"
#include "qt_response.h"

namespace kalvena::qt {

using ui::ControlSpec;
using ui::ControlType;
using ui::FormLayout;

namespace {

// A box, a button, or a picture's place in the tab order (the window draws the picture).
QWidget* buildControl(const ControlSpec& spec, QWidget* parent, const std::function<void()>& open) {
  QWidget* w = nullptr;
  if (spec.type == ControlType::TextBox) {
    w = new QtTextBox(parent);
  } else if (spec.type == ControlType::PictureBox) {
    w = new PictureFocus(parent, open);
  } else if (spec.type == ControlType::CheckBox) {
    w = new QCheckBox(QString::fromUtf8(spec.caption), parent);
  } else if (spec.type == ControlType::OptionButton) {
    w = new QRadioButton(QString::fromUtf8(spec.caption), parent);
  } else {
    w = new QtCommandButton(QString::fromUtf8(spec.caption), parent);
  }
  w->setObjectName(QString::fromLatin1(spec.name));
  w->setAccessibleName(QString::fromStdString(ui::accessibleName(spec)));
  w->setGeometry(twipsToPixels(spec.left), twipsToPixels(spec.top), twipsToPixels(spec.width),
                 twipsToPixels(spec.height));
  return w;
}

// Builds the boxes and buttons (the rest is the face, which the window draws) and each
// picture's place in the tab order, in tab index order, and chains them. Option buttons that
// follow each other are one group.
void buildControls(const FormLayout& layout, QWidget* form, const std::function<void()>& open) {
  QWidget* previous = nullptr;
  QButtonGroup* group = nullptr;
  for (const ControlSpec* spec : ui::focusOrder(layout)) {
    QWidget* w = buildControl(*spec, form, open);
    if (auto* option = qobject_cast<QRadioButton*>(w)) {
      if (!group) group = new QButtonGroup(form);
      group->addButton(option);
    } else {
      group = nullptr;
    }
    if (previous) {
      QWidget::setTabOrder(previous, w);
    } else {
      w->setFocus();
    }
    previous = w;
  }
}

// The windows' handle on a text box.
class TextBoxHandle final : public ui::TextBox {
 public:
  explicit TextBoxHandle(QtTextBox* box) : box_(box) {}

  std::string text() const override { return box_->text().toStdString(); }
  void setText(std::string_view utf8) override {
    box_->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  }
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

// A check box or option button: its handler runs when the user changes it, by a click, a key or
// a screen reader's toggle (which toggles without a click), and not when the program sets it.
// An option button runs it when it becomes the one chosen.
class CheckBoxHandle final : public ui::CheckBox {
 public:
  explicit CheckBoxHandle(QAbstractButton* button)
      : button_(button), setting_(std::make_shared<bool>(false)) {}

  bool value() const override { return button_->isChecked(); }
  void setValue(bool on) override {
    *setting_ = true;
    button_->setChecked(on);
    *setting_ = false;
  }
  void onClick(std::function<void()> handler) override {
    const bool option = qobject_cast<QRadioButton*>(button_) != nullptr;
    QObject::connect(button_, &QAbstractButton::toggled, button_,
                     [h = std::move(handler), setting = setting_, option](bool on) {
                       if (!*setting && (on || !option)) h();
                     });
  }

 private:
  QAbstractButton* button_;
  std::shared_ptr<bool> setting_;  // shared with the handler, which outlives a moved handle
};

// The top-level widget of a loaded window: its controls, and its close box, which unloads it.
class FormWidget final : public QWidget, public ui::NativeWindow {
 public:
  FormWidget(const FormLayout& layout, std::span<const std::string_view> resultBoxes,
             std::function<void()> onClose)
      : layout_(&layout), onClose_(std::move(onClose)) {
    setProperty("kalvenaForm", true);
    setWindowTitle(layout.title ? QString::fromUtf8(layout.title) : QStringLiteral("Kalvena"));
    setAccessibleDescription(QString::fromUtf8(layout.description));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    setWindowIcon(programIcon());
    // The twips were laid out for this font: a desktop theme's font does not apply here.
    setFont(programFont());
    buildControls(layout, this, [this] { openResponse(); });
    for (QtTextBox* box : findChildren<QtTextBox*>(Qt::FindDirectChildrenOnly)) {
      if (std::ranges::find(resultBoxes, box->objectName().toStdString()) != resultBoxes.end()) {
        box->setOutput();
      }
      textBoxes_.emplace_back(box->objectName().toStdString(), TextBoxHandle(box));
    }
    for (QtCommandButton* b : findChildren<QtCommandButton*>(Qt::FindDirectChildrenOnly)) {
      buttons_.emplace_back(b->objectName().toStdString(), CommandButtonHandle(b));
    }
    for (QAbstractButton* b : findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
      if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) {
        checkBoxes_.emplace_back(b->objectName().toStdString(), CheckBoxHandle(b));
      }
    }
  }

  ui::TextBox* textBox(std::string_view name) override { return find(textBoxes_, name); }
  ui::CommandButton* commandButton(std::string_view name) override { return find(buttons_, name); }
  ui::CheckBox* checkBox(std::string_view name) override { return find(checkBoxes_, name); }
  std::optional<std::string> askFileName(const ui::FileQuestion& question) override {
    return qt::askFileName(this, question);
  }
  ui::SaveAnswer askToSave(std::string_view text, std::string_view title) override {
    return qt::askToSave(this, text, title);
  }
  // Laid out when first asked for (the first paint, a screen reader), and again after a theme
  // changes the colours or the font.
  const ui::Face& face() const {
    if (!face_) layOutFace();
    return *face_;
  }

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

  void onCommands(ui::WindowCommands commands) override {
    commands_ = std::move(commands);
    for (QtTextBox* box : findChildren<QtTextBox*>(Qt::FindDirectChildrenOnly)) {
      box->setWindowCommands(commands_);
    }
  }
  bool copyText(std::string_view utf8) override {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(utf8.data(), std::ssize(utf8)));
    return true;
  }

  void setResponseView(ui::ResponseView view) override { responseView_ = std::move(view); }
  void showResponseView() override {
    if (!responseView_) return;
    if (!response_) response_ = new ResponseWindow(this, *responseView_);
    response_->show();
    response_->raise();
    response_->activateWindow();
  }
  void updateResponseView() override {
    if (response_) response_->refresh();
  }
  // The response view where it has been opened, for the tests.
  ResponseWindow* responseWindow() const { return response_; }

  void openResponse() { run(ui::Command::OpenResponse); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QtPainter drawn(painter);
    face().draw(drawn);
  }

  void changeEvent(QEvent* event) override {
    // A theme's colours, or a font that could change how a caption fits.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
      face_.reset();
      update();
    }
    QWidget::changeEvent(event);
  }

  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      const auto* help = static_cast<QHelpEvent*>(event);
      if (pictureAt(help->pos())) {
        QToolTip::showText(help->globalPos(), QString::fromUtf8(ui::kPictureHint), this);
      } else {
        QToolTip::hideText();
      }
      return true;
    }
    return QWidget::event(event);
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (pictureAt(event->position().toPoint())) {
      openResponse();
      return;
    }
    QWidget::mouseDoubleClickEvent(event);
  }

  void contextMenuEvent(QContextMenuEvent* event) override {
    if (!pictureAt(event->pos())) return;
    QMenu menu(this);
    for (const ui::MenuEntry& entry : ui::menuOf(ui::Place::Picture)) {
      const ui::CommandSpec& spec = ui::commandSpec(entry.command);
      QAction* action = menu.addAction(QString::fromUtf8(spec.caption));
      action->setShortcut(QKeySequence(QString::fromLatin1(spec.keys)));  // shown, as Copy's is
      action->setEnabled(holds(spec.enabled));
      connect(action, &QAction::triggered, this, [this, c = spec.command] { run(c); });
      if (entry.separatorAfter) menu.addSeparator();
    }
    menu.exec(event->globalPos());
  }

  // The windows' code unloads the window, which hides it, or keeps it where the user said so.
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    onClose_();
  }

  // The window's shortcuts, from whichever of its controls has the focus: what a control does
  // not take comes here.
  void keyPressEvent(QKeyEvent* event) override {
    if (const std::optional<ui::Command> command =
            ui::commandOfKey(ui::Place::CalculatorWindow, keyPressOf(*event))) {
      event->accept();
      run(*command);
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

  bool pictureAt(QPoint at) const { return face().pictureAt(at.x(), at.y()); }

  bool holds(ui::Condition condition) const {
    return commands_.holds && commands_.holds(condition);
  }
  void run(ui::Command command) {
    if (commands_.run) commands_.run(command);
  }

  // The face in logical pixels (Qt scales them), in the theme's text colour.
  void layOutFace() const {
    const QColor ink = palette().color(QPalette::WindowText);
    const ui::FaceScale scale{
        [](int twips) { return twipsToPixels(twips); },
        ui::kFontPixels,
        1,
        1,
        {static_cast<std::uint8_t>(ink.red()), static_cast<std::uint8_t>(ink.green()),
         static_cast<std::uint8_t>(ink.blue())}};
    QImage surface(1, 1, QImage::Format_RGB32);
    QPainter painter(&surface);
    QtPainter measure(painter);
    face_.emplace(*layout_, scale, measure);
  }

  const FormLayout* layout_;
  mutable std::optional<ui::Face> face_;
  std::function<void()> onClose_;
  ui::WindowCommands commands_;  // what the windows' code does with the window's commands
  std::optional<ui::ResponseView> responseView_;
  QPointer<ResponseWindow> response_;
  std::vector<std::pair<std::string, TextBoxHandle>> textBoxes_;
  std::vector<std::pair<std::string, CommandButtonHandle>> buttons_;
  std::vector<std::pair<std::string, CheckBoxHandle>> checkBoxes_;
};

}  // namespace

QtToolkit::~QtToolkit() {
  for (const QPointer<QWidget>& w : dying_) delete w.data();
}

std::unique_ptr<ui::NativeWindow> QtToolkit::createWindow(
    const FormLayout& layout, std::span<const std::string_view> resultBoxes,
    std::function<void()> onClose) {
  return std::make_unique<FormWidget>(layout, resultBoxes, std::move(onClose));
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

void QtToolkit::onEndSession(std::function<bool()> mayEnd) {
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp,
                   [mayEnd = std::move(mayEnd)](QSessionManager& session) {
                     if (session.allowsInteraction() && !mayEnd()) session.cancel();
                     session.release();
                   });
}

std::string QtToolkit::decimalSeparator() const {
  return QLocale::system().decimalPoint().toStdString();
}

QWidget* widgetOf(const ui::Window& window) { return dynamic_cast<QWidget*>(window.native()); }

const ui::Face* faceOf(const QWidget* form) {
  const auto* f = dynamic_cast<const FormWidget*>(form);
  return f ? &f->face() : nullptr;
}

}  // namespace kalvena::qt
