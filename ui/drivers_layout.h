#pragma once

// The drivers' panel, control by control: its layout and each band column's names in it.

#include "toolkit.h"

namespace kalvena::ui {

struct ColumnNames {
  const char *nominal, *model, *measured;
  const char *re, *le, *fs, *qms, *qes;
  const char* open;
  const char *curve, *coil;
  const char *zobel, *zobelParts, *notch, *notchParts;
  const char *pad, *padParts, *dcr;
  const char *openSound, *sound, *offset, *level, *proposal, *takePad;
};
// The controls for the whole panel: the parts' tolerances (capacitors, coils, resistors, the
// coils' resistance), the spread's and the electrical sum's switches.
inline constexpr const char* kToleranceNames[] = {"TolC", "TolL", "TolR", "TolDcr"};
inline constexpr const char* kSpreadName = "Spread";
inline constexpr const char* kElectricalName = "Electrical";
const ColumnNames& columnNames(int band);

const FormLayout& driversLayout();

}  // namespace kalvena::ui
