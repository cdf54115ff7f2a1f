#include "measurement_file.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kalvena {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The fields of a line: split at spaces, tabs and semicolons, and at commas too unless the
// line has a semicolon, where a comma is the decimal comma.
std::vector<std::string> fieldsOf(std::string_view line) {
  const bool decimalComma = line.find(';') != std::string_view::npos;
  std::vector<std::string> fields;
  std::string field;
  for (const char c : line) {
    if (isSpace(c) || c == ';' || (c == ',' && !decimalComma)) {
      if (!field.empty()) fields.push_back(std::move(field));
      field.clear();
    } else {
      field.push_back(c == ',' ? '.' : c);
    }
  }
  if (!field.empty()) fields.push_back(std::move(field));
  return fields;
}

enum class Number { Read, NotANumber, NotFinite };
// A whole field as a number: a leading '+' is taken, as writers write one.
Number readNumber(std::string_view field, double& out) {
  if (field.starts_with('+')) field.remove_prefix(1);
  const char* end = field.data() + field.size();
  const auto [at, error] = std::from_chars(field.data(), end, out);
  if (error == std::errc::result_out_of_range) return Number::NotFinite;
  if (error != std::errc() || at != end) return Number::NotANumber;
  return std::isfinite(out) ? Number::Read : Number::NotFinite;
}

}  // namespace

ZmaRead readZma(std::string_view text) {
  std::vector<ImpedancePoint> points;
  std::size_t lineNumber = 0;
  const auto refuse = [](FileProblem problem, std::size_t line) {
    return ZmaRead{std::nullopt, FileRefusal{problem, line}};
  };
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte order mark
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    while (!line.empty() && isSpace(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == '*' || line.front() == ';') continue;
    const std::vector<std::string> fields = fieldsOf(line);
    if (fields.empty()) continue;
    double point[3] = {};
    // Text before the first point is a header.
    if (points.empty() && readNumber(fields[0], point[0]) == Number::NotANumber) continue;
    for (std::size_t i = 0; i < std::min<std::size_t>(fields.size(), 3); ++i) {
      const Number read = readNumber(fields[i], point[i]);
      if (read == Number::NotANumber) return refuse(FileProblem::NotANumber, lineNumber);
      if (read == Number::NotFinite) return refuse(FileProblem::NotFinite, lineNumber);
    }
    if (fields.size() < 3) return refuse(FileProblem::TooFewColumns, lineNumber);
    if (!(point[0] > 0) || !(point[1] > 0)) return refuse(FileProblem::NotPositive, lineNumber);
    if (std::fabs(point[2]) > kMaxFileDegrees) {
      return refuse(FileProblem::PhaseOutOfRange, lineNumber);
    }
    if (!points.empty() && !(point[0] > points.back().hz)) {
      return refuse(FileProblem::FrequencyFalls, lineNumber);
    }
    if (points.size() == kMaxFilePoints) return refuse(FileProblem::TooManyPoints, lineNumber);
    points.push_back({point[0], point[1], point[2]});
  }
  if (points.empty()) return refuse(FileProblem::NoPoints, 0);
  if (points.size() == 1) return refuse(FileProblem::OnePoint, 0);
  return {MeasuredImpedance::of(std::move(points)), std::nullopt};
}

}  // namespace kalvena
