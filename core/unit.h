#pragma once

namespace kalvena {

// The unit a result is shown in: capacitances in microfarads, inductances in millihenries.
enum class Unit { Microfarad, Millihenry };

}  // namespace kalvena
