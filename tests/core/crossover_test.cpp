#include "crossover.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "nodal.h"
#include "response_text.h"

namespace kalvena {
namespace {

using namespace nodal;

double db(std::complex<double> v) { return 20 * std::log10(std::abs(v)); }

// The sum of the drivers is the sum of each section's voltage as its nodal equations give it,
// in both windows, with every set of parts and the middle driver either way round.
TEST(Crossover, SumsWhatTheNodalEquationsOfEachSectionGive) {
  const InputValues in{.LowFc = 300,
                       .LowR = 8,
                       .MidFc1 = 280,
                       .MidFc2 = 3100,
                       .MidR = 6,
                       .HighFc = 3000,
                       .HighR = 4};
  for (const int order : {12, 18}) {
    const BuiltSections sections =
        order == 12 ? networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in)
                    : networkSections(kThirdOrderFormulas, kThirdOrderNetworks, in);
    for (const PartsSet set : kPartsSets) {
      const Crossover crossover(sections, set);
      const auto [low, mid, high] = drawnSections(order, in, set);
      for (double hz = 10; hz < 40000; hz *= 1.07) {
        const std::complex<double> l = loadVoltage(low, hz), m = loadVoltage(mid, hz),
                                   h = loadVoltage(high, hz);
        EXPECT_NEAR(std::abs(crossover.response(Section::Middle, hz) - m), 0, 1e-9 * std::abs(m));
        for (const bool reversed : {false, true}) {
          const std::complex<double> nodalSum = l + (reversed ? -m : m) + h;
          EXPECT_NEAR(db(crossover.sum(hz, reversed)), db(nodalSum), 1e-6)
              << order << " dB/oct, set " << static_cast<int>(set) << ", " << hz << " Hz";
        }
      }
    }
  }
}

// A low-pass and a high-pass of 12 dB/oct at one frequency: in phase they cancel there, and
// reversed they add to +3 dB; the advice is to reverse, judged up to the middle band's upper
// end. A section left out is not summed, and with nothing beside the middle there is nothing to
// advise.
TEST(Crossover, AdvisesThePolarityWhoseSumStaysNearer0Db) {
  using P = LadderElement::Place;
  const double r = 8, hz = 1000, w = 2 * std::acos(-1.0) * hz;
  const double c = 1 / (std::sqrt(2.0) * w * r) * 1e6, l = std::sqrt(2.0) * r / w * 1e3;
  BuiltSections sections;
  sections[0] = BuiltSection{
      Section::Low, {{Unit::Millihenry, P::Series, l}, {Unit::Microfarad, P::Shunt, c}}, r, hz, hz};
  sections[1] = BuiltSection{Section::Middle,
                             {{Unit::Microfarad, P::Series, c}, {Unit::Millihenry, P::Shunt, l}},
                             r,
                             hz,
                             hz};
  const Crossover junction(sections, PartsSet::Computed);
  EXPECT_NEAR(db(junction.sum(hz, true)), 3.0103, 1e-3);
  EXPECT_LT(db(junction.sum(hz, false)), -100);
  const std::optional<PolarityAdvice> advice = middlePolarity(junction);
  ASSERT_TRUE(advice);
  EXPECT_EQ(advice->polarity, Polarity::Reversed);
  EXPECT_NEAR(advice->reversed.db, 3.0103, 1e-3);
  EXPECT_NEAR(advice->reversed.hz, hz, 1);
  EXPECT_LT(advice->same.db, -60);
  EXPECT_NEAR(advice->same.hz, hz, 1e-3);
  EXPECT_EQ(ui::polarityText(*advice, ","), "Средният говорител: обърнете полярността (+ към −)");
  EXPECT_EQ(ui::deviationsText(*advice, ","),
            "сумата 20 Hz–1 kHz: обърнат +3,0 dB, в една полярност под −60 dB");

  // 18 dB/oct Butterworth halves add to a flat sum either way; the one nearer 0 dB is kept.
  const InputValues in{.LowFc = 300,
                       .LowR = 8,
                       .MidFc1 = 300,
                       .MidFc2 = 3000,
                       .MidR = 8,
                       .HighFc = 3000,
                       .HighR = 8};
  const std::optional<PolarityAdvice> third = middlePolarity(
      Crossover(networkSections(kThirdOrderFormulas, kThirdOrderNetworks, in), PartsSet::E12));
  ASSERT_TRUE(third);
  EXPECT_EQ(third->polarity, Polarity::Same);
  EXPECT_EQ(ui::polarityText(*third, "."), "Средният говорител: в една полярност с другите");
  EXPECT_EQ(ui::deviationsText(*third, "."),
            "сумата 20 Hz–20 kHz: в една полярност −1.3 dB, обърнат +2.5 dB");

  sections[1].reset();
  EXPECT_FALSE(middlePolarity(Crossover(sections, PartsSet::Computed)));
  EXPECT_EQ(Crossover(sections, PartsSet::Computed).response(Section::High, hz), 0.0);
  sections[1] = sections[0];
  sections[1]->section = Section::Middle;
  sections[0].reset();
  EXPECT_FALSE(middlePolarity(Crossover(sections, PartsSet::Computed)));
}

// The sum is judged where the calculated bands play; a hole between them is said instead of an
// advice, and polarities within half a decibel of each other are both good.
TEST(Crossover, JudgesTheSumWhereTheBandsPlay) {
  struct Row {
    int order;
    InputValues in;
    PartsSet set;
    Polarity polarity;
    const char* advice;
    const char* deviations;
  };
  const InputValues wide{.LowFc = 100,
                         .LowR = 8,
                         .MidFc1 = 100,
                         .MidFc2 = 10000,
                         .MidR = 8,
                         .HighFc = 10000,
                         .HighR = 8};
  const Row rows[] = {
      // No high band: its silence at 20 kHz is not judged, the in-phase notch is.
      {12,
       {.LowFc = 800, .LowR = 8, .MidFc1 = 800, .MidFc2 = 6000, .MidR = 8},
       PartsSet::Computed,
       Polarity::Reversed,
       "Средният говорител: обърнете полярността (+ към −)",
       "сумата 20 Hz–6 kHz: обърнат +3.5 dB, в една полярност −17.7 dB"},
      // Typed in reverse, the middle band plays only around 370 Hz: the bands do not meet.
      {18,
       {.LowFc = 50,
        .LowR = 8,
        .MidFc1 = 3000,
        .MidFc2 = 50,
        .MidR = 8,
        .HighFc = 3000,
        .HighR = 8},
       PartsSet::Computed,
       Polarity::Gap,
       "Празнина между лентите: сумата е под −6 dB при 418–2503 Hz, до −40.2 dB",
       nullptr},
      // In phase wins by 0.13 dB with exact parts, reversed by 0.17 dB with E24: either will do.
      {18, wide, PartsSet::Computed, Polarity::Either,
       "Средният говорител: все едно в коя полярност (разликата е под 0.5 dB)", nullptr},
      {18, wide, PartsSet::E24, Polarity::Either, nullptr, nullptr},
  };
  for (const Row& row : rows) {
    const BuiltSections sections =
        row.order == 12 ? networkSections(kSecondOrderFormulas, kSecondOrderNetworks, row.in)
                        : networkSections(kThirdOrderFormulas, kThirdOrderNetworks, row.in);
    const std::optional<PolarityAdvice> advice = middlePolarity(Crossover(sections, row.set));
    ASSERT_TRUE(advice);
    EXPECT_EQ(advice->polarity, row.polarity) << row.order << " " << row.in.LowFc;
    EXPECT_EQ(advice->gap.has_value(), row.polarity == Polarity::Gap);
    if (row.advice) {
      EXPECT_EQ(ui::polarityText(*advice, "."), row.advice);
    }
    if (row.deviations) {
      EXPECT_EQ(ui::deviationsText(*advice, "."), row.deviations);
    }
  }
}

}  // namespace
}  // namespace kalvena
