#include "command_line.h"

#include <algorithm>
#include <array>

namespace kalvena::qt {
namespace {

using ui::Text;

constexpr Text kUsage{
    "Употреба: kalvena [ОПЦИЯ]\n"
    "Изчисляване на пасивни честотни филтри за трилентови озвучителни тела:\n"
    "кондензатори (µF) и бобини (mH) на филтри на Бътъруърт с 12 и 18 dB/oct.\n"
    "\n"
    "  -h, --help     показва този текст и излиза\n"
    "  -v, --version  показва името и версията на програмата и излиза\n"
    "\n"
    "Без опции програмата отваря прозореца за 12 dB/oct. Приемат се и общите\n"
    "опции на Qt, например -platform xcb или -style Fusion.\n",
    "Usage: kalvena [OPTION]\n"
    "Passive crossover filters for three-way loudspeakers: the capacitors (µF)\n"
    "and inductors (mH) of Butterworth filters of 12 and 18 dB/oct.\n"
    "\n"
    "  -h, --help     shows this text and exits\n"
    "  -v, --version  shows the program's name and version and exits\n"
    "\n"
    "Without options the program opens the 12 dB/oct window. Qt's general\n"
    "options are taken too, such as -platform xcb or -style Fusion.\n"};

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

CommandLine wrong(Text what, std::string_view arg, Language l) {
  std::string line = "kalvena: ";
  if (l == Language::Bulgarian) {
    line.append(what.bg).append(" „").append(arg).append("“; вижте „kalvena --help“\n");
  } else {
    line.append(what.en).append(" '").append(arg).append("'; see 'kalvena --help'\n");
  }
  return {CommandLine::Action::Error, line, 2};
}

}  // namespace

CommandLine readCommandLine(std::span<const std::string_view> args, std::string_view version,
                            Language l) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help") {
      return {CommandLine::Action::Help, std::string(kUsage.in(l)), 0};
    }
    if (arg == "-v" || arg == "--version") {
      return {CommandLine::Action::Version, "Kalvena " + std::string(version) + "\n", 0};
    }
    if (isOneOf(arg, kQtFlags)) continue;
    if (isOneOf(arg, kQtOptionsWithValue)) {
      if (arg.find('=') == std::string_view::npos) ++i;  // its value follows
      if (i >= args.size())
        return wrong({"липсва стойност на опцията", "no value for the option"}, arg, l);
      continue;
    }
    if (arg.starts_with('-') && arg.size() > 1)
      return wrong({"непозната опция", "unknown option"}, arg, l);
    return wrong({"излишен аргумент", "an argument too many"}, arg, l);
  }
  return {};
}

PlatformChoice choosePlatform(const std::function<std::string(const char*)>& getenv,
                              bool waylandPluginInstalled,
                              const std::function<bool(const std::string&)>& exists, Language l) {
  const bool bg = l == Language::Bulgarian;
  const std::string asked = getenv("QT_QPA_PLATFORM");
  const bool askedForWayland = asked.starts_with("wayland");
  const bool waylandSession = asked.empty() && (!getenv("WAYLAND_DISPLAY").empty() ||
                                                getenv("XDG_SESSION_TYPE") == "wayland");
  if (!askedForWayland && !waylandSession) return {};

  std::string missing;
  if (!waylandPluginInstalled) {
    missing = bg ? "приставката на Qt за Wayland не е инсталирана (носи я пакетът qt6-wayland)"
                 : "Qt's Wayland platform plugin is not installed (the package qt6-wayland "
                   "brings it)";
  } else {
    const std::string display =
        getenv("WAYLAND_DISPLAY").empty() ? "wayland-0" : getenv("WAYLAND_DISPLAY");
    const std::string runtime = getenv("XDG_RUNTIME_DIR");
    if (!display.starts_with('/') && runtime.empty()) {
      missing = bg ? "не отговаря дисплей на Wayland (променливата XDG_RUNTIME_DIR не е зададена)"
                   : "no Wayland display answers (XDG_RUNTIME_DIR is not set)";
    } else {
      const std::string socket = display.starts_with('/') ? display : runtime + "/" + display;
      if (!exists(socket)) {
        missing = (bg ? "не отговаря дисплей на Wayland (няма "
                      : "no Wayland display answers (there is no ") +
                  socket + ")";
      }
    }
  }
  if (missing.empty()) return {};
  // Where the session has an X server too (Xwayland), it is used, without a word.
  if (waylandSession && !getenv("DISPLAY").empty()) return {"xcb", {}};
  return {{}, missing};
}

std::string displayProblem(const std::function<std::string(const char*)>& getenv, Language l) {
  const bool bg = l == Language::Bulgarian;
  const std::string platform = getenv("QT_QPA_PLATFORM");
  if (platform.starts_with("wayland")) {
    return (bg ? "не отговаря дисплей на Wayland (QT_QPA_PLATFORM="
               : "no Wayland display answers (QT_QPA_PLATFORM=") +
           platform + ")";
  }
  if (!platform.empty() && !platform.starts_with("xcb")) {
    return bg ? "платформата за дисплей „" + platform + "“ не може да бъде стартирана"
              : "the display platform \"" + platform + "\" cannot be started";
  }
  const std::string display = getenv("DISPLAY");
  if (display.empty()) {
    return bg ? "не е зададен дисплей (променливата DISPLAY е празна)"
              : "no display is set (DISPLAY is empty)";
  }
  return bg ? "дисплеят " + display + " не отговаря"
            : "the display " + display + " does not answer";
}

}  // namespace kalvena::qt
