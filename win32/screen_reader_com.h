#pragma once

// COM and the screen readers' library (oleacc), which the program loads itself when the first
// screen reader asks, from the system folder only, and lets go at the end.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <oleacc.h>

#include "system_library.h"

namespace kalvena::win32 {

// Each function by its own name, null where it is missing.
#define KALVENA_FROM(library, name) \
  decltype(&::name) name = library.function<decltype(::name)>(#name)
struct Com {
  SystemLibrary ole32{L"ole32.dll"};
  SystemLibrary oleaut32{L"oleaut32.dll"};
  SystemLibrary oleacc{L"oleacc.dll"};
  KALVENA_FROM(ole32, CoInitializeEx);
  KALVENA_FROM(ole32, CoUninitialize);
  KALVENA_FROM(oleaut32, SysAllocString);
  KALVENA_FROM(oleacc, CreateStdAccessibleObject);
  KALVENA_FROM(oleacc, LresultFromObject);
  KALVENA_FROM(oleacc, AccessibleObjectFromWindow);
  bool started = false;

  bool complete() const {
    return CoInitializeEx && CoUninitialize && SysAllocString && CreateStdAccessibleObject &&
           LresultFromObject && AccessibleObjectFromWindow;
  }
};
#undef KALVENA_FROM

// COM for this thread, started once; null where it cannot be (noted once).
Com* com();
// Lets COM go and frees the libraries.
void endCom();

}  // namespace kalvena::win32
