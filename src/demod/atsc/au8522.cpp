// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/au8522.h"

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace au8522reg;

namespace {

// Each row covers error bytes up to `last`; the value is in tenths of a dB.
struct Row {
  int32_t last;
  int32_t tenths;
};

constexpr Row kVsb[] = {{1, 270},  {2, 250},  {3, 240},  {5, 230},  {7, 220},  {9, 210},
                        {12, 200}, {13, 195}, {15, 190}, {17, 185}, {19, 180}, {21, 175},
                        {24, 170}, {27, 165}, {31, 160}, {32, 158}, {33, 156}, {34, 154},
                        {36, 152}, {37, 150}, {39, 148}, {40, 146}, {41, 144}, {43, 142},
                        {44, 140}, {48, 135}, {50, 130}, {53, 125}, {56, 120}, {255, 115}};

constexpr Row kQam64[] = {
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

constexpr Row kQam256[] = {
    {17, 400}, {18, 398}, {19, 396}, {20, 394}, {21, 392}, {22, 390}, {23, 388}, {24, 386},
    {25, 384}, {26, 382}, {27, 380}, {28, 379}, {29, 378}, {30, 377}, {31, 376}, {32, 375},
    {33, 374}, {34, 373}, {35, 372}, {36, 371}, {37, 370}, {38, 362}, {39, 354}, {40, 346},
    {41, 338}, {42, 330}, {43, 328}, {44, 326}, {45, 324}, {46, 322}, {47, 320}, {48, 319},
    {49, 318}, {50, 317}, {51, 316}, {52, 315}, {53, 314}, {54, 313}, {55, 312}, {56, 311},
    {57, 310}, {58, 308}, {59, 306}, {60, 304}, {61, 302}, {62, 300}, {63, 298}, {65, 295},
    {68, 294}, {70, 293}, {73, 292}, {76, 291}, {78, 290}, {79, 289}, {81, 288}, {82, 287},
    {83, 286}, {84, 285}, {85, 284}, {86, 283}, {88, 282}, {89, 281}, {255, 280}};

template <size_t N>
float Lookup(const Row (&table)[N], int32_t error) {
  for (const Row& row : table)
    if (error <= row.last) return float(row.tenths) / 10;
  return float(table[N - 1].tenths) / 10;
}

}  // namespace

float au8522::SnrToDb(int16_t mode, int32_t error) {
  if (mode == Mode::Vsb8) return Lookup(kVsb, error);
  if (mode == Mode::Qam64) return Lookup(kQam64, error);
  if (mode == Mode::Qam256) return Lookup(kQam256, error);
  return 0;
}

int32_t au8522::Colorize(int16_t mode, float snr) {
  float t1 = 0, t2 = 0, t3 = 0;
  if (mode == Mode::Vsb8) {
    t1 = 15;
    t2 = 16;
    t3 = 17;
  } else if (Mode::IsQam(mode)) {
    t1 = 28;
    t2 = 30;
    t3 = 34;
  }
  if (snr < t1) return Color::Red;
  if (snr < t2) return Color::Orange;
  if (snr < t3) return Color::Yellow;
  return Color::Green;
}

// The command names the register in its first two bytes (0x40 marks a
// read) and ends with 0x11.
int16_t au8522::ReadRegister(int16_t reg) {
  uint8_t result[1];
  bus_.WriteRead(address_, {uint8_t(0x40 | ((reg >> 8) & 0x0F)), uint8_t(reg & 0xFF), 0x11},
                 result);
  return result[0];
}

// One plain one-byte read, no retry and no identity check.
bool au8522::probe() {
  if (!bus_.Answers(0x8E, 1)) return false;
  address_ = 0x8E;
  return true;
}

int16_t au8522::OperatingMode() {
  int16_t r = ReadRegister(kMode);
  if (GetBit(r, 5))
    currentMode_ = Mode::Vsb8;
  else if (GetBit(r, 1) && !GetBit(r, 4))
    currentMode_ = GetBit(ReadRegister(kQamSize), 0) ? Mode::Qam256 : Mode::Qam64;
  else
    currentMode_ = Mode::Sleep;
  return currentMode_;
}

float au8522::SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  (void)mode;  // the chip's own mode, read last by OperatingMode, decides
  int32_t error = 0;
  if (currentMode_ == Mode::Vsb8)
    error = ReadRegister(kVsbError);
  else if (Mode::IsQam(currentMode_))
    error = ReadRegister(kQamError);
  // The history holds raw error bytes; the average is looked up whole.
  SnrReading snr =
      snrStep_.Take(error, ResetSNR_flag,
                    {.toDb = [this](double e) { return SnrToDb(currentMode_, int32_t(e)); },
                     .average = SnrRule::Average::Floor});
  aSNR = snr.average;
  color = Colorize(currentMode_, snr.reading);
  return snr.reading;
}

Value au8522::UncorrectableErrors() {
  if (currentMode_ == Mode::Vsb8) return VSBUncorrectableErrors();
  if (Mode::IsQam(currentMode_)) return QAMUncorrectableErrors();
  return int16_t(0);
}

Value au8522::PostVeterbiErrors() {
  if (currentMode_ == Mode::Vsb8) return VSBCorrectableErrors();
  if (Mode::IsQam(currentMode_)) return QAMCorrectableErrors();
  return int16_t(0);
}

void au8522::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                           int16_t& VSB_Sync, int16_t& AFC_Lock) {
  view_.SetCaption("lblEQLock", "TS Sync");
  view_.SetCaption("lblAFCLock", "Segment Sync");
  view_.SetCaption("lblVSBSync", "Field Sync");
  Master_Lock = Lock::NotLocked;
  EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  if (currentMode_ == Mode::Vsb8) {
    int16_t r = ReadRegister(kVsbLock);
    VSB_Sync = GetBit(r, 0);
    AFC_Lock = GetBit(r, 1);
    Master_Lock = VSB_Sync == 1 && AFC_Lock == 1;
  } else if (Mode::IsQam(currentMode_)) {
    int16_t r = ReadRegister(kQamLock);
    FEC_Lock = GetBits(r, 6, 2) == 2;
    EQ_Lock = GetBits(r, 4, 2) == 2;
    Master_Lock = FEC_Lock == 1 && EQ_Lock == 1;
  } else {
    Master_Lock = Lock::NotApplicable;
  }
}
