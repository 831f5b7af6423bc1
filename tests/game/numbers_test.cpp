#include "game/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
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
    const auto back = ParseSingle(row[1]);
    EXPECT_EQ(back ? std::optional(test::Bits(*back)) : std::nullopt, test::Bits(f)) << row[1];
  }
  // Never an exponent, nor a minus on zero.
  for (const auto& [f, text] : {std::pair{25.0f, " 25"}, {-0.0f, " 0"}, {1e20f, " 100000000000000000000"},
                                {1e-7f, " .0000001"}, {-6.283184f, "-6.283184"}})
    EXPECT_EQ(Str(f), text);
  EXPECT_EQ(StrTrim(0.05f), ".05");
}

TEST(Val, LeadingNumberOnlyAndStrictWholeLinesReadAsTheCLibraryReadsThem) {
  // An exponent without digits is not part of the number.
  for (const auto& [text, value] : {std::pair{"\t -.5xyz", -0.5}, {"1.5D2", 150.0}, {"2e", 2.0}, {"abc", 0.0}})
    EXPECT_EQ(Val(text), value) << text;
  EXPECT_EQ(ParseNumber(" 255 "), 255);
  for (const char* bad : {"", "  ", "12abc", "nan", "inf", "1e999", "1 2"}) EXPECT_FALSE(ParseNumber(bad)) << bad;
  // Saved numbers are read in place: every spelling gives the C library's bits, at the ends of the ranges too.
  std::vector<std::string> texts = {"0", "-0", ".5", "5.", "+7", "1D3", "-2.5d-2", "1e-45", "1e-46", "7e-46",
                                    "1e-50", "3.4028235e38", "3.4028236e38", "1e39", "1e-320", "1.7976931348623157e308",
                                    "2e308", "00012.5000", "1E+5"};
  std::mt19937_64 rng(11);
  char buf[64];
  for (int i = 0; i < 20000; ++i) {
    const double d = std::bit_cast<double>(rng());
    const float f = static_cast<float>(d);
    if (!std::isfinite(d)) continue;
    std::snprintf(buf, sizeof buf, i % 3 == 0 ? "%.17g" : i % 3 == 1 ? "%.9g" : "%.6e", i % 2 ? d : double(f));
    texts.push_back(buf);
    if (std::isfinite(f)) texts.push_back(Str(f));
  }
  for (const std::string& t : texts) {
    std::string c = t;
    std::replace_if(c.begin(), c.end(), [](char ch) { return ch == 'd' || ch == 'D'; }, 'E');
    const double d = std::strtod(c.c_str(), nullptr);
    const float f = std::strtof(c.c_str(), nullptr);
    const std::optional<double> pd = ParseNumber(" " + t);
    const std::optional<float> pf = ParseSingle(t + " ");
    using std::bit_cast;  // bits, or nullopt for what is refused
    ASSERT_EQ(pd ? std::optional(bit_cast<uint64_t>(*pd)) : std::nullopt,
              std::isfinite(d) ? std::optional(bit_cast<uint64_t>(d)) : std::nullopt) << t;
    ASSERT_EQ(pf ? std::optional(test::Bits(*pf)) : std::nullopt,
              std::isfinite(f) ? std::optional(test::Bits(f)) : std::nullopt) << t;
  }
}

TEST(Format, FixedPatternsRoundHalfAwayFromZero) {
  const std::tuple<double, bool, const char*, const char*> cases[] = {  // value, stored as float, pattern, text
      {7.26, true, "000.0", "007.3"},     {7.25, true, "000.0", "007.3"},        {-7.25, true, "000.0", "-007.3"},
      {1234.56, true, "000.0", "1234.6"}, {0.125, false, "0.00", "0.13"},        {-0.004, false, "0.00", "0.00"},
      {9.999, false, "0.00", "10.00"},    {1.005, true, "0.00", "1.01"},         {2.5, false, "0", "3"},
      {7, false, "00", "07"},             {6.716813, false, "00.000", "06.717"}, {0.1585, true, "0.000", "0.159"}};
  for (const auto& [value, single, pattern, text] : cases)
    EXPECT_EQ(single ? Format(static_cast<float>(value), pattern) : Format(value, pattern), text) << value << pattern;
}

TEST(RoundHalfEven, ToIntegerFieldsWithinTheirRangeOrAtItsEnds) {
  using V = std::vector<long long>;
  auto even = [](double x) { return RoundHalfEven(x, 0, 255).value_or(-1); };
  EXPECT_EQ(V({even(2.5), even(3.5), even(-0.4), even(255.5), static_cast<long long>(Int(-0.5))}), V({2, 4, 0, -1, -1}));  // 255.5 to 256
  EXPECT_EQ(V({RoundHalfEvenUnchecked(1e30), RoundHalfEvenUnchecked(-1e30), RoundHalfEvenUnchecked(NAN)}),
            V({INT64_MAX, INT64_MIN, INT64_MIN}));
  EXPECT_EQ(V({RoundHalfEvenClamped(2.5, 0, 10), RoundHalfEvenClamped(-3e38, -32768, 32767),
               RoundHalfEvenClamped(32767.4, -32768, 32767)}),
            V({2, -32768, 32767}));
}

TEST(GameClock, YearDriftsAndTurnNumberAbsorbsItUntilTurn421) {
  float year = 1.0f;
  int firstWrong = 0;
  for (int turn = 1; turn <= 1000 && !firstWrong; ++turn) {
    year = Sng(year + 0.05);
    if (turn == 4) {
      EXPECT_EQ(Str(year) + " " + Format(ShownYear(year), "0.00"), " 1.1999998 1.20");
    }
    if (TurnNumber(year) != turn) firstWrong = turn;
  }
  EXPECT_EQ(firstWrong, 421);
}

}  // namespace
}  // namespace valkoran
