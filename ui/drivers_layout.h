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
};
const ColumnNames& columnNames(int band);

const FormLayout& driversLayout();

}  // namespace kalvena::ui
