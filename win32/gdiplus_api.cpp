#include "gdiplus_api.h"

#include <optional>

namespace kalvena::win32 {

namespace {

std::optional<GdiPlus> gGdiPlus;  // while the toolkit lives

}  // namespace

GdiPlus::GdiPlus() {
  Gdiplus::GdiplusStartupInput input{};
  if (missing > 0 || startup(&token, &input, nullptr) != Gdiplus::Ok) {
    token = 0;
    noteFallback("GDI+ could not be started; the pictures stay blank");
  }
}

GdiPlus::~GdiPlus() {
  if (token) shutdown(token);
}

GdiPlus* gdiPlus() { return gGdiPlus && gGdiPlus->token ? &*gGdiPlus : nullptr; }

void startGdiPlus() {
  if (!gGdiPlus) gGdiPlus.emplace();
}

void endGdiPlus() { gGdiPlus.reset(); }

}  // namespace kalvena::win32
