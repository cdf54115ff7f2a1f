#pragma once

#include <string_view>

namespace kalvena {

// The unit a result is shown in: capacitances in microfarads, inductances in millihenries.
enum class Unit { Microfarad, Millihenry };

constexpr std::string_view unitText(Unit unit) { return unit == Unit::Microfarad ? "µF" : "mH"; }

}  // namespace kalvena
