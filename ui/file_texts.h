#pragma once

// What the program says of the files it reads and writes: a file refused and why, a file that
// cannot be read or written, and the question before a changed design is lost.

#include <string>
#include <string_view>

#include "design.h"
#include "measurement_file.h"

namespace kalvena::ui {

inline constexpr const char* kDesignKind = "Проект на Kalvena (.kalvena)";
inline constexpr const char* kDesignExtension = ".kalvena";
inline constexpr const char* kSaveDesignTitle = "Запазване на проекта";
inline constexpr const char* kOpenDesignTitle = "Отваряне на проект";

// "Файлът „woofer.zma“ не може да бъде прочетен."
std::string unreadableFileText(std::string_view name);
// "Проектът не може да бъде записан в „двулентов.kalvena“. Старият файл е непроменен."
std::string unsavedFileText(std::string_view name);
// "Файлът „woofer.zma“ не е приет: ред 12: честотата не расте спрямо предходната точка."
std::string fileRefusalText(std::string_view name, const FileRefusal& refusal);
// "Проектът „x.kalvena“ не е приет: полето „bands.low.driver.fs“ е извън допустимото."
std::string designRefusalText(std::string_view name, const DesignRefusal& refusal);
// "Проектът „x.kalvena“ е променен. Да бъде ли запазен преди затваряне?"
std::string askToSaveText(std::string_view name);

}  // namespace kalvena::ui
