#include "response.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "preferred_values.h"
#include "result_text.h"

namespace kalvena {

double partsValue(double value, PartsSet set) {
  switch (set) {
    case PartsSet::Computed:
      return value;
    case PartsSet::E12:
      return nearestPreferred(value, PreferredSeries::E12);
    case PartsSet::E24:
      return nearestPreferred(value, PreferredSeries::E24);
    case PartsSet::E12Pair:
      if (const std::optional<PreferredPair> pair = nearestE12Pair(value)) return pair->sum;
      return nearestPreferred(value, PreferredSeries::E12);
  }
  return value;
}

std::vector<LadderElement> BuiltSection::ladder(PartsSet set) const {
  std::vector<LadderElement> ladder;
  for (const SectionPart& part : parts) {
    const bool capacitor = part.unit == Unit::Microfarad;
    ladder.push_back({capacitor ? LadderElement::Kind::Capacitor : LadderElement::Kind::Inductor,
                      part.place, partsValue(part.value, set) * (capacitor ? 1e-6 : 1e-3)});
  }
  return ladder;
}

std::optional<BuiltSection> builtSection(Section section, std::vector<SectionPart> parts,
                                         const InputValues& values) {
  BuiltSection built{section, std::move(parts)};
  switch (section) {
    case Section::Low:
      built.load = values.LowR, built.lowHz = built.highHz = values.LowFc;
      break;
    case Section::Middle:
      built.load = values.MidR;
      built.lowHz = std::min(values.MidFc1, values.MidFc2);
      built.highHz = std::max(values.MidFc1, values.MidFc2);
      break;
    case Section::High:
      built.load = values.HighR, built.lowHz = built.highHz = values.HighFc;
      break;
  }
  for (const SectionPart& part : built.parts) {
    if (!(part.value > 0.0) || !std::isfinite(part.value)) return std::nullopt;
  }
  return built;
}

std::optional<SectionCrossings> sectionCrossings(const BuiltSection& built) {
  SectionCrossings crossings;
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    const std::optional<Crossings> found =
        minus3DbCrossings(built.ladder(kPartsSets[s]), built.load, built.lowHz, built.highHz);
    if (!found) return std::nullopt;
    crossings[s] = *found;
  }
  return crossings;
}

SectionTexts crossingsTexts(const BuiltSections& sections, std::string_view decimalPoint) {
  SectionTexts texts;
  for (const std::optional<BuiltSection>& built : sections) {
    if (!built) continue;
    if (const std::optional<SectionCrossings> c = sectionCrossings(*built)) {
      texts[static_cast<std::size_t>(built->section)] =
          crossingsText(built->section, *c, decimalPoint);
    }
  }
  return texts;
}

std::string levelText(double db, std::string_view decimalPoint) {
  const double magnitude = std::fabs(db);
  const int decimals = std::round(magnitude * 100) < 100 ? 2 : 1;
  char digits[400];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed, decimals);
  if (error != std::errc{}) return "?";
  std::string text(digits, end);
  if (text.find_first_not_of("0.") == std::string::npos) return "0";
  if (const std::size_t point = text.find('.'); point != std::string::npos) {
    text.replace(point, 1, decimalPoint);
  }
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
  static constexpr const char* kLabels[] = {"−3 dB: ", "E12: ", "E24: ", "E12 ×2: "};
  std::string text;
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    if (s > 0) text.append("; ");
    text.append(kLabels[s]).append(crossingsSetText(section, crossings[s], decimalPoint));
  }
  return text;
}

}  // namespace kalvena
