#include "form2.h"

#include <gtest/gtest.h>

#include <map>

#include "form1.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

class Form2Test : public testing::Test {
 protected:
  void SetUp() override {
    shell.start();
    click(*shell.existingForm1(), "Command2");
    settle();
  }

  Form2& form() { return *shell.existingForm2(); }
  QString text(const char* name) { return box(form(), name)->text(); }

  Shell shell;
};

TEST_F(Form2Test, EachInputBoxFeedsItsOwnField) {
  const std::vector<std::pair<const char*, double InputValues::*>> boxFields = {
      {"Text1", &InputValues::LowFc},  {"Text2", &InputValues::LowR},
      {"Text6", &InputValues::MidFc1}, {"Text7", &InputValues::MidFc2},
      {"Text8", &InputValues::MidR},   {"Text15", &InputValues::HighFc},
      {"Text16", &InputValues::HighR}};
  double next = 3;
  for (const auto& [name, field] : boxFields) {
    type(form(), name, QString::number(next));
    EXPECT_EQ(form().values().*field, next) << name;
    next += 3;
  }
  EXPECT_EQ(fields(form().values()), (std::vector<double>{3, 6, 9, 12, 15, 18, 21}));
}

TEST_F(Form2Test, ANonDigitEmptiesTheBoxAndShowsTheMessage) {
  type(form(), "Text8", QStringLiteral("12"));
  const auto seen = answeringMessageBoxes([&] { type(form(), "Text8", QStringLiteral("x")); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, QStringLiteral("Моля въвеждайте само числа"));
  EXPECT_EQ(seen[0].title, QStringLiteral(" Error !!"));
  EXPECT_EQ(text("Text8"), QString());
  EXPECT_EQ(form().values().MidR, 0);
}

void typeAllSections(const Form2& f) {
  type(f, "Text1", QStringLiteral("1000"));
  type(f, "Text2", QStringLiteral("8"));
  type(f, "Text6", QStringLiteral("400"));
  type(f, "Text7", QStringLiteral("4000"));
  type(f, "Text8", QStringLiteral("8"));
  type(f, "Text15", QStringLiteral("4000"));
  type(f, "Text16", QStringLiteral("8"));
}

TEST_F(Form2Test, CalculateWritesAllTwelveResults) {
  typeAllSections(form());
  click(form(), "Command1");
  const std::map<const char*, QString> expected = {
      {"Text3", QStringLiteral("26.54")},  {"Text4", QStringLiteral("1.91")},
      {"Text5", QStringLiteral("0.64")},   {"Text9", QStringLiteral("33.17")},
      {"Text10", QStringLiteral("99.52")}, {"Text11", QStringLiteral("6.63")},
      {"Text12", QStringLiteral("0.48")},  {"Text13", QStringLiteral("0.16")},
      {"Text14", QStringLiteral("2.39")},  {"Text17", QStringLiteral("3.32")},
      {"Text18", QStringLiteral("9.95")},  {"Text19", QStringLiteral("0.24")}};
  for (const auto& [name, value] : expected) EXPECT_EQ(text(name), value) << name;
}

TEST_F(Form2Test, ASkippedSectionKeepsItsResultsWhileOthersAreWrittenAnew) {
  typeAllSections(form());
  click(form(), "Command1");
  replaceText(form(), "Text2", QString());  // low section now incomplete
  replaceText(form(), "Text15", QStringLiteral("1"));
  replaceText(form(), "Text16", QStringLiteral("1"));
  click(form(), "Command1");
  EXPECT_EQ(text("Text3"), QStringLiteral("26.54")) << "kept";
  EXPECT_EQ(text("Text5"), QStringLiteral("0.64")) << "kept";
  EXPECT_EQ(text("Text17"), QStringLiteral("106157.11")) << "written anew";
  EXPECT_EQ(text("Text19"), QStringLiteral("119.43")) << "written anew";
}

TEST_F(Form2Test, AnAllZeroWindowWritesNothing) {
  click(form(), "Command1");
  for (const char* name : {"Text3", "Text9", "Text14", "Text17", "Text19"}) {
    EXPECT_EQ(text(name), QString()) << name;
  }
}

TEST_F(Form2Test, ClearEmptiesAllNineteenBoxes) {
  typeAllSections(form());
  click(form(), "Command1");
  click(form(), "Command2");
  for (int i = 1; i <= 19; ++i) {
    const QByteArray name = "Text" + QByteArray::number(i);
    EXPECT_EQ(text(name.constData()), QString()) << name.constData();
  }
  EXPECT_EQ(fields(form().values()), kAllZero);
}

}  // namespace
}  // namespace kalvena::ui::test
