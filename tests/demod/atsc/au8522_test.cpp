// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/au8522.h"

#include <gtest/gtest.h>

#include "demod/ChipRig.h"
#include "monitor/Codes.h"

namespace {

// A probed driver at 0x8E with its mode read; later bus calls are recorded.
struct Chip : BoardRig<au8522> {
  explicit Chip(const Regs& regs) : BoardRig(OneChip("au8522", Json(regs))) {
    Probe();
    driver.OperatingMode();
    rec.calls.clear();
  }
};

// Error bytes up to `last` give the row's SNR in tenths of a dB.
struct Row {
  int32_t last, tenths;
};
const Row kVsb[] = {{1, 270},  {2, 250},  {3, 240},  {5, 230},  {7, 220},  {9, 210},
                    {12, 200}, {13, 195}, {15, 190}, {17, 185}, {19, 180}, {21, 175},
                    {24, 170}, {27, 165}, {31, 160}, {32, 158}, {33, 156}, {34, 154},
                    {36, 152}, {37, 150}, {39, 148}, {40, 146}, {41, 144}, {43, 142},
                    {44, 140}, {48, 135}, {50, 130}, {53, 125}, {56, 120}, {255, 115}};
const Row kQam64[] = {
    {16, 290},  {17, 288},  {18, 286},  {19, 284},  {20, 282},  {21, 281},  {22, 279},  {23, 277},
    {24, 275},  {25, 273},  {26, 271},  {27, 269},  {28, 268},  {29, 266},  {30, 264},  {31, 262},
    {32, 260},  {33, 259},  {34, 258},  {35, 256},  {36, 255},  {37, 254},  {38, 252},  {39, 251},
    {40, 250},  {41, 249},  {42, 248},  {43, 246},  {44, 245},  {45, 244},  {46, 242},  {47, 241},
    {48, 240},  {50, 239},  {51, 238},  {53, 237},  {54, 236},  {56, 235},  {57, 234},  {59, 233},
    {60, 232},  {62, 231},  {63, 230},  {65, 229},  {67, 228},  {68, 227},  {70, 226},  {71, 225},
    {73, 224},  {74, 223},  {76, 222},  {78, 221},  {80, 220},  {82, 219},  {85, 218},  {88, 217},
    {90, 216},  {92, 215},  {93, 214},  {94, 212},  {95, 211},  {97, 210},  {99, 209},  {101, 208},
    {102, 207}, {104, 206}, {107, 205}, {111, 204}, {114, 203}, {118, 202}, {122, 201}, {125, 200},
    {128, 199}, {130, 198}, {132, 197}, {255, 190}};
const Row kQam256[] = {
    {17, 400}, {18, 398}, {19, 396}, {20, 394}, {21, 392}, {22, 390}, {23, 388}, {24, 386},
    {25, 384}, {26, 382}, {27, 380}, {28, 379}, {29, 378}, {30, 377}, {31, 376}, {32, 375},
    {33, 374}, {34, 373}, {35, 372}, {36, 371}, {37, 370}, {38, 362}, {39, 354}, {40, 346},
    {41, 338}, {42, 330}, {43, 328}, {44, 326}, {45, 324}, {46, 322}, {47, 320}, {48, 319},
    {49, 318}, {50, 317}, {51, 316}, {52, 315}, {53, 314}, {54, 313}, {55, 312}, {56, 311},
    {57, 310}, {58, 308}, {59, 306}, {60, 304}, {61, 302}, {62, 300}, {63, 298}, {65, 295},
    {68, 294}, {70, 293}, {73, 292}, {76, 291}, {78, 290}, {79, 289}, {81, 288}, {82, 287},
    {83, 286}, {84, 285}, {85, 284}, {86, 283}, {88, 282}, {89, 281}, {255, 280}};

TEST(au8522, SnrTablesAtEveryRowBoundaryAndPastTheirEnds) {
  struct Table {
    int16_t mode;
    const Row* rows;
    size_t count;
  } tables[] = {
      {Mode::Vsb8, kVsb, std::size(kVsb)},
      {Mode::Qam64, kQam64, std::size(kQam64)},
      {Mode::Qam256, kQam256, std::size(kQam256)},
  };
  for (const auto& t : tables) {
    auto db = [&](size_t i) { return float(t.rows[i].tenths) / 10; };
    EXPECT_EQ(au8522::SnrToDb(t.mode, 0), db(0)) << t.mode;
    for (size_t i = 0; i < t.count; ++i) {
      EXPECT_EQ(au8522::SnrToDb(t.mode, t.rows[i].last), db(i)) << t.mode << " " << t.rows[i].last;
      if (i + 1 < t.count) {
        EXPECT_EQ(au8522::SnrToDb(t.mode, t.rows[i].last + 1), db(i + 1)) << t.mode << " " << i;
      }
    }
  }
  EXPECT_EQ(au8522::SnrToDb(Mode::Sleep, 13), 0);
}

TEST(au8522, ColoursAtTheirThresholds) {
  ExpectEdges(au8522::Colorize, 0.1f,
              {{Mode::Vsb8, 15, Color::Red, Color::Orange},
               {Mode::Vsb8, 16, Color::Orange, Color::Yellow},
               {Mode::Vsb8, 17, Color::Yellow, Color::Green},
               {Mode::Qam64, 28, Color::Red, Color::Orange},
               {Mode::Qam64, 30, Color::Orange, Color::Yellow},
               {Mode::Qam64, 34, Color::Yellow, Color::Green},
               {Mode::Qam256, 28, Color::Red, Color::Orange},
               {Mode::Sleep, 0, Color::Red, Color::Green}});
}

// The mode argument (here DVB-T) is ignored: the mode read last decides
// the SNR register and table, and the pair of error counters shown.
TEST(au8522, SnrAndCountersFollowTheCurrentModeNotTheArgument) {
  const Regs counters = {{0x086, 6}, {0x087, 7}, {0x542, 0x42}, {0x543, 0x43}};
  struct Case {
    Regs regs;
    float snr;
    int32_t color;
    std::vector<int> read;
    int uncorrectable, corrected;
  } cases[] = {
      {{{0x0A4, 0x20}, {0x311, 13}, {0x522, 0}}, 19.5f, Color::Green, {0x311}, 7, 6},
      {{{0x0A4, 0x20}, {0x311, 37}}, 15.0f, Color::Orange, {0x311}, 7, 6},
      {{{0x0A4, 2}, {0x502, 1}, {0x522, 62}, {0x311, 0}},
       30.0f,
       Color::Yellow,
       {0x522},
       0x43,
       0x42},
      {{{0x0A4, 2}, {0x502, 0}, {0x522, 200}}, 19.0f, Color::Red, {0x522}, 0x43, 0x42},
      {{{0x0A4, 0}, {0x311, 13}, {0x522, 13}}, 0, Color::Green, {}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    Chip chip(c.regs + counters);
    chip.ExpectFreshSnr(Mode::DvbT, c.snr, c.color);
    EXPECT_EQ(chip.Registers(), c.read);
    EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.uncorrectable);
    EXPECT_EQ(chip.driver.PostVeterbiErrors().Number(), c.corrected);
  }
}

TEST(au8522, TheAverageIsRoundedDownBeforeTheLookup) {
  Chip chip({{0x0A4, 0x20}, {0x311, 12}});
  chip.ExpectFreshSnr(Mode::Vsb8, 20.0f, Color::Green);
  // (18 * 12 + 23) / 19 = 12.58: looked up as 12 (20.0 dB), not 13 (19.5).
  auto next = chip.NextSnr(0x8E, {{0x311, 23}});
  EXPECT_FLOAT_EQ(next.snr, 17.0f);
  EXPECT_FLOAT_EQ(next.avg, 20.0f);
  EXPECT_EQ(chip.driver.snrStep().Slot(19), 23);
}

TEST(au8522, LockBitsByMode) {
  struct Case {
    Regs regs;
    std::vector<int16_t> locks;
    std::vector<int> read;
  } cases[] = {
      {{{0x0A4, 0x20}, {0x088, 3}}, {1, -1, -1, 1, 1}, {0x088}},
      {{{0x0A4, 0x20}, {0x088, 0xFD}}, {0, -1, -1, 1, 0}, {0x088}},
      {{{0x0A4, 0x20}, {0x088, 2}}, {0, -1, -1, 0, 1}, {0x088}},
      {{{0x0A4, 2}, {0x541, 0xAF}}, {1, 1, 1, -1, -1}, {0x541}},
      {{{0x0A4, 2}, {0x502, 1}, {0x541, 0xE0}}, {0, 1, 0, -1, -1}, {0x541}},
      {{{0x0A4, 2}, {0x541, 0x60}}, {0, 1, 0, -1, -1}, {0x541}},
      {{{0x0A4, 2}, {0x541, 0x90}}, {0, 0, 1, -1, -1}, {0x541}},
      {{{0x0A4, 0x12}, {0x088, 3}, {0x541, 0xA0}}, {-1, -1, -1, -1, -1}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    Chip chip(c.regs);
    EXPECT_EQ(chip.Locks(), c.locks);
    EXPECT_EQ(chip.Registers(), c.read);
  }
}

}  // namespace
