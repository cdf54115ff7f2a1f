#include "acoustic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "measurement_file.h"

namespace kalvena {
namespace {

// A response as a .frd writes it, 20 points a decade from 10 Hz to 40 kHz, with or without its
// phase.
template <class Response>
std::string frdOf(const Response& response, bool phase) {
  std::string text = "* Freq(Hz) SPL(dB) Phase(deg)\n";
  for (int i = 0; i <= 72; ++i) {
    const double hz = 10 * std::pow(10.0, i / 20.0);
    const std::complex<double> h = response(hz);
    text += std::to_string(hz) + "\t" + std::to_string(20 * std::log10(std::abs(h)));
    if (phase) text += "\t" + std::to_string(std::arg(h) * 180 / std::numbers::pi);
    text += "\n";
  }
  return text;
}

// Written as magnitude alone, a minimum-phase response gets its own phase back: first- and
// second-order high- and low-passes, within 2 degrees over the file's inner decades (a
// half-decade in from each end).
TEST(Acoustic, TheMinimumPhaseOfALevelIsTheFiltersOwn) {
  const double fc = 300;
  const auto jf = [&](double hz) { return std::complex<double>(0, hz / fc); };
  const struct {
    const char* name;
    std::complex<double> (*response)(std::complex<double>);
  } rows[] = {
      {"first-order high-pass", [](std::complex<double> s) { return s / (s + 1.0); }},
      {"second-order high-pass",
       [](std::complex<double> s) { return s * s / (s * s + std::sqrt(2.0) * s + 1.0); }},
      {"first-order low-pass", [](std::complex<double> s) { return 1.0 / (s + 1.0); }},
      {"second-order low-pass, 6 dB up",
       [](std::complex<double> s) { return 2.0 / (s * s + s / 0.7 + 1.0); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto h = [&](double hz) { return row.response(jf(hz)); };
    const FrdRead read = readFrd(frdOf(h, false));
    ASSERT_TRUE(read.response);
    EXPECT_TRUE(read.response->minimumPhase());
    int inner = 0;
    for (const ResponsePoint& p : read.response->points()) {
      if (p.hz < 31.6 || p.hz > 12600) continue;
      ++inner;
      EXPECT_NEAR(p.degrees, std::arg(h(p.hz)) * 180 / std::numbers::pi, 2.0) << p.hz << " Hz";
    }
    EXPECT_GT(inner, 50);
  }
}

// A file with its phase keeps it (unwrapped), and is not said to be worked out; the level
// between points is the points' own, and the average over a stretch is the level's mean.
TEST(Acoustic, AFilesPhaseIsKeptAndItsLevelAveraged) {
  const FrdRead read = readFrd("10 80 170\n100 86 -170\n1000 86 -160\n10000 92 -150\n");
  ASSERT_TRUE(read.response);
  const MeasuredResponse& r = *read.response;
  EXPECT_FALSE(r.minimumPhase());
  EXPECT_DOUBLE_EQ(r.points()[1].degrees, 190);
  EXPECT_NEAR(20 * std::log10(std::abs(r.at(1000))), 86, 1e-12);
  EXPECT_NEAR(std::arg(r.at(1000)) * 180 / std::numbers::pi, -160, 1e-9);
  EXPECT_NEAR(*r.averageDb(100, 1000), 86, 1e-9);
  EXPECT_NEAR(*r.averageDb(10, 100), 83, 0.05);  // a straight rise of 6 dB: its middle
  EXPECT_NEAR(*r.averageDb(1, 1000), *r.averageDb(10, 1000), 1e-12);  // within the file only
  EXPECT_FALSE(r.averageDb(20000, 30000));
}

// What a .frd reader refuses, with the line: a point with fewer columns than the first, a level
// out of range; levels at or below 0 dB are levels, not refused.
TEST(Acoustic, TheFrdReaderRefusesWithTheLine) {
  const struct {
    const char* text;
    std::optional<FileProblem> problem;
    std::size_t line;
  } rows[] = {
      {"100 -3 10\n200 -6\n", FileProblem::TooFewColumns, 2},
      {"100 -3\n200 -6 10\n", std::nullopt, 0},  // the first point says: no phase
      {"100 0\n200 -1e9\n", FileProblem::LevelOutOfRange, 2},
      {"* x\n100\n", FileProblem::TooFewColumns, 2},
      {"0 80\n10 80\n", FileProblem::NotPositive, 1},
      {"100;85,5;-10,5\n200;86;-20\n", std::nullopt, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const FrdRead read = readFrd(row.text);
    EXPECT_EQ(read.response.has_value(), !row.problem);
    if (!row.problem) continue;
    ASSERT_TRUE(read.refusal);
    EXPECT_EQ(read.refusal->problem, *row.problem);
    EXPECT_EQ(read.refusal->line, row.line);
  }
}

}  // namespace
}  // namespace kalvena
