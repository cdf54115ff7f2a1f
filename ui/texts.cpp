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
