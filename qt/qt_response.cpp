#include "qt_response.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>

#include "qt_controls.h"
#include "qt_painter.h"
#include "qt_toolkit.h"

namespace kalvena::qt {

// The plot's surface: drawn whole by the windows' code, and named and described as a graphic.
class ResponseWindow::Plot final : public QWidget {
 public:
  Plot(ResponseWindow& window) : QWidget(&window), window_(window) {
    setMinimumSize(480, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  void draw(QPainter& painter) const {
    QtPainter drawn(painter);
    window_.view_.draw(drawn, width(), height(), window_.choice());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
  }

 private:
  ResponseWindow& window_;
};

namespace {

// A choice of parts: the arrow keys that move the focus between the choices choose, too, as
// radio buttons do on every desktop; tabbing in comes to the one chosen.
class ChoiceButton final : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QRadioButton::focusInEvent(event);
    const Qt::FocusReason why = event->reason();
    if ((why == Qt::TabFocusReason || why == Qt::BacktabFocusReason) && !isChecked()) {
      setChecked(true);
    }
  }
};

}  // namespace

ResponseWindow::ResponseWindow(QWidget* owner, ui::ResponseView view)
    : QWidget(owner, Qt::Window), view_(std::move(view)) {
  setObjectName(QStringLiteral("ResponseWindow"));
  setWindowTitle(QString::fromUtf8(view_.title));
  setWindowIcon(programIcon());
  setFont(programFont());
  const ui::ResponseLayout& l = view_.layout;
  choices_ = new QButtonGroup(this);
  for (std::size_t i = 0; i < view_.choices.size(); ++i) {
    auto* button = new ChoiceButton(QString::fromUtf8(view_.choices[i]), this);
    button->setObjectName(QStringLiteral("Choice%1").arg(i));
    button->setGeometry(l.choicesLeft + static_cast<int>(i) * l.choiceStep, l.choicesTop,
                        l.choiceWidth, l.choiceHeight);
    choices_->addButton(button, static_cast<int>(i));
  }
  choices_->button(view_.choice ? view_.choice() : 0)->setChecked(true);
  connect(choices_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (!on) return;
    if (view_.choose) view_.choose(id);
    refresh();
  });
  if (view_.button) {
    auto* button = new QtCommandButton(QString::fromUtf8(view_.button), this);
    button->setObjectName(QStringLiteral("ViewButton"));
    button->setGeometry(l.buttonLeft, l.choicesTop - 1, l.buttonWidth, l.choiceHeight + 2);
    connect(button, &QPushButton::clicked, this, [this] { run(view_.buttonCommand); });
  }
  plot_ = new Plot(*this);
  plot_->setObjectName(QStringLiteral("Plot"));
  plot_->setAccessibleName(QString::fromUtf8(view_.title));
  setMinimumSize(plot_->minimumSize() + QSize(0, l.plotTop));
  resize(view_.width, view_.height);
  refresh();
}

void ResponseWindow::resizeEvent(QResizeEvent* event) {
  // The plot takes the client area below the choices.
  plot_->setGeometry(0, view_.layout.plotTop, width(), height() - view_.layout.plotTop);
  QWidget::resizeEvent(event);
}

int ResponseWindow::choice() const { return std::max(choices_->checkedId(), 0); }

void ResponseWindow::run(ui::Command command) {
  if (view_.commands.run) view_.commands.run(command);
}

void ResponseWindow::refresh() {
  // A design opened elsewhere may have chosen another set.
  if (view_.choice) {
    if (QAbstractButton* chosen = choices_->button(view_.choice());
        chosen && !chosen->isChecked()) {
      const QSignalBlocker quiet(choices_);
      chosen->setChecked(true);
    }
  }
  const QString description = QString::fromStdString(view_.describe(choice()));
  if (plot_->accessibleDescription() != description) {
    plot_->setAccessibleDescription(description);
    QAccessibleEvent event(plot_, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
  }
  plot_->update();
}

QImage ResponseWindow::plotImage() const {
  const qreal ratio = plot_->devicePixelRatioF();
  QImage image(plot_->size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  plot_->draw(painter);
  return image;
}

void ResponseWindow::keyPressEvent(QKeyEvent* event) {
  if (const std::optional<ui::Command> command =
          ui::commandOfKey(ui::Place::ResponseWindow, keyPressOf(*event))) {
    if (*command == ui::Command::CopyPlot) {
      QGuiApplication::clipboard()->setImage(plotImage());
    } else {
      run(*command);
    }
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace kalvena::qt
