#include "parts_list.h"

#include "calculator_window.h"
#include "result_text.h"

namespace kalvena::ui {

std::string partsList(std::string_view slope, std::span<const PartsSection> sections,
                      std::span<const std::optional<WrittenResult>> written,
                      std::string_view decimalPoint, std::string_view ending) {
  std::string list;
  for (const PartsSection& section : sections) {
    const WrittenResult* first = nullptr;
    for (const PartsElement& e : section.elements) {
      const std::optional<WrittenResult>& w = written[static_cast<std::size_t>(e.result)];
      if (w && !first) first = &*w;
    }
    if (!first) continue;  // never calculated, or skipped
    // The inputs the section's results came from, which the boxes may no longer show.
    list.append(section.name).append(": ");
    for (std::size_t i = 0; i < section.inputs.size(); ++i) {
      const PartsInput& in = section.inputs[i];
      if (i > 0) list.append(", ");
      list.append(in.label).append(" ");
      list.append(resultText(Checked(first->inputs.*in.field), decimalPoint).value_or("?"));
      list.append(" ").append(in.unit);
    }
    list.append("\n");
    if (!first->crossings.empty()) list.append(first->crossings).append("\n");
    for (const PartsElement& e : section.elements) {
      const std::optional<WrittenResult>& w = written[static_cast<std::size_t>(e.result)];
      if (!w) continue;
      list.append(e.label).append("\t");
      const std::optional<std::string> text = resultText(w->value, decimalPoint);
      if (!text) {
        list.append(kOutOfRangeMarker).append("\t").append(kOutOfRangeExplanation).append("\n");
        continue;
      }
      list.append(listedValueText(w->value, decimalPoint).value_or(*text));
      list.append(" ").append(unitText(w->unit));
      for (const PreferredSeries series : {PreferredSeries::E12, PreferredSeries::E24}) {
        if (auto part = preferredPart(w->value, w->unit, series, decimalPoint)) {
          list.append("\t").append(*part);
        }
      }
      if (auto pair = preferredPairPart(w->value, w->unit, decimalPoint)) {
        list.append("\t").append(*pair);
      }
      list.append("\n");
    }
  }
  if (list.empty()) return list;
  list.append(ending);
  return "Kalvena, " + std::string(slope) + "\n" + kLevelsNote + "\n" + list;
}

}  // namespace kalvena::ui
