#include "form1.h"

#include <gtest/gtest.h>

#include <map>

#include "boxes.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

class Form1Test : public testing::Test {
 protected:
  void SetUp() override { shell.start(); }

  Form1& form() { return *shell.existingForm1(); }
  QString text(const char* name) { return box(form(), name)->text(); }

  Shell shell;
};

TEST_F(Form1Test, EveryKeystrokeStoresTheWholeText) {
  std::vector<double> stored;
  for (const QChar c : QStringLiteral("1000")) {
    QTest::keyClick(box(form(), "Text1"), c.toLatin1());
    stored.push_back(form().values().LowFc);
  }
  EXPECT_EQ(stored, (std::vector<double>{1, 10, 100, 1000}));
}

TEST_F(Form1Test, EachInputBoxFeedsItsOwnField) {
  const std::vector<std::pair<const char*, double InputValues::*>> boxFields = {
      {"Text1", &InputValues::LowFc},  {"Text2", &InputValues::LowR},
      {"Text9", &InputValues::MidFc1}, {"Text10", &InputValues::MidFc2},
      {"Text11", &InputValues::MidR},  {"Text12", &InputValues::HighFc},
      {"Text13", &InputValues::HighR}};
  double next = 11;
  for (const auto& [name, field] : boxFields) {
    const InputValues before = form().values();
    type(form(), name, QString::number(next));
    InputValues expected = before;
    expected.*field = next;
    EXPECT_EQ(form().values().*field, next) << name;
    for (const auto& [otherName, other] : boxFields) {
      EXPECT_EQ(form().values().*other, expected.*other) << name << " touched " << otherName;
    }
    next += 11;
  }
}

TEST_F(Form1Test, ANonDigitEmptiesTheBoxAndShowsTheMessage) {
  type(form(), "Text1", QStringLiteral("12"));
  const auto seen = answeringMessageBoxes([&] { type(form(), "Text1", QStringLiteral("a")); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, QStringLiteral("Моля въвеждайте само числа"));
  EXPECT_EQ(seen[0].title, QStringLiteral(" Error !!"));
  EXPECT_EQ(seen[0].icon, QMessageBox::Information);
  EXPECT_EQ(seen[0].buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
  EXPECT_EQ(text("Text1"), QString());
  EXPECT_EQ(form().values().LowFc, 0) << "an emptied box stores 0";
}

TEST_F(Form1Test, RejectedTextsOfEveryKind) {
  const QString rejected[] = {
      QStringLiteral("-5"),  QStringLiteral("2.5"),      QStringLiteral("2,5"),
      QStringLiteral("1 2"), QStringLiteral("１２"),     QStringLiteral("١٢"),
      QStringLiteral("²"),   QStringLiteral("1\u00A02"), QStringLiteral("1\U0001F600"),
      QString(400, u'9'),  // beyond the largest double
  };
  for (const QString& t : rejected) {
    type(form(), "Text2", QStringLiteral("8"));
    const auto seen = answeringMessageBoxes([&] { replaceText(form(), "Text2", t); });
    EXPECT_EQ(seen.size(), 1u) << t.toStdString();
    EXPECT_EQ(text("Text2"), QString()) << t.toStdString();
    EXPECT_EQ(form().values().LowR, 0) << t.toStdString();
  }
}

TEST_F(Form1Test, AMaximumLengthDigitTextIsAccepted) {
  const QString digits = QString(32766, u'0') + u'5';
  const auto seen = answeringMessageBoxes([&] { replaceText(form(), "Text12", digits); });
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(text("Text12"), digits);
  EXPECT_EQ(form().values().HighFc, 5);
}

const std::map<const char*, QString> kAllSectionsExpected = {
    {"Text3", QStringLiteral("14.07")}, {"Text4", QStringLiteral("1.8")},
    {"Text5", QStringLiteral("35.19")}, {"Text6", QStringLiteral("3.52")},
    {"Text7", QStringLiteral("0.45")},  {"Text8", QStringLiteral("4.5")},
    {"Text14", QStringLiteral("3.52")}, {"Text15", QStringLiteral("0.45")}};

void typeAllSections(const Form1& f) {
  type(f, "Text1", QStringLiteral("1000"));
  type(f, "Text2", QStringLiteral("8"));
  type(f, "Text9", QStringLiteral("400"));
  type(f, "Text10", QStringLiteral("4000"));
  type(f, "Text11", QStringLiteral("8"));
  type(f, "Text12", QStringLiteral("4000"));
  type(f, "Text13", QStringLiteral("8"));
}

TEST_F(Form1Test, CalculateWritesEverySection) {
  typeAllSections(form());
  click(form(), "Command1");
  for (const auto& [name, expected] : kAllSectionsExpected) EXPECT_EQ(text(name), expected) << name;
}

TEST_F(Form1Test, AZeroFieldKeepsItsSectionsEarlierResults) {
  typeAllSections(form());
  click(form(), "Command1");
  replaceText(form(), "Text13", QStringLiteral("0"));
  replaceText(form(), "Text1", QStringLiteral("1"));
  replaceText(form(), "Text2", QStringLiteral("1"));
  click(form(), "Command1");
  EXPECT_EQ(text("Text3"), QStringLiteral("112596.62")) << "written anew";
  EXPECT_EQ(text("Text4"), QStringLiteral("225.19")) << "written anew";
  EXPECT_EQ(text("Text14"), QStringLiteral("3.52")) << "kept";
  EXPECT_EQ(text("Text15"), QStringLiteral("0.45")) << "kept";
}

TEST_F(Form1Test, ABoxEmptiedByHandNoLongerFeedsTheCalculation) {
  type(form(), "Text1", QStringLiteral("120"));
  type(form(), "Text2", QStringLiteral("8"));
  click(form(), "Command1");
  const QString at120 = text("Text3");
  std::vector<double> stored;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(box(form(), "Text1"), Qt::Key_Backspace);
    stored.push_back(form().values().LowFc);
  }
  EXPECT_EQ(stored, (std::vector<double>{12, 1, 0}));
  click(form(), "Command1");
  EXPECT_EQ(text("Text3"), at120) << "the section is incomplete and skipped, not computed at 1 Hz";
}

TEST_F(Form1Test, ClearEmptiesEveryBoxAndZeroesEveryField) {
  typeAllSections(form());
  click(form(), "Command1");
  const auto seen = answeringMessageBoxes([&] { click(form(), "Command4"); });
  EXPECT_TRUE(seen.empty());
  for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8",
                           "Text9", "Text10", "Text11", "Text12", "Text13", "Text14", "Text15"}) {
    EXPECT_EQ(text(name), QString()) << name;
  }
  EXPECT_EQ(fields(form().values()), kAllZero);
  click(form(), "Command1");
  EXPECT_EQ(text("Text3"), QString()) << "nothing to compute after clearing";
}

TEST_F(Form1Test, ResultBoxesAreOutputOnly) {
  typeAllSections(form());
  const InputValues before = form().values();
  QTest::keyClicks(box(form(), "Text3"), QStringLiteral("99"));
  EXPECT_EQ(text("Text3"), QString()) << "read-only";
  click(form(), "Command1");
  EXPECT_EQ(form().values().LowFc, before.LowFc);
  EXPECT_EQ(text("Text3"), QStringLiteral("14.07"));
}

TEST_F(Form1Test, AnOverflowingResultShowsTheMarker) {
  type(form(), "Text12", QStringLiteral("1"));
  replaceText(form(), "Text13", QString(306, u'9'));  // about 1e306 ohm
  click(form(), "Command1");
  EXPECT_EQ(text("Text14"), QStringLiteral("0"));
  EXPECT_EQ(text("Text15"), QString::fromUtf8(kOutOfRangeMarker));
}

}  // namespace
}  // namespace kalvena::ui::test
