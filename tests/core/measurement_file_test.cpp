#include "measurement_file.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvena {
namespace {

// The forms the field writes a .zma in are read alike: each row's text gives the points
// (frequency, magnitude, phase unwrapped) of its first, second and last point.
TEST(MeasurementFile, TheFieldsFormsAreReadAlike) {
  const struct {
    const char* name;
    std::string text;
    std::size_t points;
    ImpedancePoint first, last;
  } rows[] = {
      {"spaces, comments",
       "* a comment\n* another\n20 6.5 10\n100 7.25 -20\n1000 9 45\n",
       3,
       {20, 6.5, 10},
       {1000, 9, 45}},
      {"tabs, CR LF", "20\t6.5\t10\r\n100\t7.25\t-20\r\n", 2, {20, 6.5, 10}, {100, 7.25, -20}},
      {"commas", "20,6.5,10\n100,7.25,-20\n", 2, {20, 6.5, 10}, {100, 7.25, -20}},
      {"semicolons, decimal commas",
       "; comment\n20;6,5;10\n100;7,25;-20\n",
       2,
       {20, 6.5, 10},
       {100, 7.25, -20}},
      {"a header, blank lines, no last line end",
       "Freq(Hz) Ohm Phase\n\n  20  6.5  +10 \n\n100 7 3",
       2,
       {20, 6.5, 10},
       {100, 7, 3}},
      {"a byte order mark, more columns",
       "\xEF\xBB\xBF"
       "20 6.5 10 1 2\n100 7 3 1 2\n",
       2,
       {20, 6.5, 10},
       {100, 7, 3}},
      {"wrapped phase", "100 6 170\n200 7 -175\n300 7 -160\n", 3, {100, 6, 170}, {300, 7, 200}},
      {"unwrapped phase", "100 6 -450\n200 7 -460\n", 2, {100, 6, -450}, {200, 7, -460}},
      {"exponents", "2e1 6.5E0 1e1\n1.0e3 9 45\n", 2, {20, 6.5, 10}, {1000, 9, 45}},
  };
  for (const auto& row : rows) {
    const ZmaRead read = readZma(row.text);
    ASSERT_TRUE(read.curve) << row.name;
    EXPECT_FALSE(read.refusal) << row.name;
    const std::vector<ImpedancePoint>& p = read.curve->points();
    ASSERT_EQ(p.size(), row.points) << row.name;
    for (const auto& [got, want] : {std::pair{p.front(), row.first}, {p.back(), row.last}}) {
      EXPECT_DOUBLE_EQ(got.hz, want.hz) << row.name;
      EXPECT_DOUBLE_EQ(got.ohms, want.ohms) << row.name;
      EXPECT_DOUBLE_EQ(got.degrees, want.degrees) << row.name;
    }
  }
}

// What is not a curve is refused with why and the line, never read in part.
TEST(MeasurementFile, WhatIsNoCurveIsRefusedWithTheLineAndWhy) {
  const std::string digits(10'000'000, '7');
  const struct {
    const char* name;
    std::string text;
    FileProblem problem;
    std::size_t line;
  } rows[] = {
      {"empty", "", FileProblem::NoPoints, 0},
      {"comments only", "* nothing\r\n; here\r\n", FileProblem::NoPoints, 0},
      {"text", "This is a letter,\nnot a measurement.\n", FileProblem::NoPoints, 0},
      {"one column", "20\n30\n", FileProblem::TooFewColumns, 1},
      {"no phase", "20 6.5 10\n30 7\n", FileProblem::TooFewColumns, 2},
      {"text after points", "20 6.5 10\nthirty 7 1\n", FileProblem::NotANumber, 2},
      {"a word in a number", "20 6.5x 10\n", FileProblem::NotANumber, 1},
      {"falling frequencies", "20 6 0\n30 6 0\n25 6 0\n", FileProblem::FrequencyFalls, 3},
      {"a frequency twice", "20 6 0\n20 7 0\n", FileProblem::FrequencyFalls, 2},
      {"NaN", "20 6 0\n30 nan 0\n", FileProblem::NotFinite, 2},
      {"infinity", "20 6 0\n30 6 inf\n", FileProblem::NotFinite, 2},
      {"10 MB of digits", "20 6 0\n" + digits + " 6 0\n", FileProblem::NotFinite, 2},
      {"zero ohm", "20 0 0\n30 6 0\n", FileProblem::NotPositive, 1},
      {"negative frequency", "-20 6 0\n30 6 0\n", FileProblem::NotPositive, 1},
      {"one point", "* one\n20 6 0\n", FileProblem::OnePoint, 0},
      {"a phase of a million degrees", "20 6 0\n30 6 1e6\n", FileProblem::PhaseOutOfRange, 2},
  };
  for (const auto& row : rows) {
    const ZmaRead read = readZma(row.text);
    EXPECT_FALSE(read.curve) << row.name;
    ASSERT_TRUE(read.refusal) << row.name;
    EXPECT_EQ(read.refusal->problem, row.problem) << row.name;
    EXPECT_EQ(read.refusal->line, row.line) << row.name;
  }
}

}  // namespace
}  // namespace kalvena
