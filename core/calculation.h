#pragma once

#include <array>
#include <cstddef>

#include "checked.h"
#include "input_values.h"
#include "unit.h"

namespace kalvena {

// One result box's worth of a calculation: which element, of which section, and how its
// value follows from the inputs.
template <class Element>
struct Formula {
  Element element;
  Section section;
  Unit unit;
  Checked (*value)(const InputValues&);
};

// The section whose result an element is.
template <class Element, std::size_t N>
constexpr Section sectionOf(const std::array<Formula<Element>, N>& formulas, Element element) {
  for (const Formula<Element>& f : formulas) {
    if (f.element == element) return f.section;
  }
  return Section::Low;  // every element has its formula
}

// Works through the formulas in their order and hands each value of a complete section to
// write(element, unit, value); an incomplete section is skipped and nothing of it is written.
template <class Element, std::size_t N, class Write>
void calculate(const std::array<Formula<Element>, N>& formulas, const InputValues& values,
               Write&& write) {
  for (const Formula<Element>& f : formulas) {
    if (sectionComplete(values, f.section)) write(f.element, f.unit, f.value(values));
  }
}

}  // namespace kalvena
