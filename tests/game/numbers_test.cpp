#include "game/numbers.h"

#include <gtest/gtest.h>

#include "support/vectors.h"

namespace valkoran {
namespace {

using test::FromBits;

TEST(Str, MatchesIndependentVectors) {
  auto rows = test::ReadTsv("str.tsv");
  ASSERT_GT(rows.size(), 400u);
  for (const auto& row : rows) {
    ASSERT_GE(row.size(), 2u);
    float f = FromBits(static_cast<uint32_t>(std::stoul(row[0], nullptr, 16)));
    EXPECT_EQ(Str(f), row[1]) << "bits " << row[0];
  }
}

TEST(Str, GameTextsAsPlayersReadThem) {
  EXPECT_EQ(Str(25), " 25");
  EXPECT_EQ(Str(0.05f), " .05");
  EXPECT_EQ(Str(-0.5f), "-.5");
  EXPECT_EQ(Str(30.0f), " 30");
  EXPECT_EQ(Str(0.0f), " 0");
  EXPECT_EQ(Str(-0.0f), " 0");
  EXPECT_EQ(Str(255), " 255");
  EXPECT_EQ(Str(1.1999998f), " 1.1999998");
  // No exponent, however large or small.
  EXPECT_EQ(Str(1e20f), " 100000000000000000000");
  EXPECT_EQ(Str(1e-7f), " .0000001");
  EXPECT_EQ(StrTrim(10000.0f), "10000");
  EXPECT_EQ(StrTrim(-6.283184f), "-6.283184");
}

TEST(Val, TakesTheLeadingNumber) {
  EXPECT_EQ(Val(" 7"), 7);
  EXPECT_EQ(Val("7"), 7);
  EXPECT_EQ(Val("\t -.5xyz"), -0.5);
  EXPECT_EQ(Val("1.5E2"), 150);
  EXPECT_EQ(Val("1.5D2"), 150);
  EXPECT_EQ(Val("2e"), 2);  // an exponent without digits is not part of the number
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("007.3"), 7.3);
  EXPECT_EQ(Val("."), 0);
}

TEST(ParseNumber, WholeLineOnly) {
  EXPECT_EQ(ParseNumber(" 255"), 255);
  EXPECT_EQ(ParseNumber("255 "), 255);
  EXPECT_EQ(ParseNumber("-3.25e1"), -32.5);
  EXPECT_FALSE(ParseNumber(""));
  EXPECT_FALSE(ParseNumber("  "));
  EXPECT_FALSE(ParseNumber("12abc"));
  EXPECT_FALSE(ParseNumber("nan"));
  EXPECT_FALSE(ParseNumber("inf"));
  EXPECT_FALSE(ParseNumber("1e999"));
  EXPECT_FALSE(ParseNumber("1 2"));
}

TEST(ParseSingle, ReadsStrBackToTheSameBits) {
  for (const auto& row : test::ReadTsv("str.tsv")) {
    float f = FromBits(static_cast<uint32_t>(std::stoul(row[0], nullptr, 16)));
    auto back = ParseSingle(row[1]);
    ASSERT_TRUE(back) << row[1];
    EXPECT_EQ(test::Bits(*back), test::Bits(f)) << row[1];
  }
}

TEST(Format, FixedPatternsRoundHalfAwayFromZero) {
  EXPECT_EQ(Format(7.26f, "000.0"), "007.3");
  EXPECT_EQ(Format(7.25f, "000.0"), "007.3");
  EXPECT_EQ(Format(-7.25f, "000.0"), "-007.3");
  EXPECT_EQ(Format(5.0f, "000.0"), "005.0");
  EXPECT_EQ(Format(1234.56f, "000.0"), "1234.6");
  EXPECT_EQ(Format(1.05, "0.00"), "1.05");
  EXPECT_EQ(Format(0.125, "0.00"), "0.13");
  EXPECT_EQ(Format(0.004, "0.00"), "0.00");
  EXPECT_EQ(Format(-0.004, "0.00"), "0.00");
  EXPECT_EQ(Format(9.999, "0.00"), "10.00");
  EXPECT_EQ(Format(1.005f, "0.00"), "1.01");  // rounds on the stored value's digits
  EXPECT_EQ(Format(3.0, "0"), "3");
  EXPECT_EQ(Format(2.5, "0"), "3");
  EXPECT_EQ(Format(7.0, "00"), "07");
  EXPECT_EQ(Format(7.0, "000"), "007");
  EXPECT_EQ(Format(0.1585f, "0.000"), "0.159");
  EXPECT_EQ(Format(6.716813, "00.000"), "06.717");
  EXPECT_EQ(Format(0.0, "00.000"), "00.000");
}

TEST(RoundHalfEven, ToIntegerFields) {
  EXPECT_EQ(RoundHalfEven(2.5, 0, 255), 2);
  EXPECT_EQ(RoundHalfEven(3.5, 0, 255), 4);
  EXPECT_EQ(RoundHalfEven(-2.5, -32768, 32767), -2);
  EXPECT_EQ(RoundHalfEven(255.4, 0, 255), 255);
  EXPECT_FALSE(RoundHalfEven(255.5, 0, 255));  // rounds to 256
  EXPECT_FALSE(RoundHalfEven(-0.6, 0, 255));
  EXPECT_EQ(RoundHalfEven(-0.4, 0, 255), 0);
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Int(2.99), 2);
}

TEST(GameClock, YearDriftsAndTurnNumberAbsorbsItUntilTurn421) {
  float year = 1.0f;
  for (int i = 0; i < 4; ++i) year = Sng(year + 0.05);
  EXPECT_EQ(Str(year), " 1.1999998");
  EXPECT_EQ(TurnNumber(year), 4);
  EXPECT_EQ(Format(ShownYear(year), "0.00"), "1.20");
  year = 1.0f;
  int firstWrong = 0;
  for (int turn = 1; turn <= 1000 && !firstWrong; ++turn) {
    year = Sng(year + 0.05);
    if (TurnNumber(year) != turn) firstWrong = turn;
  }
  EXPECT_EQ(firstWrong, 421);
}

}  // namespace
}  // namespace valkoran
