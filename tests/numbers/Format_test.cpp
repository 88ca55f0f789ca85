// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/Format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/CommaLocale.h"

namespace {

// Computed anew in each locale: no text or parse may follow the user's point.
void ExpectTextsAndRounding() {
  // SingleSignedText: a sign place, no leading zero, seven significant digits.
  const std::pair<std::string, std::string> texts[] = {
      // clang-format off
      {Hex(0), "0"}, {Hex(0x1A2C), "1A2C"}, {Hex(-1), "FFFF"}, {Hex(-32768), "8000"},
      {Hex(-32769), "FFFF7FFF"}, {Hex(-65536), "FFFF0000"}, {Hex(65535), "FFFF"},
      {HexOf(2.5), "2"}, {HexOf(3.5), "4"},
      {SingleText(25.3f), "25.3"}, {SingleText(-0.0f), "0"}, {SingleText(25.0f), "25"},
      {SingleText(-1.5f), "-1.5"}, {NumberText(-3.25), "-3.25"}, {NumberText(65536), "65536"},
      {NumberText(16.674995), "16.674995"}, {NumberText(1e15), "1E+15"}, {SignedText(0), " 0"},
      {SignedText(-5), "-5"}, {SignedText(0.25), " 0.25"}, {SingleSignedText(0), " 0"},
      {SingleSignedText(0.25f), " .25"}, {SingleSignedText(-0.03607571f), "-.03607571"},
      {SingleSignedText(-336.25f), "-336.25"}, {SingleSignedText(1.0f / 3), " .3333333"},
      {SingleSignedText(10759.998717f), " 10760"}, {Scientific(2 / 12933.0), "1.55E-04"},
      {Scientific(0), "0.00E+00"}, {Scientific(-1.0 / 65535), "-1.53E-05"},
      {Scientific(38799 / 38799.0), "1.00E+00"}, {Scientific(1.0 / 0.0), "n/a"},
      {SingleText(-1.0f / 0.0f), "n/a"}, {NumberText(std::nan("")), "n/a"},
      {SignedText(1.0 / 0.0), "n/a"}, {HexOf(-1.0 / 0.0), "n/a"}};
  // clang-format on
  for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
  const std::pair<double, double> numbers[] = {
      // clang-format off
      {RoundHalfEven(0.5), 0}, {RoundHalfEven(1.5), 2}, {RoundHalfEven(2.5), 2},
      {RoundHalfEven(-0.5), 0}, {RoundHalfEven(-1.5), -2}, {RoundHalfEven(2.4999), 2},
      {RoundHalfEven(2.5001), 3}, {RoundTenth(25.25), 25.2f}, {RoundTenth(25.35), 25.4f},
      {RoundTenth(-3.05), -3.0f}, {ToInt16(752.5), 752}, {ToInt16(753.5), 754},
      {ToInt16(1e9), 32767}, {ToInt16(-1e9), -32768}, {ParseDecimal("1.5"), 1.5},
      {ParseDecimal(" -0.25"), -0.25}, {ParseDecimal("+2.5e1"), 25},
      {ParseDecimal("21.07 dB"), 21.07}, {ParseDecimal("1,5"), 1}, {ParseDecimal("abc"), 0},
      {ParseDecimal(""), 0}, {ParseDecimal("1e999"), 0}, {WholeNumber("999999"), 999999},
      {WholeNumber("1000000"), -1}};
  // clang-format on
  for (size_t i = 0; i < std::size(numbers); ++i)
    EXPECT_EQ(numbers[i].first, numbers[i].second) << "row " << i;
}

using FormatUnderCommaLocale = CommaLocale;
TEST_F(FormatUnderCommaLocale, TextsAndRounding) { ExpectTextsAndRounding(); }

}  // namespace
