// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/Format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/CommaLocale.h"

namespace {

TEST(Format, RoundingHalvesGoToEven) {
  struct Case {
    double x, want;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.x), c.want) << c.x;
  EXPECT_FLOAT_EQ(RoundTenth(25.25), 25.2f);
  EXPECT_FLOAT_EQ(RoundTenth(25.35), 25.4f);
  EXPECT_FLOAT_EQ(RoundTenth(-3.05), -3.0f);
  EXPECT_EQ(ToInt16(752.5), 752);
  EXPECT_EQ(ToInt16(753.5), 754);
  EXPECT_EQ(ToInt16(1e9), 32767);
  EXPECT_EQ(ToInt16(-1e9), -32768);
}

TEST(Format, TextsOfNumbers) {
  struct Case {
    std::string got, want;
  } cases[] = {
      {Hex(0), "0"},
      {Hex(0x1A2C), "1A2C"},
      {Hex(-1), "FFFF"},
      {Hex(-32768), "8000"},
      {Hex(-65536), "FFFF0000"},
      {Hex(65535), "FFFF"},
      {HexOf(2.5), "2"},
      {HexOf(3.5), "4"},
      {SingleText(25.3f), "25.3"},
      {SingleText(0.0f), "0"},
      {SingleText(-0.0f), "0"},
      {SingleText(25.0f), "25"},
      {SingleText(-1.5f), "-1.5"},
      {SingleText(18.9f), "18.9"},
      {NumberText(-3.25), "-3.25"},
      {NumberText(65536), "65536"},
      {SignedText(5), " 5"},
      {SignedText(0), " 0"},
      {SignedText(-5), "-5"},
      // A sign place, no leading zero, seven significant digits.
      {SingleSignedText(0), " 0"},
      {SingleSignedText(0.25f), " .25"},
      {SingleSignedText(-0.0361f), "-.0361"},
      {SingleSignedText(-336.25f), "-336.25"},
      {SingleSignedText(1.0f / 3), " .3333333"},
      {SingleSignedText(10759.998717f), " 10760"},
      {Scientific(1.55e-4), "1.55E-04"},
      {Scientific(0), "0.00E+00"},
      {Scientific(-1.0 / 65535), "-1.53E-05"},
      {Scientific(123456), "1.23E+05"},
      {Scientific(1.0 / 0.0), "n/a"},
      {SingleText(-1.0f / 0.0f), "n/a"},
      {NumberText(std::nan("")), "n/a"},
      {SignedText(1.0 / 0.0), "n/a"},
      {HexOf(-1.0 / 0.0), "n/a"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].want) << i;
}

}  // namespace

namespace {

using FormatUnderCommaLocale = CommaLocale;

TEST_F(FormatUnderCommaLocale, NumbersKeepTheirPoint) {
  struct Case {
    std::string text, expected;
  } cases[] = {
      {Scientific(2 / 12933.0), "1.55E-04"},  // 1.5464E-04
      {Scientific(38799 / 38799.0), "1.00E+00"},
      {Scientific(-0.5), "-5.00E-01"},
      {SingleSignedText(-0.03607571f), "-.03607571"},
      {SingleSignedText(12.5f), " 12.5"},
      {SingleText(25.3f), "25.3"},
      {NumberText(-3.25), "-3.25"},
      {NumberText(16.674995), "16.674995"},
      {NumberText(1e20), "1E+20"},
      {SignedText(0.25), " 0.25"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST_F(FormatUnderCommaLocale, DecimalTextsReadWithAPoint) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {"1.5", 1.5}, {" -0.25", -0.25}, {"+2.5e1", 25}, {"21.07 dB", 21.07},
      {"1,5", 1},   {"abc", 0},        {"", 0},        {"1e999", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.expected) << c.text;
}

}  // namespace
