#pragma once

// The texts the program says outside its windows, in the two languages its command line speaks:
// which language, the command line's help and its complaints, why no display answers, and the
// line that says no window can be opened.

#include <functional>
#include <string>
#include <string_view>

namespace kalvena::ui {

// The language of what the command line answers: Bulgarian where the locale of messages is
// Bulgarian (LC_ALL, else LC_MESSAGES, else LANG begins with "bg"), English otherwise. getenv
// gives a variable's value, empty where it is not set. The windows speak Bulgarian always.
enum class Language { Bulgarian, English };
Language messageLanguage(const std::function<std::string(const char*)>& getenv);

// A text in the program's two languages.
struct Text {
  std::string_view bg, en;
  std::string_view in(Language l) const { return l == Language::Bulgarian ? bg : en; }
};

// What `kalvena --help` prints, and `kalvena --version`: "Kalvena 1.2.3".
std::string_view usageText(Language language);
std::string versionText(std::string_view version);

// The one line for a command line the program does not take: the argument, what is wrong with
// it, and a pointer to --help.
enum class ArgumentProblem { MissingValue, UnknownOption, TooMany };
std::string argumentProblemText(ArgumentProblem problem, std::string_view arg, Language language);

// Why no display answers: Qt's Wayland plugin missing, XDG_RUNTIME_DIR not set, no Wayland
// socket at `name`, a Wayland display asked for by QT_QPA_PLATFORM=`name` not there, a platform
// `name` that cannot be started, DISPLAY empty, the X display `name` not answering.
enum class DisplayProblem {
  NoWaylandPlugin,
  NoRuntimeDir,
  NoWaylandSocket,
  NoWaylandDisplay,
  PlatformFails,
  NoDisplaySet,
  DisplayFails
};
std::string displayProblemText(DisplayProblem problem, std::string_view name, Language language);

// The one line that says no window can be opened and why; where a display is missing, it
// points to a desktop session or a virtual display.
std::string cannotOpenWindow(std::string_view problem, bool suggestVirtualDisplay,
                             Language language);
// Why, where the system made no window: "системата не го създаде (грешка 1400)".
std::string systemMadeNoWindow(unsigned long error, Language language);

}  // namespace kalvena::ui
