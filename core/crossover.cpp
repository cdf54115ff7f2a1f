#include "crossover.h"

#include <cmath>

namespace kalvena {

Crossover::Crossover(const BuiltSections& sections, PartsSet set) {
  for (const std::optional<BuiltSection>& built : sections) {
    if (built) ladders_[index(built->section)] = Built{built->ladder(set), built->load};
  }
}

std::complex<double> Crossover::response(Section section, double hz) const {
  const std::optional<Built>& built = ladders_[index(section)];
  return built ? ladderResponse(built->ladder, built->load, hz) : 0.0;
}

std::complex<double> Crossover::sum(double hz, bool middleReversed) const {
  const std::complex<double> middle = response(Section::Middle, hz);
  return response(Section::Low, hz) + (middleReversed ? -middle : middle) +
         response(Section::High, hz);
}

namespace {

double sumDb(const Crossover& crossover, bool reversed, double hz) {
  return 20.0 * std::log10(std::abs(crossover.sum(hz, reversed)));
}

}  // namespace

SumDeviation largestDeviation(const Crossover& crossover, bool middleReversed) {
  // Sampled 400 times a decade, then the furthest sample's neighbourhood narrowed down by
  // golden sections on the distance from 0 dB, so that a notch's depth is found, not sampled.
  constexpr int kPerDecade = 400;
  const double decades = std::log10(kAudibleHighHz / kAudibleLowHz);
  const int samples = static_cast<int>(std::ceil(decades * kPerDecade));
  const auto at = [&](int i) {
    return i >= samples ? kAudibleHighHz
                        : kAudibleLowHz * std::pow(10.0, static_cast<double>(i) / kPerDecade);
  };
  const auto distance = [&](double hz) {
    const double db = sumDb(crossover, middleReversed, hz);
    return std::isnan(db) ? 0.0 : std::fabs(db);
  };
  int furthest = 0;
  for (int i = 1; i <= samples; ++i) {
    if (distance(at(i)) > distance(at(furthest))) furthest = i;
  }
  double lo = at(std::max(furthest - 1, 0)), hi = at(std::min(furthest + 1, samples));
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  for (int k = 0; k < 60 && hi - lo > 1e-9 * hi; ++k) {
    const double a = hi - ratio * (hi - lo), b = lo + ratio * (hi - lo);
    if (distance(a) > distance(b)) {
      hi = b;
    } else {
      lo = a;
    }
  }
  double hz = lo + (hi - lo) / 2;
  if (distance(at(furthest)) > distance(hz)) hz = at(furthest);
  return {sumDb(crossover, middleReversed, hz), hz};
}

std::optional<PolarityAdvice> middlePolarity(const Crossover& crossover) {
  if (!crossover.has(Section::Middle) ||
      !(crossover.has(Section::Low) || crossover.has(Section::High))) {
    return std::nullopt;
  }
  PolarityAdvice advice;
  advice.same = largestDeviation(crossover, false);
  advice.reversed = largestDeviation(crossover, true);
  advice.reverseMiddle = std::fabs(advice.reversed.db) < std::fabs(advice.same.db) - 0.005;
  return advice;
}

std::string polarityText(const PolarityAdvice& advice) {
  return advice.reverseMiddle ? "Средният говорител: обърнете полярността (+ към −)"
                              : "Средният говорител: в една полярност с другите";
}

namespace {

// Deeper than this a notch is not given as a number: its depth depends on the last digits.
constexpr double kDeepestSaidDb = -60;

std::string deviationText(const SumDeviation& d, std::string_view decimalPoint) {
  if (!(d.db >= kDeepestSaidDb)) return "под −60 dB";
  return levelText(d.db, decimalPoint) + " dB";
}

}  // namespace

std::string deviationsText(const PolarityAdvice& advice, std::string_view decimalPoint) {
  const std::string reversed = "обърнат " + deviationText(advice.reversed, decimalPoint);
  const std::string same = "в една полярност " + deviationText(advice.same, decimalPoint);
  return "сумата 20 Hz–20 kHz: " +
         (advice.reverseMiddle ? reversed + ", " + same : same + ", " + reversed);
}

std::string polarityLines(const BuiltSections& sections, std::string_view decimalPoint) {
  static constexpr const char* kSetNames[] = {"Точни стойности", "E12", "E24", "E12 ×2"};
  std::string lines;
  std::optional<bool> advised;
  for (std::size_t s = 0; s < std::size(kPartsSets); ++s) {
    const std::optional<PolarityAdvice> advice = middlePolarity(Crossover(sections, kPartsSets[s]));
    if (!advice) return {};
    if (!advised) {
      advised = advice->reverseMiddle;
      lines.append(polarityText(*advice)).append("\n");
    }
    lines.append(kSetNames[s]).append(": ");
    if (advice->reverseMiddle != *advised) {
      lines.append(advice->reverseMiddle ? "с тези части обърнете полярността; "
                                         : "с тези части в една полярност; ");
    }
    lines.append(deviationsText(*advice, decimalPoint)).append("\n");
  }
  return lines;
}

}  // namespace kalvena
