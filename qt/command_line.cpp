#include "command_line.h"

#include <algorithm>
#include <array>

namespace kalvena::qt {
namespace {

using ui::ArgumentProblem;
using ui::DisplayProblem;

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

CommandLine wrong(ArgumentProblem problem, std::string_view arg, Language l) {
  return {CommandLine::Action::Error, ui::argumentProblemText(problem, arg, l), 2, {}};
}

}  // namespace

CommandLine readCommandLine(std::span<const std::string_view> args, std::string_view version,
                            Language l) {
  CommandLine run;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help") {
      return {CommandLine::Action::Help, std::string(ui::usageText(l)), 0, {}};
    }
    if (arg == "-v" || arg == "--version") {
      return {CommandLine::Action::Version, ui::versionText(version), 0, {}};
    }
    if (isOneOf(arg, kQtFlags)) continue;
    if (isOneOf(arg, kQtOptionsWithValue)) {
      if (arg.find('=') == std::string_view::npos) ++i;  // its value follows
      if (i >= args.size()) return wrong(ArgumentProblem::MissingValue, arg, l);
      continue;
    }
    if (arg.starts_with('-') && arg.size() > 1)
      return wrong(ArgumentProblem::UnknownOption, arg, l);
    if (!run.file.empty()) return wrong(ArgumentProblem::TooMany, arg, l);
    run.file = arg;
  }
  return run;
}

PlatformChoice choosePlatform(const std::function<std::string(const char*)>& getenv,
                              bool waylandPluginInstalled,
                              const std::function<bool(const std::string&)>& exists, Language l) {
  const std::string asked = getenv("QT_QPA_PLATFORM");
  const bool askedForWayland = asked.starts_with("wayland");
  const bool waylandSession = asked.empty() && (!getenv("WAYLAND_DISPLAY").empty() ||
                                                getenv("XDG_SESSION_TYPE") == "wayland");
  if (!askedForWayland && !waylandSession) return {};

  std::string missing;
  if (!waylandPluginInstalled) {
    missing = ui::displayProblemText(DisplayProblem::NoWaylandPlugin, {}, l);
  } else {
    const std::string display =
        getenv("WAYLAND_DISPLAY").empty() ? "wayland-0" : getenv("WAYLAND_DISPLAY");
    const std::string runtime = getenv("XDG_RUNTIME_DIR");
    if (!display.starts_with('/') && runtime.empty()) {
      missing = ui::displayProblemText(DisplayProblem::NoRuntimeDir, {}, l);
    } else {
      const std::string socket = display.starts_with('/') ? display : runtime + "/" + display;
      if (!exists(socket))
        missing = ui::displayProblemText(DisplayProblem::NoWaylandSocket, socket, l);
    }
  }
  if (missing.empty()) return {};
  // Where the session has an X server too (Xwayland), it is used, without a word.
  if (waylandSession && !getenv("DISPLAY").empty()) return {"xcb", {}};
  return {{}, missing};
}

std::string displayProblem(const std::function<std::string(const char*)>& getenv, Language l) {
  const std::string platform = getenv("QT_QPA_PLATFORM");
  if (platform.starts_with("wayland")) {
    return ui::displayProblemText(DisplayProblem::NoWaylandDisplay, platform, l);
  }
  if (!platform.empty() && !platform.starts_with("xcb")) {
    return ui::displayProblemText(DisplayProblem::PlatformFails, platform, l);
  }
  const std::string display = getenv("DISPLAY");
  if (display.empty()) return ui::displayProblemText(DisplayProblem::NoDisplaySet, {}, l);
  return ui::displayProblemText(DisplayProblem::DisplayFails, display, l);
}

}  // namespace kalvena::qt
