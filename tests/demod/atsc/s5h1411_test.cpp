// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/s5h1411.h"

#include <gtest/gtest.h>

#include "demod/ChipRig.h"
#include "monitor/Codes.h"

namespace {

// A driver that has found its chip at 0x32/0x34; the probe's calls are forgotten.
struct Chip : BoardRig<s5h1411> {
  explicit Chip(const Regs& main, const Regs& second = {})
      : BoardRig("{\"devices\":[{\"chip\":\"s5h1411\",\"registers\":{" + Json(main) +
                 "}},{\"chip\":\"s5h1411_second\",\"registers\":{" + Json(second) + "}}]}") {
    Probe();
  }
};

// 8-VSB: above the n-th bound the SNR is 30 - n / 2 dB; at or below the last, 0.
const int kVsb[] = {927, 923, 919, 916, 911, 907, 903, 898, 893, 887, 880, 874, 868,
                    859, 851, 841, 832, 823, 807, 795, 784, 770, 755, 740, 727, 717,
                    699, 681, 670, 644, 634, 608, 570, 548, 531, 516, 510};
// QAM: below the bound the row's SNR in tenths of a dB; at or above the last, 0.
struct Row {
  int bound, tenths;
};
const Row kQam64[] = {
    {2800, 300},  {3456, 290},  {4256, 280},  {5301, 270},  {5520, 268},  {5760, 266},
    {6064, 264},  {6336, 262},  {6576, 260},  {6864, 258},  {7424, 256},  {7584, 254},
    {7920, 252},  {8272, 250},  {8432, 249},  {8656, 248},  {8880, 247},  {9120, 246},
    {9328, 245},  {9456, 244},  {9632, 243},  {9920, 242},  {10160, 241}, {10448, 240},
    {10672, 239}, {10960, 238}, {11168, 237}, {11392, 236}, {11552, 235}, {11776, 234},
    {12048, 233}, {12368, 232}, {12688, 231}, {13056, 230}, {13120, 229}, {13648, 227},
    {13840, 226}, {14080, 224}, {14336, 223}, {14624, 222}, {14880, 221}, {15152, 220},
    {15616, 219}, {15872, 218}, {16384, 217}, {16640, 216}, {17152, 215}, {17408, 214},
    {17920, 213}, {18176, 212}, {18432, 211}, {18944, 210}, {19200, 209}, {19712, 208},
    {20224, 207}, {20560, 206}, {20992, 205}, {21440, 204}, {21584, 203}, {22096, 202},
    {22560, 201}, {24576, 200}};
const Row kQam256[] = {
    {2416, 400},  {2704, 390},  {2960, 380},  {3472, 370},  {4080, 360},  {4672, 350},
    {4933, 348},  {5056, 346},  {5312, 344},  {5376, 342},  {5648, 340},  {5888, 338},
    {6144, 336},  {6320, 334},  {6400, 332},  {6832, 330},  {7104, 328},  {7344, 326},
    {7600, 324},  {7856, 322},  {8240, 320},  {8704, 318},  {8832, 316},  {9232, 314},
    {9648, 312},  {10144, 310}, {10304, 308}, {10704, 306}, {11024, 304}, {11568, 302},
    {12064, 300}, {12480, 298}, {12896, 297}, {12992, 296}, {13056, 295}, {13232, 294},
    {13488, 293}, {13728, 292}, {13904, 291}, {14336, 290}, {14592, 289}, {14928, 288},
    {15152, 287}, {15536, 286}, {15904, 285}, {16288, 284}, {16544, 283}, {16832, 282},
    {17136, 281}, {17568, 280}, {17920, 279}, {18352, 278}, {18688, 277}, {18944, 276},
    {19360, 275}, {19712, 274}, {20224, 273}, {20480, 272}, {20976, 271}, {21408, 270},
    {21792, 269}, {22272, 268}, {22528, 267}, {23040, 266}, {23552, 265}, {23808, 264},
    {24320, 263}, {24576, 262}, {25088, 261}, {25600, 260}};

TEST(s5h1411, SnrTablesAtEveryRowBoundaryAndPastTheirEnds) {
  size_t n = std::size(kVsb);
  for (size_t i = 0; i < n; ++i) {
    EXPECT_EQ(s5h1411::VsbSnrToDb(kVsb[i] + 1), float(300 - 5 * i) / 10) << kVsb[i];
    EXPECT_EQ(s5h1411::VsbSnrToDb(kVsb[i]), i + 1 < n ? float(295 - 5 * i) / 10 : 0) << kVsb[i];
  }
  auto qam = [](const auto& rows, float (*lookup)(int32_t)) {
    for (size_t i = 0; i < std::size(rows); ++i) {
      float next = i + 1 < std::size(rows) ? float(rows[i + 1].tenths) / 10 : 0;
      EXPECT_EQ(lookup(rows[i].bound - 1), float(rows[i].tenths) / 10) << rows[i].bound;
      EXPECT_EQ(lookup(rows[i].bound), next) << rows[i].bound;
    }
  };
  qam(kQam64, s5h1411::Qam64SnrToDb);
  qam(kQam256, s5h1411::Qam256SnrToDb);
  // Both QAM tables share the lookup: nothing at or below 0.
  EXPECT_EQ(s5h1411::Qam64SnrToDb(0), 0);
  EXPECT_EQ(s5h1411::Qam64SnrToDb(1), 30.0f);
}

TEST(s5h1411, ColoursAtTheirThresholds) {
  auto colour = [](int16_t mode, float raw) {
    auto f = mode == Mode::Vsb8    ? s5h1411::VsbColor
             : mode == Mode::Qam64 ? s5h1411::Qam64Color
                                   : s5h1411::Qam256Color;
    return f(int32_t(raw));
  };
  ExpectEdges(colour, 1,
              {{Mode::Vsb8, 645, Color::Red, Color::Orange},
               {Mode::Vsb8, 671, Color::Orange, Color::Yellow},
               {Mode::Vsb8, 718, Color::Yellow, Color::Green},
               {Mode::Qam64, 0, Color::Red, Color::Green},
               {Mode::Qam64, 2801, Color::Green, Color::Yellow},
               {Mode::Qam64, 8273, Color::Yellow, Color::Orange},
               {Mode::Qam64, 15873, Color::Orange, Color::Red},
               {Mode::Qam256, 4934, Color::Green, Color::Yellow},
               {Mode::Qam256, 12065, Color::Yellow, Color::Orange},
               {Mode::Qam256, 16545, Color::Orange, Color::Red}});
}

TEST(s5h1411, LockBitsByCurrentMode) {
  ExpectLocks<Chip>({
      {{{0xF2, 0x8000}, {0x5E, 0}, {0xF0, 0x10}}, {1, 0, 0, 0, -1}, {0xF2, 0x5E}},
      {{{0xF2, 0x2000}, {0x5E, 0xFFFE}}, {0, 1, 0, 0, -1}, {0xF2, 0x5E}},
      {{{0xF2, 0x1000}, {0x5E, 1}}, {0, 0, 1, 1, -1}, {0xF2, 0x5E}},
      {{{0xF6, 1}, {0xF2, 0xB000}, {0xF0, 0x0010}, {0x5E, 1}}, {1, -1, 1, -1, -1}, {0xF2, 0xF0}},
      {{{0xF6, 1}, {0x2A, 1}, {0xF2, 0x7FFF}, {0xF0, 0xFFEF}}, {0, -1, 0, -1, -1}, {0xF2, 0xF0}},
      {{{0xF4, 1}, {0xF2, 0xFFFF}, {0xF0, 0xFFFF}}, {1, -1, -1, -1, -1}, {0xF2, 0xF0}},
      {{{0xF4, 0xFFFF}, {0xF2, 0}, {0xF0, 0x10}}, {0, -1, -1, -1, -1}, {0xF2, 0xF0}},
  });
}

}  // namespace
