#include "response.h"

#include <algorithm>
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

std::optional<SectionCrossings> sectionCrossings(Section section,
                                                 std::span<const SectionPart> parts,
                                                 const InputValues& values) {
  double load = 0, lowHz = 0, highHz = 0;
  switch (section) {
    case Section::Low:
      load = values.LowR, lowHz = highHz = values.LowFc;
      break;
    case Section::Middle:
      load = values.MidR;
      lowHz = std::min(values.MidFc1, values.MidFc2);
      highHz = std::max(values.MidFc1, values.MidFc2);
      break;
    case Section::High:
      load = values.HighR, lowHz = highHz = values.HighFc;
      break;
  }
  for (const SectionPart& part : parts) {
    if (!(part.value > 0.0) || !std::isfinite(part.value)) return std::nullopt;
  }
  SectionCrossings crossings;
  std::vector<LadderElement> ladder(parts.size());
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const bool capacitor = parts[i].unit == Unit::Microfarad;
      ladder[i] = LadderElement{
          capacitor ? LadderElement::Kind::Capacitor : LadderElement::Kind::Inductor,
          parts[i].place, partsValue(parts[i].value, kPartsSets[s]) * (capacitor ? 1e-6 : 1e-3)};
    }
    const std::optional<Crossings> found = minus3DbCrossings(ladder, load, lowHz, highHz);
    if (!found) return std::nullopt;
    crossings[s] = *found;
  }
  return crossings;
}

std::string crossingsText(Section section, const SectionCrossings& crossings,
                          std::string_view decimalPoint) {
  static constexpr const char* kLabels[] = {"−3 dB: ", "E12: ", "E24: ", "E12 ×2: "};
  std::string text;
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    if (s > 0) text.append("; ");
    text.append(kLabels[s]);
    // A low-pass is known by where it falls, a high-pass by where it rises, a band-pass by both.
    std::vector<double> edges;
    if (section != Section::Low && crossings[s].rising) edges.push_back(*crossings[s].rising);
    if (section != Section::High && crossings[s].falling) edges.push_back(*crossings[s].falling);
    if (edges.empty()) {
      text.append("не се достига");
      continue;
    }
    for (std::size_t i = 0; i < edges.size(); ++i) {
      if (i > 0) text.append(" и ");
      text.append(resultText(std::round(edges[i]), decimalPoint).value_or("?"));
    }
    text.append(" Hz");
  }
  return text;
}

}  // namespace kalvena
