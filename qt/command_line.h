#pragma once

// What `kalvena` makes of its command line, before any window or display is needed.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "texts.h"

namespace kalvena::qt {

struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  // What to print: the usage for Help, "Kalvena <version>" for Version, one line naming the
  // argument and pointing to --help for Error.
  std::string text;
  // The exit status for everything but Run: 0, or 2 for a command line it does not take.
  int status = 0;
  // For Run: the design to open, as given; empty for none.
  std::string file;
};

using ui::Language;

// args without the program's name. Qt's own options (-platform xcb, -style Fusion, ...) are
// left for Qt; --help and --version end the list's reading at once.
CommandLine readCommandLine(std::span<const std::string_view> args, std::string_view version,
                            Language language);

// Where the window goes, decided before Qt starts: which platform Qt is to use, or why no window
// can be opened, for a Wayland session, where Qt tries Wayland first. Qt's own attempt at a
// Wayland display that is not there prints libwayland's errors, and a missing Wayland plugin
// makes it warn, before it falls back to X11; so:
// - a Wayland session (WAYLAND_DISPLAY or XDG_SESSION_TYPE=wayland, QT_QPA_PLATFORM unset)
//   whose Wayland display is not there, or for which Qt has no Wayland plugin, uses X11
//   (Xwayland) where DISPLAY is set, and otherwise says what is missing;
// - QT_QPA_PLATFORM=wayland says what is missing: the plugin and the package that brings it,
//   XDG_RUNTIME_DIR, or the display's socket.
// Anything else is left to Qt. exists says whether a file is there.
struct PlatformChoice {
  std::string platform;  // for QT_QPA_PLATFORM, or empty to leave it as it is
  std::string problem;   // why no window can be opened, or empty
};
PlatformChoice choosePlatform(const std::function<std::string(const char*)>& getenv,
                              bool waylandPluginInstalled,
                              const std::function<bool(const std::string&)>& exists,
                              Language language);

// What is missing where Qt could not reach the display it tried: the display X names, or the
// platform QT_QPA_PLATFORM asks for.
std::string displayProblem(const std::function<std::string(const char*)>& getenv,
                           Language language);

}  // namespace kalvena::qt
