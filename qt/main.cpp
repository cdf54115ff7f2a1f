#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "qt_toolkit.h"
#include "shell.h"

namespace {

// What Qt says while it connects to the display. Qt gives up with a fatal error (an abort)
// when no display answers; then the user gets one line of what is missing instead.
std::vector<std::pair<QtMsgType, QString>> gStartupMessages;

std::string missingDisplay() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.startsWith("wayland")) {
    return "no Wayland display answers (QT_QPA_PLATFORM=" + platform.toStdString() + ")";
  }
  if (!platform.isEmpty() && !platform.startsWith("xcb")) {
    return "the display platform \"" + platform.toStdString() + "\" cannot be started";
  }
  const QByteArray display = qgetenv("DISPLAY");
  if (display.isEmpty()) return "no display is set (DISPLAY is empty)";
  return "the display " + display.toStdString() + " does not answer";
}

void startupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr,
                 "kalvena: cannot open a window: %s; start it from a desktop session, or on a "
                 "virtual display with: xvfb-run -a kalvena\n",
                 missingDisplay().c_str());
    std::_Exit(1);
  }
  gStartupMessages.emplace_back(type, message);
}

// Whether Qt finds a Wayland platform plugin where it looks for one.
bool waylandPluginInstalled() {
  QStringList folders = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(u':');
  for (const QString& path : qEnvironmentVariable("QT_PLUGIN_PATH").split(u':')) {
    folders << path + QStringLiteral("/platforms");
  }
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
  for (const QString& folder : folders) {
    if (!folder.isEmpty() &&
        !QDir(folder).entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty()) {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  // --help, --version and a mistyped option are answered without a window or a display.
  const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
  const kalvena::qt::CommandLine command = kalvena::qt::readCommandLine(args, KALVENA_VERSION);
  if (command.action != kalvena::qt::CommandLine::Action::Run) {
    std::FILE* out = command.status == 0 ? stdout : stderr;
    std::fputs(command.text.c_str(), out);
    return command.status;
  }
  const kalvena::qt::PlatformChoice choice = kalvena::qt::choosePlatform(
      [](const char* name) { return qEnvironmentVariable(name).toStdString(); },
      waylandPluginInstalled(),
      [](const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); });
  if (!choice.problem.empty()) {
    std::fprintf(stderr, "kalvena: cannot open a window: %s\n", choice.problem.c_str());
    return 1;
  }
  if (!choice.platform.empty())
    qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(choice.platform));
  const QtMessageHandler previous = qInstallMessageHandler(startupMessageHandler);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);
  // The display answered: what Qt said on the way is passed on as usual.
  for (const auto& [type, message] : gStartupMessages) {
    qt_message_output(type, QMessageLogContext(), message);
  }
  gStartupMessages.clear();
  kalvena::qt::setUpApplication(app);
  kalvena::qt::QtToolkit toolkit;
  kalvena::ui::Shell shell(toolkit);
  shell.start();
  return QApplication::exec();
}
