#include "measurement_file.h"

#include <array>
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

namespace {

// The points of a file: three numbers a line where the phase is needed, two or three where it
// is not (every point then as the first); or why not.
struct PointsRead {
  std::vector<std::array<double, 3>> points;
  bool phase = true;
  std::optional<FileRefusal> refusal;
};

PointsRead readPoints(std::string_view text, bool phaseNeeded, bool positiveValues) {
  PointsRead read;
  std::size_t lineNumber = 0;
  const auto refuse = [&](FileProblem problem, std::size_t line) {
    read.points.clear();
    read.refusal = FileRefusal{problem, line};
    return read;
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
    std::array<double, 3> point{};
    // Text before the first point is a header.
    if (read.points.empty() && readNumber(fields[0], point[0]) == Number::NotANumber) continue;
    for (std::size_t i = 0; i < std::min<std::size_t>(fields.size(), 3); ++i) {
      const Number number = readNumber(fields[i], point[i]);
      if (number == Number::NotANumber) return refuse(FileProblem::NotANumber, lineNumber);
      if (number == Number::NotFinite) return refuse(FileProblem::NotFinite, lineNumber);
    }
    if (read.points.empty() && !phaseNeeded) read.phase = fields.size() >= 3;
    if (fields.size() < (read.phase ? 3u : 2u)) {
      return refuse(FileProblem::TooFewColumns, lineNumber);
    }
    if (!(point[0] > 0) || (positiveValues && !(point[1] > 0))) {
      return refuse(FileProblem::NotPositive, lineNumber);
    }
    if (!positiveValues && std::fabs(point[1]) > kMaxFileDb) {
      return refuse(FileProblem::LevelOutOfRange, lineNumber);
    }
    if (!read.phase) point[2] = 0;
    if (std::fabs(point[2]) > kMaxFileDegrees) {
      return refuse(FileProblem::PhaseOutOfRange, lineNumber);
    }
    if (!read.points.empty() && !(point[0] > read.points.back()[0])) {
      return refuse(FileProblem::FrequencyFalls, lineNumber);
    }
    if (read.points.size() == kMaxFilePoints) {
      return refuse(FileProblem::TooManyPoints, lineNumber);
    }
    read.points.push_back(point);
  }
  if (read.points.empty()) return refuse(FileProblem::NoPoints, 0);
  if (read.points.size() == 1) return refuse(FileProblem::OnePoint, 0);
  return read;
}

}  // namespace

ZmaRead readZma(std::string_view text) {
  const PointsRead read = readPoints(text, true, true);
  if (read.refusal) return {std::nullopt, read.refusal};
  std::vector<ImpedancePoint> points;
  for (const auto& [hz, ohms, degrees] : read.points) points.push_back({hz, ohms, degrees});
  return {MeasuredImpedance::of(std::move(points)), std::nullopt};
}

FrdRead readFrd(std::string_view text) {
  const PointsRead read = readPoints(text, false, false);
  if (read.refusal) return {std::nullopt, read.refusal};
  std::vector<ResponsePoint> points;
  for (const auto& [hz, db, degrees] : read.points) points.push_back({hz, db, degrees});
  return {MeasuredResponse::of(std::move(points), read.phase), std::nullopt};
}

}  // namespace kalvena
