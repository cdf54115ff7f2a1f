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

std::string environment(const char* name) { return qEnvironmentVariable(name).toStdString(); }

void startupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    const auto language = kalvena::ui::messageLanguage(environment);
    std::fputs(kalvena::ui::cannotOpenWindow(kalvena::qt::displayProblem(environment, language),
                                             true, language)
                   .c_str(),
               stderr);
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
  const kalvena::qt::Language language = kalvena::ui::messageLanguage(environment);
  const kalvena::qt::CommandLine command =
      kalvena::qt::readCommandLine(args, KALVENA_VERSION, language);
  if (command.action != kalvena::qt::CommandLine::Action::Run) {
    std::FILE* out = command.status == 0 ? stdout : stderr;
    std::fputs(command.text.c_str(), out);
    return command.status;
  }
  const kalvena::qt::PlatformChoice choice = kalvena::qt::choosePlatform(
      environment, waylandPluginInstalled(),
      [](const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); },
      language);
  if (!choice.problem.empty()) {
    std::fputs(kalvena::ui::cannotOpenWindow(choice.problem, false, language).c_str(), stderr);
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
  shell.start(command.file);
  const int status = QApplication::exec();
  // Qt 6.4's Wayland client, tearing down, can wait forever for its event thread, itself waiting
  // for a read that never comes: the window is gone and the process stays (seen on a busy
  // machine). On Wayland, once every window is closed, with nothing left to save, the process
  // ends without that teardown; the compositor frees what it held. A design is written whole
  // (and its file closed) inside the handler that saves it, before any window can close.
  if (QGuiApplication::platformName().startsWith(u"wayland")) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}
