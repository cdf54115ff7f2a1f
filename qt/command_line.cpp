#include "command_line.h"

#include <algorithm>
#include <array>

namespace kalvena::qt {
namespace {

constexpr std::string_view kUsage =
    "Употреба: kalvena [ОПЦИЯ]\n"
    "Изчисляване на пасивни честотни филтри за трилентови озвучителни тела:\n"
    "кондензатори (µF) и бобини (mH) на филтри на Бътъруърт с 12 и 18 dB/oct.\n"
    "\n"
    "  -h, --help     показва този текст и излиза\n"
    "  -v, --version  показва името и версията на програмата и излиза\n"
    "\n"
    "Без опции програмата отваря прозореца за 12 dB/oct. Приемат се и общите\n"
    "опции на Qt, например -platform xcb или -style Fusion.\n";

// Qt's options that take a value, and those that stand alone.
constexpr std::array<std::string_view, 14> kQtOptionsWithValue{
    "-platform",     "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon",        "-style",         "-stylesheet", "-session",
    "-display",      "-geometry",           "-name",          "-title"};
constexpr std::array<std::string_view, 5> kQtFlags{"-reverse", "-widgetcount", "-nograb", "-dograb",
                                                   "-sync"};

bool isOneOf(std::string_view arg, std::span<const std::string_view> options) {
  // Qt also takes its options with two dashes, and a value after "=".
  if (arg.starts_with("--")) arg.remove_prefix(1);
  arg = arg.substr(0, arg.find('='));
  return std::find(options.begin(), options.end(), arg) != options.end();
}

CommandLine wrong(std::string_view what, std::string_view arg) {
  std::string line = "kalvena: ";
  line.append(what).append(" „").append(arg).append("“; вижте „kalvena --help“\n");
  return {CommandLine::Action::Error, line, 2};
}

}  // namespace

CommandLine readCommandLine(std::span<const std::string_view> args, std::string_view version) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help") return {CommandLine::Action::Help, std::string(kUsage), 0};
    if (arg == "-v" || arg == "--version") {
      return {CommandLine::Action::Version, "Kalvena " + std::string(version) + "\n", 0};
    }
    if (isOneOf(arg, kQtFlags)) continue;
    if (isOneOf(arg, kQtOptionsWithValue)) {
      if (arg.find('=') == std::string_view::npos) ++i;  // its value follows
      if (i >= args.size()) return wrong("липсва стойност на опцията", arg);
      continue;
    }
    if (arg.starts_with('-') && arg.size() > 1) return wrong("непозната опция", arg);
    return wrong("излишен аргумент", arg);
  }
  return {};
}

PlatformChoice choosePlatform(const std::function<std::string(const char*)>& getenv,
                              bool waylandPluginInstalled,
                              const std::function<bool(const std::string&)>& exists) {
  const std::string asked = getenv("QT_QPA_PLATFORM");
  const bool askedForWayland = asked.starts_with("wayland");
  const bool waylandSession = asked.empty() && (!getenv("WAYLAND_DISPLAY").empty() ||
                                                getenv("XDG_SESSION_TYPE") == "wayland");
  if (!askedForWayland && !waylandSession) return {};

  std::string missing;
  if (!waylandPluginInstalled) {
    missing = "Qt's Wayland platform plugin is not installed (the package qt6-wayland brings it)";
  } else {
    const std::string display =
        getenv("WAYLAND_DISPLAY").empty() ? "wayland-0" : getenv("WAYLAND_DISPLAY");
    const std::string runtime = getenv("XDG_RUNTIME_DIR");
    if (!display.starts_with('/') && runtime.empty()) {
      missing = "no Wayland display answers (XDG_RUNTIME_DIR is not set)";
    } else {
      const std::string socket = display.starts_with('/') ? display : runtime + "/" + display;
      if (!exists(socket)) missing = "no Wayland display answers (there is no " + socket + ")";
    }
  }
  if (missing.empty()) return {};
  // Where the session has an X server too (Xwayland), it is used, without a word.
  if (waylandSession && !getenv("DISPLAY").empty()) return {"xcb", {}};
  return {{}, missing};
}

}  // namespace kalvena::qt
