#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QPluginLoader>
#include <QStyleFactory>
#include <QToolTip>
#include <QTranslator>

#include <filesystem>
#include <string>

#ifdef KALVENA_QTWAYLANDCLIENT_VERSION
#include <dlfcn.h>
#include <link.h>
#endif

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

// The sun, drawn when a size of it is first asked for, exactly at that size, and kept.
class SunIconEngine final : public QIconEngine {
 public:
  QIconEngine* clone() const override { return new SunIconEngine; }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    painter->save();
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 32.0, rect.height() / 32.0);
    QtPainter drawn(*painter);
    ui::sunIcon().draw(drawn, 32, 32);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const QString key = QStringLiteral("kalvena-sun-%1x%2").arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    painter.end();
    pixmap = QPixmap::fromImage(image);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
  }
  // The sizes a desktop picks from.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
  }
};

#ifdef KALVENA_QTWAYLANDCLIENT_VERSION
// The version of the Qt Wayland client that Qt's Wayland plugin has loaded, from the name of the
// library's file (libQt6WaylandClient.so.6.4.2); empty where it is not loaded or says none.
std::string waylandClientVersion() {
  void* library = dlopen("libQt6WaylandClient.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!library) return {};
  link_map* map = nullptr;
  std::string version;
  if (dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name) {
    std::error_code error;
    const std::string file = std::filesystem::canonical(map->l_name, error).filename().string();
    const std::string::size_type at = file.find(".so.");
    if (!error && at != std::string::npos) version = file.substr(at + 4);
  }
  dlclose(library);
  return version;
}
#endif

// On a Wayland desktop whose compositor leaves title bars to the windows, Qt draws one with a
// maximise button whatever the window allows. The program has its own, a plugin built against
// this very version of Qt's private interface; on another version, or where it cannot be loaded,
// Qt's stays and a warning says why. A title bar the user asked for is left alone.
void chooseTitleBar() {
  if (!QGuiApplication::platformName().startsWith(u"wayland") ||
      qEnvironmentVariableIsSet("QT_WAYLAND_DECORATION")) {
    return;
  }
  const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/kalvena");
  QPluginLoader plugin(folder + QStringLiteral("/wayland-decoration-client/kalvena-title-bar.so"));
  plugin.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  QString problem;
#ifdef KALVENA_QTWAYLANDCLIENT_VERSION
  const std::string running = waylandClientVersion();
  if (running != KALVENA_QTWAYLANDCLIENT_VERSION) {
    problem =
        QStringLiteral("it was built for Qt Wayland client %1, this is %2")
            .arg(QStringLiteral(KALVENA_QTWAYLANDCLIENT_VERSION),
                 running.empty() ? QStringLiteral("not known") : QString::fromStdString(running));
  } else if (!plugin.load()) {
    problem = plugin.errorString();
  }
#else
  problem = QStringLiteral("it was not built");
#endif
  if (!problem.isEmpty()) {
    qWarning("kalvena: the program's own title bar is not used (%s); Qt's is.",
             qUtf8Printable(problem));
    return;
  }
  QCoreApplication::addLibraryPath(folder);
  qputenv("QT_WAYLAND_DECORATION", "kalvena");
}

}  // namespace

QIcon programIcon() {
  // Every window shares the one icon.
  static const QIcon icon(new SunIconEngine);
  return icon;
}

QFont programFont() {
  // Pixel size, not points, so the windows look the same whatever DPI the desktop reports.
  // Made from a family, not from the application's font, so that weight, slant and stretch
  // start from their defaults rather than from whatever a theme set.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(ui::kFontPixels);
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
  chooseTitleBar();
}

}  // namespace kalvena::qt
