#include "texts.h"

namespace kalvena::ui {

Language messageLanguage(const std::function<std::string(const char*)>& getenv) {
  // The first of these that is set names the locale of messages, as POSIX has it.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string locale = getenv(name);
    if (!locale.empty()) return locale.starts_with("bg") ? Language::Bulgarian : Language::English;
  }
  return Language::English;
}

std::string_view usageText(Language l) {
  constexpr Text kUsage{
      "Употреба: kalvena [ОПЦИЯ] [ПРОЕКТ.kalvena]\n"
      "Изчисляване на пасивни честотни филтри за трилентови озвучителни тела:\n"
      "кондензатори (µF) и бобини (mH) на филтри на Бътъруърт с 12 и 18 dB/oct.\n"
      "\n"
      "  -h, --help     показва този текст и излиза\n"
      "  -v, --version  показва името и версията на програмата и излиза\n"
      "\n"
      "Без опции програмата отваря прозореца за 12 dB/oct; с файл на проект го\n"
      "отваря в него. Приемат се и общите опции на Qt, например -platform xcb\n"
      "или -style Fusion.\n",
      "Usage: kalvena [OPTION] [DESIGN.kalvena]\n"
      "Passive crossover filters for three-way loudspeakers: the capacitors (µF)\n"
      "and inductors (mH) of Butterworth filters of 12 and 18 dB/oct.\n"
      "\n"
      "  -h, --help     shows this text and exits\n"
      "  -v, --version  shows the program's name and version and exits\n"
      "\n"
      "Without options the program opens the 12 dB/oct window; with a design's\n"
      "file, it opens the design in it. Qt's general options are taken too,\n"
      "such as -platform xcb or -style Fusion.\n"};
  return kUsage.in(l);
}

std::string versionText(std::string_view version) {
  return "Kalvena " + std::string(version) + "\n";
}

std::string argumentProblemText(ArgumentProblem problem, std::string_view arg, Language l) {
  constexpr Text kWhat[] = {{"липсва стойност на опцията", "no value for the option"},
                            {"непозната опция", "unknown option"},
                            {"излишен аргумент", "an argument too many"}};
  const Text& what = kWhat[static_cast<int>(problem)];
  std::string line = "kalvena: ";
  if (l == Language::Bulgarian) {
    line.append(what.bg).append(" „").append(arg).append("“; вижте „kalvena --help“\n");
  } else {
    line.append(what.en).append(" '").append(arg).append("'; see 'kalvena --help'\n");
  }
  return line;
}

std::string displayProblemText(DisplayProblem problem, std::string_view name, Language l) {
  const bool bg = l == Language::Bulgarian;
  const std::string n(name);
  switch (problem) {
    case DisplayProblem::NoWaylandPlugin:
      return bg ? "приставката на Qt за Wayland не е инсталирана (носи я пакетът qt6-wayland)"
                : "Qt's Wayland platform plugin is not installed (the package qt6-wayland "
                  "brings it)";
    case DisplayProblem::NoRuntimeDir:
      return bg ? "не отговаря дисплей на Wayland (променливата XDG_RUNTIME_DIR не е зададена)"
                : "no Wayland display answers (XDG_RUNTIME_DIR is not set)";
    case DisplayProblem::NoWaylandSocket:
      return (bg ? "не отговаря дисплей на Wayland (няма "
                 : "no Wayland display answers (there is no ") +
             n + ")";
    case DisplayProblem::NoWaylandDisplay:
      return (bg ? "не отговаря дисплей на Wayland (QT_QPA_PLATFORM="
                 : "no Wayland display answers (QT_QPA_PLATFORM=") +
             n + ")";
    case DisplayProblem::PlatformFails:
      return bg ? "платформата за дисплей „" + n + "“ не може да бъде стартирана"
                : "the display platform \"" + n + "\" cannot be started";
    case DisplayProblem::NoDisplaySet:
      return bg ? "не е зададен дисплей (променливата DISPLAY е празна)"
                : "no display is set (DISPLAY is empty)";
    case DisplayProblem::DisplayFails:
      return bg ? "дисплеят " + n + " не отговаря" : "the display " + n + " does not answer";
  }
  return {};
}

std::string cannotOpenWindow(std::string_view problem, bool suggestVirtualDisplay, Language l) {
  constexpr Text kCannot{"kalvena: не може да се отвори прозорец: ",
                         "kalvena: cannot open a window: "};
  constexpr Text kSuggestion{
      "; стартирайте програмата от работен плот или на виртуален дисплей с: xvfb-run -a kalvena",
      "; start it from a desktop session, or on a virtual display with: xvfb-run -a kalvena"};
  std::string line(kCannot.in(l));
  line.append(problem);
  if (suggestVirtualDisplay) line.append(kSuggestion.in(l));
  return line + "\n";
}

std::string systemMadeNoWindow(unsigned long error, Language l) {
  constexpr Text kNone{"системата не го създаде (грешка ", "the system did not make it (error "};
  return std::string(kNone.in(l)) + std::to_string(error) + ")";
}

}  // namespace kalvena::ui
