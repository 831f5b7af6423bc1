#include "game/numbers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "support/vectors.h"

namespace valkoran {
namespace {

TEST(Str, MatchesVectorsAndReadsBackToTheSameBits) {
  auto rows = test::ReadTsv("str.tsv");
  ASSERT_GT(rows.size(), 400u);
  for (const auto& row : rows) {
    const float f = test::FromBits(static_cast<uint32_t>(std::stoul(row[0], nullptr, 16)));
    EXPECT_EQ(Str(f), row[1]) << "bits " << row[0];
    auto back = ParseSingle(row[1]);
    ASSERT_TRUE(back) << row[1];
    EXPECT_EQ(test::Bits(*back), test::Bits(f)) << row[1];
  }
  EXPECT_EQ(Str(25), " 25");
  EXPECT_EQ(Str(-0.0f), " 0");
  EXPECT_EQ(Str(1e20f), " 100000000000000000000");  // never an exponent
  EXPECT_EQ(Str(1e-7f), " .0000001");
  EXPECT_EQ(StrTrim(-6.283184f), "-6.283184");
}

TEST(Val, LeadingNumberOnlyAndStrictWholeLines) {
  EXPECT_EQ(Val("\t -.5xyz"), -0.5);
  EXPECT_EQ(Val("1.5D2"), 150);
  EXPECT_EQ(Val("2e"), 2);  // an exponent without digits is not part of the number
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(ParseNumber(" 255 "), 255);
  for (const char* bad : {"", "  ", "12abc", "nan", "inf", "1e999", "1 2"}) EXPECT_FALSE(ParseNumber(bad)) << bad;
}

// Saved numbers are read in place for speed; every spelling must give the
// bits the C library gives, at the ends of the ranges too.
TEST(Val, WholeLinesReadAsTheCLibraryReadsThem) {
  std::mt19937_64 rng(11);
  std::vector<std::string> texts = {"0", "-0", ".5", "5.", "+7", "1D3", "-2.5d-2", "1e-45", "1e-46", "7e-46",
                                    "1e-50", "3.4028235e38", "3.4028236e38", "1e39", "1e-320", "1.7976931348623157e308",
                                    "2e308", "00012.5000", "1E+5"};
  char buf[64];
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    float f = static_cast<float>(d);
    if (!std::isfinite(d)) continue;
    std::snprintf(buf, sizeof buf, i % 3 == 0 ? "%.17g" : i % 3 == 1 ? "%.9g" : "%.6e", i % 2 ? d : double(f));
    texts.push_back(buf);
    if (std::isfinite(f)) texts.push_back(Str(f));
  }
  for (const std::string& t : texts) {
    std::string c = t;
    for (char& ch : c)
      if (ch == 'd' || ch == 'D') ch = 'E';
    const double d = std::strtod(c.c_str(), nullptr);
    const float f = std::strtof(c.c_str(), nullptr);
    const std::optional<double> pd = ParseNumber(" " + t);
    const std::optional<float> pf = ParseSingle(t + " ");
    ASSERT_EQ(pd.has_value(), std::isfinite(d)) << t;
    ASSERT_EQ(pf.has_value(), std::isfinite(f)) << t;
    if (pd) {
      ASSERT_EQ(std::memcmp(&*pd, &d, sizeof d), 0) << t;
    }
    if (pf) {
      ASSERT_EQ(std::memcmp(&*pf, &f, sizeof f), 0) << t;
    }
  }
}

TEST(Format, FixedPatternsRoundHalfAwayFromZero) {
  const struct {
    double value;
    bool single;
    const char* pattern;
    const char* text;
  } cases[] = {
      {7.26, true, "000.0", "007.3"}, {7.25, true, "000.0", "007.3"},  {-7.25, true, "000.0", "-007.3"},
      {1234.56, true, "000.0", "1234.6"}, {0.125, false, "0.00", "0.13"}, {-0.004, false, "0.00", "0.00"},
      {9.999, false, "0.00", "10.00"},  {1.005, true, "0.00", "1.01"},    {2.5, false, "0", "3"},
      {7, false, "00", "07"},           {6.716813, false, "00.000", "06.717"}, {0.1585, true, "0.000", "0.159"},
  };
  for (const auto& c : cases) {
    const std::string got = c.single ? Format(static_cast<float>(c.value), c.pattern) : Format(c.value, c.pattern);
    EXPECT_EQ(got, c.text) << c.value << " " << c.pattern;
  }
}

TEST(RoundHalfEven, ToIntegerFieldsWithTheirRange) {
  EXPECT_EQ(RoundHalfEven(2.5, 0, 255), 2);
  EXPECT_EQ(RoundHalfEven(3.5, 0, 255), 4);
  EXPECT_FALSE(RoundHalfEven(255.5, 0, 255));  // rounds to 256
  EXPECT_EQ(RoundHalfEven(-0.4, 0, 255), 0);
  EXPECT_EQ(Int(-0.5), -1);
}

TEST(GameClock, YearDriftsAndTurnNumberAbsorbsItUntilTurn421) {
  float year = 1.0f;
  int firstWrong = 0;
  for (int turn = 1; turn <= 1000 && !firstWrong; ++turn) {
    year = Sng(year + 0.05);
    if (turn == 4) {
      EXPECT_EQ(Str(year), " 1.1999998");
      EXPECT_EQ(Format(ShownYear(year), "0.00"), "1.20");
    }
    if (TurnNumber(year) != turn) firstWrong = turn;
  }
  EXPECT_EQ(firstWrong, 421);
}

}  // namespace
}  // namespace valkoran
