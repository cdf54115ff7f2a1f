// Where a result's characters go, on a face whose glyphs are known: the rule that both toolkits
// draw by, without a toolkit.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "result_layout.h"

namespace kalvena::ui::test {
namespace {

// Digits 5 pixels wide and 8 high that advance by 7; the separators as a face at a small size
// draws them. Each smaller size is a pixel narrower a digit.
class Face final : public GlyphSource {
 public:
  Face(GlyphInk point, GlyphInk comma, int sizes = 2, bool smooth = false,
       GlyphInk ellipsis = {8, 1, 7, -1, 0})
      : point_(point), comma_(comma), ellipsis_(ellipsis), sizes_(sizes), smooth_(smooth) {}
  int sizeCount() const override { return sizes_; }
  bool smoothed(int) const override { return smooth_; }
  const Glyph& glyph(int size, std::string_view c) override {
    Glyph& g = made_[{size, std::string(c)}];
    g.ink = ink(size, c);
    return g;
  }

 private:
  GlyphInk ink(int size, std::string_view c) const {
    if (c == ".") return point_;
    if (c == ",") return comma_;
    if (c == "…") return ellipsis_;
    const int w = 5 - size;
    return {w + 2, 0, w, -8, 0};
  }

  std::map<std::pair<int, std::string>, Glyph> made_;
  GlyphInk point_, comma_, ellipsis_;
  int sizes_;
  bool smooth_;
};

std::vector<int> originsOf(const ResultLine& line) {
  std::vector<int> out;
  for (const PlacedCharacter& c : line.characters) out.push_back(c.origin);
  return out;
}

constexpr GlyphInk kPoint1x2{3, 1, 2, -2, 0}, kPoint1x1{3, 1, 2, -1, 0}, kComma{3, 1, 2, -1, 2};
constexpr GlyphInk kNoInk{2, 0, 0, 0, 0}, kDot{3, 1, 2, -1, 0};

TEST(ResultLayout, DigitsStandAColumnApartAndASeparatorTwo) {
  Face face(kPoint1x1, kComma);
  // At the advances where they keep the clear columns: the point two clear of the 2 before it.
  const ResultLine line = layOutResult("12.5", 100, 1, face);
  EXPECT_EQ(line.text(), "12.5");
  EXPECT_EQ(originsOf(line), (std::vector<int>{0, 7, 14, 18}));
  EXPECT_EQ(line.width, 23);
  EXPECT_TRUE(line.characters[2].shape.empty()) << "a point of one pixel stays";
  // Where the advances do not fit: tight, each ink right after its clear columns.
  const ResultLine tight = layOutResult("12.5", 21, 1, face);
  EXPECT_EQ(originsOf(tight), (std::vector<int>{0, 6, 12, 16}));
  EXPECT_EQ(tight.size, 0);
  EXPECT_EQ(layOutResult("12.5", 20, 1, face).size, 1) << "a size smaller";
}

TEST(ResultLayout, ASeparatorThatReadsAsAnotherMarkIsDrawnAsAShape) {
  struct Case {
    const char* text;
    GlyphInk point;
    bool smooth;
    std::vector<PixelRect> shape;
    GlyphInk comma = kComma;
    GlyphInk ellipsis = {8, 1, 7, -1, 0};
  };
  const Case cases[] = {
      {"1.5", kPoint1x2, false, {{1, -2, 2, 2}}},                // a stroke two high: as wide
      {"1,5", kPoint1x1, false, {{1, -2, 2, 2}, {1, 0, 1, 1}}},  // a comma: a point and a tail
      {"1,5", kPoint1x1, true, {}},  // beside small smoothed digits the face's own stays
      // A separator with no ink at all is drawn, beside smoothed digits too.
      {"1.5", kNoInk, true, {{0, -2, 2, 2}}},
      {"1,5", kPoint1x1, false, {{0, -2, 2, 2}, {0, 0, 1, 1}}, kNoInk},
      // An ellipsis of one dot would read as a point: three dots a column apart.
      {"1…5", kPoint1x1, true, {{1, -1, 1, 1}, {3, -1, 1, 1}, {5, -1, 1, 1}}, kComma, kDot},
      {"1…5", kPoint1x1, false, {}},  // one wide enough for its dots stays
  };
  for (const Case& c : cases) {
    Face face(c.point, c.comma, 2, c.smooth, c.ellipsis);
    const ResultLine line = layOutResult(c.text, 100, 1, face);
    ASSERT_EQ(line.characters.size(), 3u) << c.text;
    EXPECT_EQ(line.characters[1].shape, c.shape) << c.text;
    // The digit after the mark stands its clear columns beyond the mark's ink.
    EXPECT_GE(line.characters[2].inkLeft, line.characters[1].inkRight + 2) << c.text;
  }
}

TEST(ResultLayout, AShapeThatAloneCostsASizeGivesWayToTheFacesOwn) {
  Face face(kPoint1x2, kComma);
  // "11.11", tight: 28 pixels with the point drawn two wide, 27 with the face's own.
  EXPECT_EQ(layOutResult("11.11", 28, 1, face).characters[2].shape.size(), 1u);
  const ResultLine line = layOutResult("11.11", 27, 1, face);
  EXPECT_EQ(line.size, 0) << "the digits keep their size";
  EXPECT_TRUE(line.characters[2].shape.empty());
}

TEST(ResultLayout, ATextTooWideIsCutInTheMiddleAndKeepsItsExponent) {
  Face face(kPoint1x1, kComma);
  const ResultLine cut = layOutResult("1.2345678E+22", 50, 1, face);
  EXPECT_FALSE(cut.text().find("…") == std::string::npos) << cut.text();
  EXPECT_TRUE(cut.text().ends_with("E+22")) << cut.text();
  EXPECT_EQ(cut.size, 1) << "at the smallest size";
  EXPECT_LE(cut.width, 50);
}

// A face of one glyph, two pixels half covered side by side, one row above the baseline.
class HalfInk final : public GlyphSource {
 public:
  int sizeCount() const override { return 1; }
  bool smoothed(int) const override { return true; }
  const Glyph& glyph(int, std::string_view) override { return glyph_; }

 private:
  Glyph glyph_ = makeGlyph(3, 0, -1, 2, 1, {128, 128});
};

TEST(ResultLayout, AGlyphsInkIsWhatItCoversAQuarterAndALineLaysGlyphsAndShapesOverEachOther) {
  // Covered 63 of 255 is not ink, 64 is; the ink's box is from the origin on the baseline.
  const Glyph g = makeGlyph(5, 1, -3, 3, 3, {0, 63, 0, 64, 255, 0, 0, 0, 0});
  EXPECT_EQ(std::vector<int>({g.ink.advance, g.ink.left, g.ink.right, g.ink.top, g.ink.bottom}),
            std::vector<int>({5, 1, 3, -2, -1}));
  EXPECT_EQ(makeGlyph(4, 0, 0, 2, 1, {63, 0}).ink.right, 0) << "nothing a quarter covered";

  HalfInk face;
  // Two glyphs overlapping a column, a shape, and a glyph that falls past the canvas's end.
  ResultLine line{0, {{"a", 0, {}}, {"b", 1, {}}, {".", 3, {{0, 0, 1, 1}}}, {"c", 4, {}}}, 6};
  const std::vector<std::uint8_t> covered = coverLine(line, face, 5, 2, 0, 1);
  EXPECT_EQ(covered, (std::vector<std::uint8_t>{128, 192, 128, 0, 128, 0, 0, 0, 255, 0}));
}

}  // namespace
}  // namespace kalvena::ui::test
