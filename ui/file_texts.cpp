#include "file_texts.h"

namespace kalvena::ui {
namespace {

std::string inQuotes(std::string_view name) { return "„" + std::string(name) + "“"; }

const char* whyText(FileProblem problem) {
  switch (problem) {
    case FileProblem::NoPoints:
      return "няма нито един ред с точка (честота, стойност, фаза)";
    case FileProblem::NotANumber:
      return "поле, което не е число";
    case FileProblem::TooFewColumns:
      return "точка с по-малко полета от нужните (честота, стойност и фаза)";
    case FileProblem::NotFinite:
      return "число извън обхвата";
    case FileProblem::NotPositive:
      return "честота или модул, които не са по-големи от нула";
    case FileProblem::FrequencyFalls:
      return "честотата не расте спрямо предходната точка";
    case FileProblem::OnePoint:
      return "само една точка, а кривата иска поне две";
    case FileProblem::TooManyPoints:
      return "повече от 200000 точки";
    case FileProblem::PhaseOutOfRange:
      return "фаза извън ±100000°";
    case FileProblem::LevelOutOfRange:
      return "ниво извън ±1000 dB";
  }
  return "";
}

std::string whyText(const DesignRefusal& r) {
  const std::string field = "полето " + inQuotes(r.field);
  switch (r.problem) {
    case DesignProblem::NotJson:
      return "ред " + std::to_string(r.line) + ": текстът не е JSON в UTF-8";
    case DesignProblem::NotADesign:
      return "това не е проект на Kalvena";
    case DesignProblem::NewerVersion:
      return "записан е от по-нова версия на програмата";
    case DesignProblem::Missing:
      return field + " липсва";
    case DesignProblem::WrongKind:
      return field + " не е от нужния вид";
    case DesignProblem::OutOfRange:
      return field + " е извън допустимото";
    case DesignProblem::BadCurve:
      return "измерената крива в " + field + " не е крива";
  }
  return "";
}

}  // namespace

std::string unreadableFileText(std::string_view name) {
  return "Файлът " + inQuotes(name) + " не може да бъде прочетен.";
}

std::string unsavedFileText(std::string_view name) {
  return "Проектът не може да бъде записан в " + inQuotes(name) + ". Старият файл е непроменен.";
}

std::string fileRefusalText(std::string_view name, const FileRefusal& refusal) {
  std::string text = "Файлът " + inQuotes(name) + " не е приет: ";
  if (refusal.line > 0) text += "ред " + std::to_string(refusal.line) + ": ";
  return text + whyText(refusal.problem) + ".";
}

std::string designRefusalText(std::string_view name, const DesignRefusal& refusal) {
  return "Проектът " + inQuotes(name) + " не е приет: " + whyText(refusal) +
         ". Нищо въведено не е променено.";
}

std::string askToSaveText(std::string_view name) {
  return "Проектът " + inQuotes(name) + " е променен. Да бъде ли запазен преди затваряне?";
}

}  // namespace kalvena::ui
