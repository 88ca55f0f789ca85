#include "tuner/RegisterSnapshots.h"

#include <gtest/gtest.h>

#include "tuner/HexEntry.h"

namespace {

tda18271::Image ImageWith(int r, uint8_t v, int r2 = 0, uint8_t v2 = 0) {
  tda18271::Image image{};
  image[r] = v;
  image[r2] = v2;
  return image;
}

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

TEST(RegisterSnapshots, DifferenceListAppearsOnlyForARealDifference) {
  tda18271::Image reference = ImageWith(0x02, 0x85), moved = ImageWith(0x02, 0x8A);
  struct Case {
    std::vector<tda18271::Image> takes;  // alternately pane 0 and pane 1
    size_t lines;
    bool visible;
    std::string line2;
  } cases[] = {
      {{reference}, 0, false, ""},
      {{reference, reference}, 39, false, ""},
      {{reference, moved}, 39, true, "85 --> 8A"},
      {{reference, moved, moved}, 39, true, ""},  // no difference left, the list stays up
  };
  for (size_t n = 0; n < std::size(cases); ++n) {
    const auto& c = cases[n];
    RegisterSnapshots s;
    for (size_t i = 0; i < c.takes.size(); ++i) s.Take(int(i % 2), c.takes[i], 2);
    ASSERT_EQ(s.differences().size(), c.lines) << "case " << n;
    EXPECT_EQ(s.differencesVisible(), c.visible) << "case " << n;
    for (size_t i = 0; i < c.lines; ++i)
      EXPECT_EQ(s.differences()[i], i == 2 ? c.line2 : "") << "case " << n << " line " << i;
  }
}

// Only a full list follows the selected register; each pane shows its own pattern.
TEST(RegisterSnapshots, SelectionAndBitPatterns) {
  RegisterSnapshots s;
  s.Take(0, ImageWith(0x02, 0x85, 0x07, 0xA5), 2);
  EXPECT_EQ(s.pane(0).bits, "10000101");
  EXPECT_FALSE(s.pane(1).visible || s.pane(1).bitsVisible);
  s.Follow(7);
  EXPECT_EQ(s.pane(0).selected, 7);
  EXPECT_EQ(s.pane(1).selected, RegisterSnapshots::kNone);
  EXPECT_EQ(s.pane(0).bits, "10100101");
  s.Take(1, ImageWith(0x02, 0x8A, 0x07, 0x25), 7);
  EXPECT_EQ(s.pane(1).bits, "00100101");
  EXPECT_EQ(s.differenceSelected(), 7);
  s.PickLine(1, 2);
  EXPECT_EQ(s.pane(0).selected, 2);
  EXPECT_EQ(s.differenceSelected(), 2);
  EXPECT_EQ(s.pane(1).bits, "10001010");
  s.PickLine(1, 39);  // no such line
  EXPECT_EQ(s.pane(1).selected, 2);
}

}  // namespace
