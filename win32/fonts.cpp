#include "fonts.h"

#include <algorithm>

#include "dib.h"
#include "ink.h"
#include "owned.h"
#include "system_library.h"
#include "utf16.h"

namespace kalvena::win32 {

namespace {

bool fontExists(const wchar_t* face) {
  const WindowDc screen;
  HDC dc = screen.get();
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Under Wine, in a prefix that has neither Arial nor Tahoma (as Wine makes one, with nothing
// copied in), the Tahoma that Wine brings in its own data folder (WINEDATADIR), for this process
// alone. The faces found there otherwise (Liberation Sans, DejaVu Sans) draw digits at the
// window's size too close to read apart. Where the file is there and cannot be added, that is
// noted among the fallbacks.
void addWinesTahoma() {
  if (fontExists(L"Arial") || fontExists(L"Tahoma")) return;
  wchar_t data[MAX_PATH] = L"";
  const DWORD n = GetEnvironmentVariableW(L"WINEDATADIR", data, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;  // not Wine, or a folder too long to be one
  std::wstring folder(data, n);
  if (folder.starts_with(L"\\??\\")) folder.erase(0, 4);
  // Marlett too: the title bar's close box is its "r", drawn as a letter without it.
  for (const wchar_t* name : {L"tahoma.ttf", L"marlett.ttf"}) {
    const std::wstring file = folder + L"\\fonts\\" + name;
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    if (AddFontResourceExW(file.c_str(), FR_PRIVATE, nullptr) == 0) {
      noteFallback("Wine's " + std::string(name, name + wcslen(name)) + " could not be added (" +
                   std::to_string(GetLastError()) + "); the window draws in the faces it has");
    }
  }
}

TEXTMETRICW metricsOf(HFONT font) {
  const WindowDc screen;
  HGDIOBJ old = SelectObject(screen.get(), font);
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  SelectObject(screen.get(), old);
  return tm;
}

// What `rows` rows of a bitmap drawn black on white cover from row `top` (all of it where
// rows is 0), the start of the baseline at (x, y) of them.
ui::Coverage coverageOf(const Dib& canvas, int x, int y, int top = 0, int rows = 0) {
  if (rows == 0) rows = canvas.height();
  ui::Coverage drawn{canvas.width(), rows, x, y, {}};
  drawn.values.resize(static_cast<std::size_t>(canvas.width()) * static_cast<std::size_t>(rows));
  const DWORD* p = canvas.pixels() + static_cast<std::ptrdiff_t>(top) * canvas.width();
  for (std::uint8_t& covered : drawn.values) {
    covered = ui::coverageOfGrey(GetRValue(*p), GetGValue(*p), GetBValue(*p));
    ++p;
  }
  return drawn;
}

}  // namespace

const std::vector<const wchar_t*>& windowFaces() {
  static const std::vector<const wchar_t*> faces = [] {
    addWinesTahoma();
    std::vector<const wchar_t*> installed;
    for (const wchar_t* face : {L"Arial", L"Tahoma", L"Liberation Sans", L"DejaVu Sans"}) {
      if (fontExists(face)) installed.push_back(face);
    }
    // The system substitutes a face of its own for a missing one.
    if (installed.empty()) installed.push_back(L"Arial");
    return installed;
  }();
  return faces;
}

const wchar_t* pictureFace() {
  static const wchar_t* face = fontExists(L"Arial") ? L"Arial" : L"Liberation Sans";
  return face;
}

HFONT makeFont(const wchar_t* face, int pixels) {
  LOGFONTW lf{};
  lf.lfHeight = -pixels;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

HFONT WindowFonts::font(const wchar_t* face, int pixels) {
  Gdi<HFONT>& f = fonts_[{face, pixels}];
  if (!f.get()) f = makeFont(face, pixels);
  return f.get();
}

WindowFonts::Sized WindowFonts::inputFace() const {
  const std::vector<const wchar_t*>& faces = windowFaces();
  const ui::Fitting f = ui::largestFitting(
      fullPixels(), smallestPixels(), static_cast<int>(faces.size()), [&](int face, int pixels) {
        return numbersStandApart(faces[static_cast<std::size_t>(face)], pixels);
      });
  return {faces[static_cast<std::size_t>(f.candidate)], f.pixels};
}

int lineSpacing(HFONT font) {
  const TEXTMETRICW tm = metricsOf(font);
  return tm.tmHeight + tm.tmExternalLeading;
}

int textWidth(HFONT font, std::wstring_view text) {
  const WindowDc screen;
  HDC dc = screen.get();
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

ui::Coverage captionCoverage(HFONT font, const std::wstring& caption, int width, bool wraps) {
  // Room on the left for ink that reaches out of the caption's box.
  const int margin = 16;
  const Dib canvas(2 * width + 64 + margin, (wraps ? 8 : 2) * lineSpacing(font));
  if (!canvas.ok()) return {};
  HDC dc = canvas.dc();
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT room{margin, 0, margin + width, canvas.height()};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &room,
            DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX | DT_NOCLIP | (wraps ? DT_WORDBREAK : 0));
  GdiFlush();
  SelectObject(dc, oldFont);
  return coverageOf(canvas, margin, metricsOf(font).tmAscent);
}

bool numbersStandApart(const wchar_t* face, int pixels) {
  // The answer depends on the face and the size alone: looked at once a run.
  static std::map<std::pair<const wchar_t*, int>, bool> seen;
  auto [at, added] = seen.try_emplace({face, pixels}, false);
  if (!added) return at->second;
  const Gdi<HFONT> font(makeFont(face, pixels));
  const int height = lineSpacing(font.get());
  // Every line drawn once as a text box draws it, a row each on one bitmap, a line's height of
  // room before it.
  const std::vector<std::string>& lines = ui::numberPairLines();
  std::size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const int rows = static_cast<int>(lines.size());
  const Dib canvas(static_cast<int>(longest) * height + 2 * height, rows * height);
  if (!canvas.ok()) return at->second = true;  // nothing to look at: the size stands
  HDC dc = canvas.dc();
  HGDIOBJ old = SelectObject(dc, font.get());
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < rows; ++i) {
    const std::wstring line = widen(lines[static_cast<std::size_t>(i)]);
    TextOutW(dc, height, i * height, line.c_str(), static_cast<int>(line.size()));
  }
  GdiFlush();
  SelectObject(dc, old);
  at->second = ui::numbersStandApart([&](std::size_t row, std::string_view) {
    return coverageOf(canvas, height, 0, static_cast<int>(row) * height, height);
  });
  return at->second;
}

SpacedFace::SpacedFace(const wchar_t* face, int largest, int smallest, int gap) : gap_(gap) {
  for (int pixels = largest; pixels >= std::min(smallest, largest); --pixels) {
    fonts_.push_back(std::make_unique<Gdi<HFONT>>(makeFont(face, pixels)));
    smoothed_.push_back(pixels >= kSmoothedPixels);
  }
  glyphs_.resize(fonts_.size());
  line_ = metricsOf(fonts_.front()->get());
}

const ui::Glyph& SpacedFace::glyphOf(std::size_t size, wchar_t c) {
  const auto found = glyphs_[size].find(c);
  if (found != glyphs_[size].end()) return found->second;
  HFONT font = fonts_[size]->get();
  const int advance = textWidth(font, std::wstring_view(&c, 1));
  const WindowDc screen;
  HDC dc = screen.get();
  HGDIOBJ old = SelectObject(dc, font);
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS metrics{};
  const bool gray = smoothed_[size];
  const UINT format = gray ? GGO_GRAY8_BITMAP : GGO_BITMAP;
  const DWORD bytes = GetGlyphOutlineW(dc, c, format, &metrics, 0, nullptr, &identity);
  std::vector<BYTE> bits(bytes == GDI_ERROR ? 0 : bytes);
  if (!bits.empty()) GetGlyphOutlineW(dc, c, format, &metrics, bytes, bits.data(), &identity);
  SelectObject(dc, old);
  const int width = bits.empty() ? 0 : static_cast<int>(metrics.gmBlackBoxX);
  const int height = bits.empty() ? 0 : static_cast<int>(metrics.gmBlackBoxY);
  // Rows of whole 32-bit words: a byte a pixel (0 to 64), or a bit a pixel, highest first.
  const int rowBytes = gray ? (width + 3) & ~3 : ((width + 31) / 32) * 4;
  std::vector<std::uint8_t> coverage;
  coverage.reserve(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    const BYTE* row = bits.data() + y * rowBytes;
    for (int x = 0; x < width; ++x) {
      coverage.push_back(gray ? static_cast<std::uint8_t>((row[x] * 255 + 32) / 64)
                              : ((row[x / 8] >> (7 - x % 8)) & 1) * 255);
    }
  }
  return glyphs_[size]
      .emplace(c, ui::makeGlyph(advance, metrics.gmptGlyphOrigin.x, -metrics.gmptGlyphOrigin.y,
                                width, height, std::move(coverage)))
      .first->second;
}

const ui::Glyph& SpacedFace::glyph(int size, std::string_view character) {
  static const ui::Glyph none;
  const std::wstring c = widen(character);
  return c.size() == 1 ? glyphOf(static_cast<std::size_t>(size), c[0]) : none;
}

void SpacedFace::draw(HDC dc, const RECT& room, int left, int baseline, const ui::ResultLine& line,
                      COLORREF ink, COLORREF ground) {
  const Dib canvas(room.right - room.left, room.bottom - room.top);
  if (!canvas.ok()) return;
  const std::vector<std::uint8_t> coverage = ui::coverLine(
      line, *this, canvas.width(), canvas.height(), left - room.left, baseline - room.top);
  const auto blend = [](int from, int to, int a) {
    return (from * (255 - a) + to * a + 127) / 255;
  };
  for (std::size_t i = 0; i < coverage.size(); ++i) {
    const int a = coverage[i];
    canvas.pixels()[i] = static_cast<DWORD>(blend(GetRValue(ground), GetRValue(ink), a) << 16 |
                                            blend(GetGValue(ground), GetGValue(ink), a) << 8 |
                                            blend(GetBValue(ground), GetBValue(ink), a));
  }
  BitBlt(dc, room.left, room.top, canvas.width(), canvas.height(), canvas.dc(), 0, 0, SRCCOPY);
}

}  // namespace kalvena::win32
