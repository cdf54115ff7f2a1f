#include "response.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "preferred_values.h"

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

}  // namespace kalvena
