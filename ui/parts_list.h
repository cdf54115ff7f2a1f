#pragma once

// A window's parts list: every result it shows with the parts to buy for it, as plain text that
// reads on its own and pastes into a spreadsheet as columns (cells separated by tabs):
//   Kalvena, 12 dB/oct
//   Нивата в dB са спрямо усилвателя (0 dB е напрежението на входа).
//   Ниски: fc 1000 Hz, Rвг 8 Ом
//   −3 dB: 999 Hz; E12: 999 Hz; E24: 999 Hz; E12 ×2: 1000 Hz
//   C	14.07 µF	E12: 15 µF (+6.6 %)	E24: 15 µF (+6.6 %)	E12 ×2: 12 µF ∥ 2.2 µF …
//   L	1.80 mH	E12: 1.8 mH (-0.1 %)	E24: 1.8 mH (-0.1 %)
//   Средният говорител: … (where the middle section and a neighbour are calculated)
// A section without results is left out; a result that overflowed is listed with its
// explanation and no part, and its section without its -3 dB line.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "checked.h"
#include "input_values.h"
#include "unit.h"

namespace kalvena::ui {

// An input of a section as the list names it: "fc", its field, "Hz".
struct PartsInput {
  const char* label;
  double InputValues::*field;
  const char* unit;
};

// The inputs of each section, with their units, the same in both windows.
inline constexpr PartsInput kLowPartsInputs[] = {{"fc", &InputValues::LowFc, "Hz"},
                                                 {"Rвг", &InputValues::LowR, "Ом"}};
inline constexpr PartsInput kMiddlePartsInputs[] = {{"fc1", &InputValues::MidFc1, "Hz"},
                                                    {"fc2", &InputValues::MidFc2, "Hz"},
                                                    {"Rвг", &InputValues::MidR, "Ом"}};
inline constexpr PartsInput kHighPartsInputs[] = {{"fc", &InputValues::HighFc, "Hz"},
                                                  {"Rвг", &InputValues::HighR, "Ом"}};

// An element of a section: its name as the window labels it, and which of the window's results
// (in the order the calculation writes them) is its value.
struct PartsElement {
  const char* label;
  int result;
};

struct PartsSection {
  const char* name;
  std::span<const PartsInput> inputs;
  std::span<const PartsElement> elements;
};

// What a window wrote into one result box: the value, its unit and the inputs it came from.
struct WrittenResult {
  Checked value;
  Unit unit;
  InputValues inputs;
  std::string crossings;  // where its section crosses -3 dB; empty where that is not known
};

inline constexpr const char* kLevelsNote =
    "Нивата в dB са спрямо усилвателя (0 dB е напрежението на входа).";

// The list of a window whose slope is `slope` ("12 dB/oct"), from the results it has written
// (indexed as PartsElement::result; nothing where a box is empty), with `ending` (lines of what
// the sections make together) last. Empty where no result is.
std::string partsList(std::string_view slope, std::span<const PartsSection> sections,
                      std::span<const std::optional<WrittenResult>> written,
                      std::string_view decimalPoint, std::string_view ending);

}  // namespace kalvena::ui
