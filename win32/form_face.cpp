#include "form_face.h"

#include <oleacc.h>

#include <algorithm>

#include "gdiplus_painter.h"
#include "system_library.h"
#include "utf16.h"

namespace kalvena::win32 {

std::function<HFONT(int)> FormFace::captionFont(WindowFonts& fonts) {
  return [&fonts](int pixels) { return fonts.font(windowFaces().front(), pixels); };
}

void FormFace::layOut(const ui::FormLayout& layout, int dpi, WindowFonts& fonts,
                      AccessibleInfo& window) {
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  const ui::FaceScale scale{[dpi](int twips) { return ui::twipsToPixels(twips, dpi); },
                            fonts.fullPixels(),
                            dpi / 96.0,
                            std::max(1, MulDiv(1, dpi, 96)),
                            {GetRValue(ink), GetGValue(ink), GetBValue(ink)}};
  face_.reset();
  withPainter({1, 1}, 0, captionFont(fonts),
              [&](ui::Painter& measure, const Dib&) { face_.emplace(layout, scale, measure); });
  window.parts.clear();
  if (!face_) {
    noteFallback("no bitmap to measure the captions on; the window's face is not drawn");
    return;
  }
  for (const ui::FaceObject& o : face_->objects()) {
    const ui::PixelRect& b = o.bounds;
    window.parts.push_back(
        {widen(o.name),
         o.role == ui::FaceObject::Role::Graphic ? ROLE_SYSTEM_GRAPHIC : ROLE_SYSTEM_STATICTEXT,
         {b.left, b.top, b.left + b.width, b.top + b.height}});
  }
}

void FormFace::paint(HWND window, WindowFonts& fonts) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const bool drawn =
      face_ && withPainter({client.right, client.bottom}, GetSysColor(COLOR_BTNFACE),
                           captionFont(fonts), [&](ui::Painter& p, const Dib& canvas) {
                             face_->draw(p);
                             const RECT& r = ps.rcPaint;
                             BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                    canvas.dc(), r.left, r.top, SRCCOPY);
                           });
  if (!drawn && !pictureless_) {
    pictureless_ = true;
    noteFallback("the window's face could not be drawn whole");
  }
  EndPaint(window, &ps);
}

}  // namespace kalvena::win32
