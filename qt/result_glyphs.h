#pragma once

// A result box's glyphs on Qt: each character rasterised once at a size and pixel ratio, the
// line laid out by the windows' code, and its coverage drawn in a colour.

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QPainter>
#include <QPoint>

#include "face.h"
#include "result_layout.h"

namespace kalvena::qt {

// Where the text of a result box begins: past the frame and a pixel of space.
inline constexpr qreal kOutputTextIndent = 2;

// The coverage of a character of a font at a device pixel ratio, made once.
const ui::Glyph& glyphOf(const QFont& font, qreal dpr, QChar c);

// A result box's face at its sizes, from its own down to the smallest drawn, at a device
// pixel ratio. Unhinted: hinted to whole pixels, an 8 at 11 pixels reads as a B, and a 3 at 8
// as a 2.
class BoxGlyphs final : public ui::GlyphSource {
 public:
  BoxGlyphs(const QFont& font, qreal dpr) : font_(font), dpr_(dpr) {
    largest_ = font.pixelSize() > 0 ? font.pixelSize() : ui::kFontPixels;
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setLetterSpacing(QFont::AbsoluteSpacing, 0);  // the spacing is the layout's own
  }
  int sizeCount() const override { return largest_ - ui::smallestPixels(largest_) + 1; }
  const ui::Glyph& glyph(int size, std::string_view character) override {
    return glyphOf(font(size), dpr_,
                   QString::fromUtf8(character.data(), std::ssize(character)).front());
  }
  bool smoothed(int) const override { return true; }  // antialiased at every size
  QFont font(int size) const {
    QFont f = font_;
    f.setPixelSize(largest_ - size);
    return f;
  }
  qreal dpr() const { return dpr_; }

 private:
  QFont font_;
  qreal dpr_;
  int largest_;
};

// What a result box draws of its text, in the room it has past the frame and a pixel of space
// on either side, in device pixels.
ui::ResultLine layOut(const QLineEdit& box, BoxGlyphs& glyphs);

// Draws a laid-out text in a colour with its baseline's start at a device pixel, as an image of
// the device's pixels laid on the box unscaled.
void draw(QPainter& painter, const ui::ResultLine& line, BoxGlyphs& glyphs, QPoint start,
          const QColor& colour);

}  // namespace kalvena::qt
