#pragma once

// What `kalvena` makes of its command line, before any window or display is needed.

#include <span>
#include <string>
#include <string_view>

namespace kalvena::qt {

struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  // What to print: the usage for Help, "Kalvena <version>" for Version, one line naming the
  // argument and pointing to --help for Error.
  std::string text;
  // The exit status for everything but Run: 0, or 2 for a command line it does not take.
  int status = 0;
};

// args without the program's name. Qt's own options (-platform xcb, -style Fusion, ...) are
// left for Qt; --help and --version end the list's reading at once.
CommandLine readCommandLine(std::span<const std::string_view> args, std::string_view version);

}  // namespace kalvena::qt
