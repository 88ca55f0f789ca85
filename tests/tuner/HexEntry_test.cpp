#include "tuner/HexEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(HexEntry, TwoDigitHexReadingAndBitPatterns) {
  struct Hex2Case {
    long n;
    std::string text;
  } hex2[] = {{0, "00"}, {5, "05"}, {15, "0F"}, {16, "10"}, {0x3F, "3F"}, {0xFF, "FF"},
              {0x1FF, "1FF"}};
  for (const auto& c : hex2) EXPECT_EQ(Hex2(c.n), c.text);

  struct ValueCase {
    std::string text;
    long value;
  } values[] = {{"A5", 0xA5}, {"a5", 0xA5}, {"0a", 0x0A}, {"1g", 1},  {"", 0},
                {"zz", 0},    {" 1", 0},    {"26", 0x26}, {"100", 0x100},
                {"FFFFFFFFFFFFFFFF", 0x7FFFFFF}};
  for (const auto& c : values) EXPECT_EQ(HexValue(c.text), c.value) << c.text;

  struct BitsCase {
    uint8_t value;
    std::string bits;
  } patterns[] = {{0xA5, "10100101"}, {0x00, "00000000"}, {0x80, "10000000"}, {0x01, "00000001"}};
  for (const auto& c : patterns) EXPECT_EQ(BitPattern(c.value), c.bits);
}

}  // namespace
