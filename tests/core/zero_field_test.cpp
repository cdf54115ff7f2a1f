// A section is computed only when none of its fields is 0: each of the seven fields, when 0,
// skips its own section and no other, in either calculation.
#include <gtest/gtest.h>

#include <set>

#include "second_order.h"
#include "third_order.h"

namespace kalvena {
namespace {

struct FieldCase {
  const char* name;
  double InputValues::*field;
  Section section;
};

const FieldCase kFields[] = {
    {"LowFc", &InputValues::LowFc, Section::Low},
    {"LowR", &InputValues::LowR, Section::Low},
    {"MidFc1", &InputValues::MidFc1, Section::Middle},
    {"MidFc2", &InputValues::MidFc2, Section::Middle},
    {"MidR", &InputValues::MidR, Section::Middle},
    {"HighFc", &InputValues::HighFc, Section::High},
    {"HighR", &InputValues::HighR, Section::High},
};

// The sections of which the calculation wrote anything.
template <class Calculate>
std::set<Section> writtenSections(const Calculate& calculate, const InputValues& v) {
  std::set<Section> written;
  calculate(v, [&](auto element, Unit, Checked) {
    const auto e = static_cast<int>(element);
    written.insert(e < calculate.lowCount    ? Section::Low
                   : e < calculate.middleEnd ? Section::Middle
                                             : Section::High);
  });
  return written;
}

struct SecondOrder {
  int lowCount = 2, middleEnd = 6;
  template <class W>
  void operator()(const InputValues& v, W&& w) const {
    calculateSecondOrder(v, w);
  }
};
struct ThirdOrder {
  int lowCount = 3, middleEnd = 9;
  template <class W>
  void operator()(const InputValues& v, W&& w) const {
    calculateThirdOrder(v, w);
  }
};

class ZeroFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(ZeroFieldTest, SkipsExactlyItsOwnSection) {
  InputValues v{1000, 8, 400, 4000, 8, 4000, 8};
  v.*GetParam().field = 0;
  std::set<Section> expected = {Section::Low, Section::Middle, Section::High};
  expected.erase(GetParam().section);
  EXPECT_EQ(writtenSections(SecondOrder{}, v), expected) << "12 dB/oct, " << GetParam().name;
  EXPECT_EQ(writtenSections(ThirdOrder{}, v), expected) << "18 dB/oct, " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Fields, ZeroFieldTest, testing::ValuesIn(kFields),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kalvena
