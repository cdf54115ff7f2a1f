#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QToolTip>
#include <QTranslator>

#include "qt_accessible.h"
#include "qt_painter.h"
#include "qt_toolkit.h"

// The application: its style, its font whatever a desktop theme sets, its icon, Qt's own texts
// in Bulgarian, and what a screen reader is told.

namespace kalvena::qt {

namespace {

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

}  // namespace

QIcon programIcon() {
  // The sun, drawn once at each size a desktop asks for; every window shares the pixmaps.
  static const QIcon icon = [] {
    QIcon i;
    for (const int size : {16, 32, 48, 64}) {
      QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      painter.scale(size / 32.0, size / 32.0);
      QtPainter drawn(painter);
      ui::sunIcon().draw(drawn, 32, 32);
      painter.end();
      i.addPixmap(QPixmap::fromImage(image));
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

}  // namespace kalvena::qt
