#include "response_text.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "result_text.h"

namespace kalvena::ui {

std::string fixedText(double value, int decimals, std::string_view decimalPoint, bool* zero) {
  char digits[400];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  if (error != std::errc{}) return "?";
  std::string text(digits, end);
  if (zero) *zero = text.find_first_not_of("0.") == std::string::npos;
  if (const std::size_t point = text.find('.'); point != std::string::npos) {
    text.replace(point, 1, decimalPoint);
  }
  return text;
}

std::string levelText(double db, std::string_view decimalPoint) {
  const double magnitude = std::fabs(db);
  const int decimals = std::round(magnitude * 100) < 100 ? 2 : 1;
  bool zero = false;
  const std::string text = fixedText(magnitude, decimals, decimalPoint, &zero);
  if (text == "?") return text;
  if (zero) return "0";
  return (db < 0 ? "−" : "+") + text;
}

namespace {

std::string hertzText(double hz, std::string_view decimalPoint) {
  return resultText(std::round(hz), decimalPoint).value_or("?");
}

}  // namespace

// One set's crossings: its edges, or its stretches where there is more than one, then its dips
// below -3 dB between them and its peaks above +0.5 dB.
std::string crossingsSetText(Section section, const Crossings& c, std::string_view decimalPoint) {
  std::vector<std::string> edges;
  if (c.stretches.size() > 1) {
    for (const Stretch& s : c.stretches) {
      if (!s.from) {
        edges.push_back("до " + hertzText(*s.to, decimalPoint));
      } else if (!s.to) {
        edges.push_back("над " + hertzText(*s.from, decimalPoint));
      } else if (std::round(*s.from) == std::round(*s.to)) {
        edges.push_back("≈" + hertzText(*s.from, decimalPoint));  // narrower than a hertz
      } else {
        edges.push_back(hertzText(*s.from, decimalPoint) + "–" + hertzText(*s.to, decimalPoint));
      }
    }
  } else {
    // A low-pass is known by where it falls, a high-pass by where it rises, a band-pass by both.
    if (section != Section::Low && c.rising) edges.push_back(hertzText(*c.rising, decimalPoint));
    if (section != Section::High && c.falling) {
      edges.push_back(hertzText(*c.falling, decimalPoint));
    }
  }
  if (edges.empty()) return "не се достига";
  std::string text;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    if (i > 0) text.append(" и ");
    text.append(edges[i]);
  }
  text.append(" Hz");
  for (std::size_t i = 0; i + 1 < c.stretches.size(); ++i) {
    for (const Extreme& dip : c.dips) {
      if (dip.hz > *c.stretches[i].to && dip.hz < *c.stretches[i + 1].from) {
        text.append(", спад ").append(levelText(dip.db, decimalPoint)).append(" dB при ");
        text.append(hertzText(dip.hz, decimalPoint)).append(" Hz");
      }
    }
  }
  for (const Extreme& peak : c.peaks) {
    if (peak.db <= kSaidPeakDb) continue;
    text.append(", връх ").append(levelText(peak.db, decimalPoint)).append(" dB при ");
    text.append(hertzText(peak.hz, decimalPoint)).append(" Hz");
  }
  return text;
}

std::string crossingsText(Section section, const SectionCrossings& crossings,
                          std::string_view decimalPoint) {
  std::string text;
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    if (s > 0) text.append("; ");
    // The computed values' crossings are the -3 dB points; each set's are named by the set.
    text.append(s == 0 ? "−3 dB" : kPartsSetNames[s]).append(": ");
    text.append(crossingsSetText(section, crossings[s], decimalPoint));
  }
  return text;
}

BandCrossings bandCrossings(const BuiltSections& sections) {
  BandCrossings crossings;
  for (const std::optional<BuiltSection>& built : sections) {
    if (built) crossings[static_cast<std::size_t>(built->section)] = sectionCrossings(*built);
  }
  return crossings;
}

SectionTexts crossingsTexts(const BandCrossings& crossings, std::string_view decimalPoint) {
  SectionTexts texts;
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    if (crossings[s])
      texts[s] = crossingsText(static_cast<Section>(s), *crossings[s], decimalPoint);
  }
  return texts;
}

namespace {

// Deeper than this a notch is not given as a number: its depth depends on the last digits.
constexpr double kDeepestSaidDb = -60;

std::string deviationText(double db, std::string_view decimalPoint) {
  if (!(db >= kDeepestSaidDb)) return "под −60 dB";
  return levelText(db, decimalPoint) + " dB";
}

// An end of the range judged: "20 Hz", "6 kHz", "3273 Hz".
std::string rangeEndText(double hz, std::string_view decimalPoint) {
  const double whole = std::round(hz);
  if (whole >= 1000 && std::fmod(whole, 1000) == 0) {
    return hertzText(whole / 1000, decimalPoint) + " kHz";
  }
  return hertzText(whole, decimalPoint) + " Hz";
}

std::string gapText(const SumGap& gap, std::string_view decimalPoint) {
  static_assert(kGapDb == -6);
  return "сумата е под −6 dB при " + hertzText(gap.fromHz, decimalPoint) + "–" +
         hertzText(gap.toHz, decimalPoint) + " Hz, до " + deviationText(gap.db, decimalPoint);
}

// What is advised, after "Средният говорител: " or "с тези части ".
std::string adviceText(const PolarityAdvice& advice, std::string_view decimalPoint) {
  switch (advice.polarity) {
    case Polarity::Reversed:
      return "обърнете полярността (+ към −)";
    case Polarity::Either:
      static_assert(kEitherPolarityDb == 0.5);
      return "все едно в коя полярност (разликата е под 0" + std::string(decimalPoint) + "5 dB)";
    case Polarity::Gap:
    case Polarity::Same:
      break;
  }
  return "в една полярност с другите";
}

}  // namespace

std::string polarityText(const PolarityAdvice& advice, std::string_view decimalPoint) {
  if (advice.gap) return "Празнина между лентите: " + gapText(*advice.gap, decimalPoint);
  return "Средният говорител: " + adviceText(advice, decimalPoint);
}

std::string deviationsText(const PolarityAdvice& advice, std::string_view decimalPoint) {
  const std::string reversed = "обърнат " + deviationText(advice.reversed.db, decimalPoint);
  const std::string same = "в една полярност " + deviationText(advice.same.db, decimalPoint);
  return "сумата " + rangeEndText(advice.range.lowHz, decimalPoint) + "–" +
         rangeEndText(advice.range.highHz, decimalPoint) + ": " +
         (advice.reverseMiddle() ? reversed + ", " + same : same + ", " + reversed);
}

std::string polarityLines(const BuiltSections& sections, std::string_view decimalPoint,
                          const BandDrivers& drivers, Hearing hearing) {
  std::string lines;
  std::optional<Polarity> advised;
  for (std::size_t s = 0; s < std::size(kPartsSets); ++s) {
    const std::optional<PolarityAdvice> advice =
        middlePolarity(Crossover(sections, kPartsSets[s], drivers, hearing));
    if (!advice) return {};
    if (!advised) {
      advised = advice->polarity;
      lines.append(polarityText(*advice, decimalPoint)).append("\n");
    }
    lines.append(kPartsSetNames[s]).append(": ");
    if (advice->polarity != *advised) {
      lines.append("с тези части ");
      lines.append(advice->gap ? "празнина: " + gapText(*advice->gap, decimalPoint)
                               : adviceText(*advice, decimalPoint));
      lines.append("; ");
    }
    lines.append(deviationsText(*advice, decimalPoint)).append("\n");
  }
  return lines;
}

namespace {

std::string ohmsText(double ohms, std::string_view decimalPoint) {
  return fixedText(ohms, 1, decimalPoint) + " Ω";
}

std::string minimumText(const LoadMinimum& minimum, std::string_view decimalPoint) {
  return "най-малко " + ohmsText(minimum.ohms, decimalPoint) + " при " +
         hertzText(minimum.hz, decimalPoint) + " Hz, номинален " +
         (minimum.rated ? std::to_string(*minimum.rated) + " Ω" : std::string("под 2 Ω"));
}

}  // namespace

std::string measuredText(const std::optional<Crossings>& crossings,
                         std::pair<double, double> measured, std::string_view decimalPoint) {
  std::string text = "(измерен при " + hertzText(measured.first, decimalPoint) + "–" +
                     hertzText(measured.second, decimalPoint) + " Hz";
  std::vector<double> outside;
  if (crossings) {
    for (const Stretch& stretch : crossings->stretches) {
      for (const std::optional<double>& edge : {stretch.from, stretch.to}) {
        if (edge && (*edge < measured.first || *edge > measured.second)) outside.push_back(*edge);
      }
    }
  }
  for (std::size_t i = 0; i < outside.size(); ++i) {
    text.append(i == 0 ? "; " : " и ").append(hertzText(outside[i], decimalPoint));
  }
  if (!outside.empty())
    text.append(" Hz ").append(outside.size() == 1 ? "е" : "са").append(" извън измерването");
  return text + ")";
}

std::string loadText(const LoadMinimum& minimum, std::string_view decimalPoint) {
  return "Импеданс за усилвателя: " + minimumText(minimum, decimalPoint);
}

std::string loadLine(const BuiltSections& sections, std::string_view decimalPoint,
                     const BandDrivers& drivers) {
  std::string line;
  for (std::size_t s = 0; s < std::size(kPartsSets); ++s) {
    const std::optional<LoadMinimum> minimum =
        amplifierLoadMinimum(Crossover(sections, kPartsSets[s], drivers));
    if (!minimum) return {};
    line.append(s == 0 ? "Импеданс за усилвателя: " : "; ");
    if (s > 0) line.append(kPartsSetNames[s]).append(": ");
    line.append(minimumText(*minimum, decimalPoint));
  }
  return line + "\n";
}

}  // namespace kalvena::ui
