// The title bar the program draws itself on a Wayland desktop whose compositor leaves title bars
// to the windows (GNOME, Weston). Qt's own draws minimise, maximise and close on every window,
// whatever the window allows; this one draws the window's icon and title, and only the buttons
// its flags ask for: a window of fixed size offers no maximise button, and can be moved but not
// resized. Where the compositor draws title bars itself (KDE), Qt lets it and this is not used.
//
// It is a plugin of Qt's Wayland client, against that library's private interface: it is built
// for one version of Qt, and the program loads it only on that version (qt_application.cpp).

#include <QtWaylandClient/private/qwaylandabstractdecoration_p.h>
#include <QtWaylandClient/private/qwaylanddecorationplugin_p.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace kalvena::qt {

namespace {

using QtWaylandClient::QWaylandAbstractDecoration;
using QtWaylandClient::QWaylandInputDevice;

// In the window's own (device-independent) pixels.
constexpr int kBarHeight = 30;
constexpr int kBorder = 1;
constexpr qreal kButtonSize = 24;
constexpr qreal kButtonGap = 3;
constexpr qreal kIconSize = 16;

enum class Button { None, Minimise, Maximise, Close };

class TitleBar final : public QWaylandAbstractDecoration {
 public:
  QMargins margins(MarginsType type = Full) const override {
    if (type == ShadowsOnly) return {};
    return {kBorder, kBarHeight, kBorder, kBorder};
  }

  bool handleMouse(QWaylandInputDevice* input, const QPointF& local, const QPointF&,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers) override {
    if (contentRect().contains(local) && pressed_ == Button::None) {
      setMouseButtons(buttons);
      return false;  // the window's own
    }
    const Button under = buttonAt(local);
    if (isLeftClicked(buttons)) {
      if (under != Button::None) {
        showPressed(under);
      } else if (const Qt::Edges edges = resizeEdges(local)) {
        startResize(input, edges, buttons);
      } else {
        startMove(input, buttons);
      }
    } else if (isLeftReleased(buttons)) {
      const Button pressed = pressed_;
      showPressed(Button::None);
      if (pressed == under) activate(under);
    } else if (isRightClicked(buttons) && local.y() < kBarHeight) {
      showWindowMenu(input);
    } else if (pressed_ != Button::None) {
      // Held down: the button looks pressed only while the pointer is on it.
      showPressed(pressed_, under == pressed_);
    }
    setMouseButtons(buttons);
    return true;
  }

  bool handleTouch(QWaylandInputDevice* input, const QPointF& local, const QPointF&,
                   QEventPoint::State state, Qt::KeyboardModifiers) override {
    if (state != QEventPoint::Pressed || contentRect().contains(local)) return false;
    if (const Button under = buttonAt(local); under != Button::None) {
      activate(under);
    } else if (local.y() < kBarHeight) {
      // A touch carries no mouse button; the move starts as for a left press.
      setMouseButtons(Qt::NoButton);
      startMove(input, Qt::LeftButton);
    }
    return true;
  }

 protected:
  void paint(QPaintDevice* device) override {
    const QSizeF surface = surfaceSize();
    const QPalette palette = QGuiApplication::palette();
    // The platform's word, which is there before the application has heard of it.
    const bool active = window()->handle() && window()->handle()->isActive();
    const QColor ground = palette.color(QPalette::Window);
    const QColor bar = ground.darker(active ? 112 : 105);
    const QColor ink = active ? palette.color(QPalette::WindowText)
                              : mix(palette.color(QPalette::WindowText), bar, 0.45);

    QPainter p(device);
    p.setRenderHint(QPainter::Antialiasing);
    // The border all round, the bar inside it; the window's content covers the rest.
    p.fillRect(QRectF(QPointF(0, 0), surface), ground.darker(150));
    p.fillRect(QRectF(kBorder, kBorder, surface.width() - 2 * kBorder, kBarHeight - kBorder), bar);

    qreal left = kBorder + 7;
    const QIcon icon = window()->icon();
    if (!icon.isNull()) {
      const QRectF place(left, (kBarHeight - kIconSize) / 2, kIconSize, kIconSize);
      icon.paint(&p, place.toRect());
      left = place.right() + 6;
    }

    const std::vector<Button> shown = buttons();
    const qreal right =
        shown.empty() ? surface.width() - kBorder - 7 : buttonRect(shown.size() - 1).left() - 6;
    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    // Centred on the bar, as long as it clears the icon and the buttons; elided where it would not.
    const QFontMetricsF metrics(font);
    const QString title = metrics.elidedText(window()->title(), Qt::ElideRight, right - left);
    const qreal width = metrics.horizontalAdvance(title);
    const qreal x = std::max(left, std::min((surface.width() - width) / 2, right - width));
    p.drawText(QRectF(x, 0, width + 1, kBarHeight), Qt::AlignLeft | Qt::AlignVCenter, title);

    for (std::size_t i = 0; i < shown.size(); ++i) {
      const QRectF place = buttonRect(i);
      if (shown[i] == pressed_ && pressedShown_) {
        p.setPen(Qt::NoPen);
        p.setBrush(bar.darker(125));
        p.drawRoundedRect(place, 4, 4);
      }
      p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      const QRectF glyph(place.center() - QPointF(4.5, 4.5), QSizeF(9, 9));
      switch (shown[i]) {
        case Button::Close:
          p.drawLine(glyph.topLeft(), glyph.bottomRight());
          p.drawLine(glyph.bottomLeft(), glyph.topRight());
          break;
        case Button::Maximise:
          p.drawRect(glyph);
          break;
        case Button::Minimise:
          p.drawLine(glyph.bottomLeft(), glyph.bottomRight());
          break;
        case Button::None:
          break;
      }
    }
  }

 private:
  static QColor mix(const QColor& a, const QColor& b, qreal ofB) {
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - ofB) + b.redF() * ofB),
                            static_cast<float>(a.greenF() * (1 - ofB) + b.greenF() * ofB),
                            static_cast<float>(a.blueF() * (1 - ofB) + b.blueF() * ofB));
  }

  bool resizable() const { return window()->minimumSize() != window()->maximumSize(); }

  QSizeF surfaceSize() const {
    const QMargins m = margins();
    return QSizeF(window()->size().grownBy(m));
  }

  QRectF contentRect() const {
    const QMargins m = margins();
    return QRectF(m.left(), m.top(), window()->width(), window()->height());
  }

  // The buttons the window's flags ask for, from the right.
  std::vector<Button> buttons() const {
    const Qt::WindowFlags flags = window()->flags();
    std::vector<Button> shown;
    if (flags & Qt::WindowCloseButtonHint) shown.push_back(Button::Close);
    if ((flags & Qt::WindowMaximizeButtonHint) && resizable()) shown.push_back(Button::Maximise);
    if (flags & Qt::WindowMinimizeButtonHint) shown.push_back(Button::Minimise);
    return shown;
  }

  QRectF buttonRect(std::size_t fromRight) const {
    const qreal right = surfaceSize().width() - kBorder - kButtonGap;
    const qreal x =
        right - static_cast<qreal>(fromRight + 1) * (kButtonSize + kButtonGap) + kButtonGap;
    return QRectF(x, (kBarHeight - kButtonSize) / 2, kButtonSize, kButtonSize);
  }

  Button buttonAt(const QPointF& local) const {
    const std::vector<Button> shown = buttons();
    for (std::size_t i = 0; i < shown.size(); ++i) {
      if (buttonRect(i).contains(local)) return shown[i];
    }
    return Button::None;
  }

  // Which edges a press at the window's rim drags; none for a window of fixed size.
  Qt::Edges resizeEdges(const QPointF& local) const {
    if (!resizable()) return {};
    constexpr qreal kGrip = 4;
    const QSizeF surface = surfaceSize();
    Qt::Edges edges;
    if (local.x() < kGrip) edges |= Qt::LeftEdge;
    if (local.x() >= surface.width() - kGrip) edges |= Qt::RightEdge;
    if (local.y() < kGrip) edges |= Qt::TopEdge;
    if (local.y() >= surface.height() - kGrip) edges |= Qt::BottomEdge;
    return edges;
  }

  void activate(Button button) {
    switch (button) {
      case Button::Close:
        // As the compositor's close would: the window may refuse.
        QWindowSystemInterface::handleCloseEvent(window());
        break;
      case Button::Maximise:
        window()->setWindowStates(window()->windowStates() ^ Qt::WindowMaximized);
        break;
      case Button::Minimise:
        window()->setWindowState(Qt::WindowMinimized);
        break;
      case Button::None:
        break;
    }
  }

  void showPressed(Button button, bool shown = true) {
    if (button == pressed_ && shown == pressedShown_) return;
    pressed_ = button;
    pressedShown_ = shown;
    update();
    // The bar is drawn again with the window's next frame: a one-pixel expose asks for one.
    QWindowSystemInterface::handleExposeEvent(window(), QRegion(0, 0, 1, 1));
  }

  Button pressed_ = Button::None;
  bool pressedShown_ = false;
};

class TitleBarPlugin final : public QtWaylandClient::QWaylandDecorationPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QWaylandDecorationFactoryInterface_iid FILE "wayland_title_bar.json")
 public:
  QWaylandAbstractDecoration* create(const QString&, const QStringList&) override {
    return new TitleBar;
  }
};

}  // namespace

}  // namespace kalvena::qt

#include "wayland_title_bar.moc"
