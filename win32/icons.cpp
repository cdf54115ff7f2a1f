#include "icons.h"

#include <utility>

#include "system_library.h"

namespace kalvena::win32 {

void setWindowIcons(HWND window, HINSTANCE instance, int dpi, std::array<OwnedIcon, 2>& icons) {
  const std::pair<WPARAM, int> kinds[] = {{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}};
  for (std::size_t i = 0; i < 2; ++i) {
    const int size = GetSystemMetricsForDpi(kinds[i].second, static_cast<UINT>(dpi));
    auto icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon) {
      noteFallback("the window's icon could not be loaded at its DPI");
      continue;
    }
    SendMessageW(window, WM_SETICON, kinds[i].first, reinterpret_cast<LPARAM>(icon));
    icons[i].reset(icon);
  }
}

}  // namespace kalvena::win32
