#include "design.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#if defined(__unix__)
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#endif

namespace kalvena {
namespace {

Design everyKind() {
  Design d;
  d.window12 = {400, 8, 400, 4000, 8, 4000, 8};
  d.window18 = {300, 4, 0, 0, 0, 3000, 6};
  d.parts = PartsSet::E12Pair;
  d.drivers[0] = {ThieleSmall{5.6, 0.8e-3, 35, 3.5, 0.4}, true, true, 0, 0.35};
  d.drivers[1].driver = *MeasuredImpedance::of({{20, 6.5, 10}, {200, 7.25, -20}, {2000, 9, 45}});
  d.drivers[1].zobel = true;
  d.curveNames[1] = "средник.zma";
  d.drivers[2] = {Driver(6.0), false, false, 4.5, 0};
  // A response with its phase, one with the phase worked out, an offset, tolerances changed.
  d.drivers[0].sound = MeasuredResponse::of({{25, 80, 100}, {250, 88, 20}, {2500, 86, -30}}, true);
  d.soundNames[0] = "бас.frd";
  d.drivers[2].sound = MeasuredResponse::of({{500, 84, 0}, {5000, 90, 0}, {40000, 88, 0}}, false);
  d.soundNames[2] = "tweeter.frd";
  d.drivers[0].offsetMm = 25.5;
  d.tolerances = {10, 5, 1, 10};
  return d;
}

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A design comes back as it was saved, and saving it again gives the same bytes, which are the
// same on every platform (this text is checked on Linux and under Wine alike).
TEST(Design, ComesBackAsSavedToTheByte) {
  const Design d = everyKind();
  const std::string text = writeDesign(d);
  const DesignRead read = readDesign(text);
  ASSERT_TRUE(read.design) << static_cast<int>(read.refusal->problem) << read.refusal->field;
  EXPECT_EQ(*read.design, d);
  EXPECT_EQ(writeDesign(*read.design), text);
  Design small;
  small.window12.LowFc = 1000;
  small.window12.LowR = 8;
  small.drivers[2].padDb = 3.5;
  const std::string want = R"({
  "format": "Kalvena design",
  "version": 2,
  "12 dB/oct": {
    "LowFc": 1000.0,
    "LowR": 8.0,
    "MidFc1": 0.0,
    "MidFc2": 0.0,
    "MidR": 0.0,
    "HighFc": 0.0,
    "HighR": 0.0
  },
)";
  const std::string got = writeDesign(small);
  EXPECT_EQ(got.substr(0, want.size()), want);
  EXPECT_NE(got.find(R"("pad dB": 3.5,)"), std::string::npos) << got;
  EXPECT_NE(got.find(R"("driver": null,)"), std::string::npos) << got;
  // A design of the first version has no responses, offsets or tolerances: it is read with
  // none and the default tolerances.
  std::string first = text;
  first.replace(first.find("\"version\": 2"), 12, "\"version\": 1");
  const DesignRead old = readDesign(first);
  ASSERT_TRUE(old.design);
  EXPECT_FALSE(old.design->drivers[0].sound);
  EXPECT_EQ(old.design->drivers[0].offsetMm, 0);
  EXPECT_EQ(old.design->tolerances, Tolerances{});
  EXPECT_EQ(old.design->drivers[0].driver, d.drivers[0].driver);
}

// What is no design, or holds a field out of range, is refused with the line or the field and
// why; nothing of it is taken.
TEST(Design, WhatIsNoDesignIsRefusedWithTheFieldAndWhy) {
  const std::string good = writeDesign(everyKind());
  const auto with = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    const std::size_t at = t.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? t : t.replace(at, from.size(), to);
  };
  const struct {
    const char* name;
    std::string text;
    DesignProblem problem;
    std::string field;
    std::size_t line;
  } rows[] = {
      {"empty", "", DesignProblem::NotJson, "", 1},
      {"cut short", good.substr(0, 60), DesignProblem::NotJson, "", 4},
      {"a .zma", "20 6.5 10\n100 7 3\n", DesignProblem::NotJson, "", 1},
      {"another JSON", R"({"name": "x"})", DesignProblem::NotADesign, "format", 0},
      {"a later format", with("\"version\": 2", "\"version\": 3"), DesignProblem::NewerVersion,
       "version", 0},
      {"a phase unknown", with("\"minimum\"", "\"guessed\""), DesignProblem::OutOfRange,
       "bands.high.sound.phase", 0},
      {"a tolerance of 80 %", with("\"capacitors %\": 10.0", "\"capacitors %\": 80.0"),
       DesignProblem::OutOfRange, "tolerances.capacitors %", 0},
      {"a response's point of two",
       with("[\n            250.0,\n            88.0,", "[\n            250.0,"),
       DesignProblem::WrongKind, "bands.low.sound.points[1]", 0},
      {"no 18 dB/oct", with("\"18 dB/oct\"", "\"18 dB\""), DesignProblem::Missing, "18 dB/oct", 0},
      {"a text for a number", with("\"LowR\": 8.0", "\"LowR\": \"8\""), DesignProblem::WrongKind,
       "12 dB/oct.LowR", 0},
      {"a negative frequency", with("\"LowFc\": 400.0", "\"LowFc\": -400.0"),
       DesignProblem::OutOfRange, "12 dB/oct.LowFc", 0},
      {"parts unknown", with("\"E12 pair\"", "\"E96\""), DesignProblem::OutOfRange, "parts", 0},
      {"fs of 0", with("\"fs\": 35.0", "\"fs\": 0.0"), DesignProblem::OutOfRange,
       "bands.low.driver.fs", 0},
      {"a pad of 100 dB", with("\"pad dB\": 4.5", "\"pad dB\": 100.0"), DesignProblem::OutOfRange,
       "bands.high.pad dB", 0},
      {"a model unknown", with("\"resistor\"", "\"horn\""), DesignProblem::OutOfRange,
       "bands.high.driver.model", 0},
      {"falling points", with("200.0", "2.0"), DesignProblem::BadCurve,
       "bands.middle.driver.points", 0},
      {"a point of two", with("2000.0,", ""), DesignProblem::WrongKind,
       "bands.middle.driver.points[2]", 0},
  };
  for (const auto& row : rows) {
    const DesignRead read = readDesign(row.text);
    EXPECT_FALSE(read.design) << row.name;
    ASSERT_TRUE(read.refusal) << row.name;
    EXPECT_EQ(read.refusal->problem, row.problem) << row.name;
    EXPECT_EQ(read.refusal->field, row.field) << row.name;
    EXPECT_EQ(read.refusal->line, row.line) << row.name;
  }
}

// A save replaces the file whole, and one that cannot be finished leaves the old file as it was.
TEST(Design, ASaveReplacesTheFileWholeOrNotAtAll) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "kalvena-design-test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "кутия.kalvena";
  const std::string first = writeDesign(everyKind());
  ASSERT_TRUE(replaceFile(file, first));
  EXPECT_EQ(fileText(file), first);
  Design changed = everyKind();
  changed.parts = PartsSet::E24;
  const std::string second = writeDesign(changed);
  ASSERT_TRUE(replaceFile(file, second));
  EXPECT_EQ(fileText(file), second);
  EXPECT_FALSE(std::filesystem::exists(folder / "кутия.kalvena.new"));
  // The new file cannot be made (a folder stands in its place): the old one stays.
  std::filesystem::create_directory(folder / "кутия.kalvena.new");
  EXPECT_FALSE(replaceFile(file, first));
  EXPECT_EQ(fileText(file), second);
  EXPECT_FALSE(replaceFile(folder / "no such folder" / "x.kalvena", first));
  std::filesystem::remove_all(folder);
}

#if defined(__unix__)
// A save killed while it writes (a process ended from outside, at a time that varies) leaves
// the old design whole, or the new one whole, never a part of one.
TEST(Design, ASaveKilledHalfwayLeavesAWholeFile) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "kalvena-design-kill-test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "x.kalvena";
  const std::string old = writeDesign(everyKind());
  const std::string large(64u << 20, 'x');  // long enough to be caught while it is written
  for (const int afterMicroseconds : {0, 2000, 20000}) {
    ASSERT_TRUE(replaceFile(file, old));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(replaceFile(file, large) ? 0 : 1);
    usleep(static_cast<useconds_t>(afterMicroseconds));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string left = fileText(file);
    EXPECT_TRUE(left == old || left == large)
        << "killed after " << afterMicroseconds << " µs: " << left.size() << " bytes";
    std::filesystem::remove(folder / "x.kalvena.new");
  }
  std::filesystem::remove_all(folder);
}
#endif

}  // namespace
}  // namespace kalvena
