// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/HexEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(HexEntry, TwoDigitHexAndHexReading) {
  struct Hex2Case {
    long n;
    std::string text;
  } hex2[] = {{0, "00"}, {15, "0F"}, {16, "10"}, {0x1FF, "1FF"}};
  for (const auto& c : hex2) EXPECT_EQ(Hex2(c.n), c.text);
  struct ValueCase {
    std::string text;
    long value;
  } values[] = {
      {"aF", 0xAF}, {"1g", 1}, {"", 0}, {" 1", 0}, {"100", 0x100}, {"FFFFFFFFFFFFFFFF", 0x7FFFFFF},
  };
  for (const auto& c : values) EXPECT_EQ(HexValue(c.text), c.value) << c.text;
}

}  // namespace
