// A toolkit's file that reaches past the windows' code into core/: it must not build, as the
// test toolkits_cannot_include_core checks.
#include "toolkit.h"  // the windows' code, which a toolkit stands on

#include "crossover.h"  // core/, which it must not reach
