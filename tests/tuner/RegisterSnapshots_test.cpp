#include "tuner/RegisterSnapshots.h"

#include <gtest/gtest.h>

#include "tuner/TunerFakes.h"

namespace {

TEST(RegisterSnapshots, LineFormats) {
  EXPECT_EQ(RegisterSnapshots::SnapshotLine(3, 0xA5), "03 A5");
  EXPECT_EQ(RegisterSnapshots::SnapshotLine(0x26, 0x00), "26 00");
  EXPECT_EQ(RegisterSnapshots::DifferenceLine(0xA5, 0x25), "A5 --> 25");
  EXPECT_EQ(RegisterSnapshots::DifferenceLine(0x07, 0x07), "");
}

TEST(RegisterSnapshots, DifferenceListAppearsOnlyForARealDifference) {
  tda18271::Image reference = ImageWith({{0x02, 0x85}});
  tda18271::Image moved = ImageWith({{0x02, 0x8A}});
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

TEST(RegisterSnapshots, SelectionAndBitPatterns) {
  RegisterSnapshots s;
  s.Take(0, ImageWith({{0x02, 0x85}, {0x07, 0xA5}}), 2);
  EXPECT_EQ(s.pane(0).lines[7], "07 A5");
  EXPECT_TRUE(s.pane(0).visible);
  EXPECT_FALSE(s.pane(1).visible);
  EXPECT_EQ(s.pane(0).bits, "10000101");
  EXPECT_FALSE(s.pane(1).bitsVisible);
  s.Follow(7);  // only the full list follows
  EXPECT_EQ(s.pane(0).selected, 7);
  EXPECT_EQ(s.pane(1).selected, RegisterSnapshots::kNone);
  EXPECT_EQ(s.pane(0).bits, "10100101");

  s.Take(1, ImageWith({{0x02, 0x8A}, {0x07, 0x25}}), 7);
  EXPECT_EQ(s.pane(1).bits, "00100101");
  EXPECT_EQ(s.differenceSelected(), 7);
  s.PickDifferenceLine(2);  // pane 0's pattern of register 2, and pane 1 follows
  EXPECT_EQ(s.pane(0).bits, "10000101");
  EXPECT_EQ(s.pane(1).bits, "10001010");
  EXPECT_EQ(s.pane(1).selected, 2);
  s.PickLine(1, 7);
  EXPECT_EQ(s.pane(0).selected, 7);
  EXPECT_EQ(s.differenceSelected(), 7);
  EXPECT_EQ(s.pane(1).bits, "00100101");
  s.PickLine(1, 39);  // no such line
  EXPECT_EQ(s.pane(1).selected, 7);
}

}  // namespace
