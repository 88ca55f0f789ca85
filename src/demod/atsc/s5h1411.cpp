// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/s5h1411.h"

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/atsc/VsbQamMode.h"
#include "demod/atsc/regs/s5h1411.h"
#include "monitor/Codes.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace s5h1411reg;

namespace {

struct Row {
  int32_t bound;
  float db;
};

// 8-VSB: the first row whose bound the raw value exceeds (larger is better).
constexpr Row kVsb[] = {{927, 30.0f}, {923, 29.5f}, {919, 29.0f}, {916, 28.5f}, {911, 28.0f},
                        {907, 27.5f}, {903, 27.0f}, {898, 26.5f}, {893, 26.0f}, {887, 25.5f},
                        {880, 25.0f}, {874, 24.5f}, {868, 24.0f}, {859, 23.5f}, {851, 23.0f},
                        {841, 22.5f}, {832, 22.0f}, {823, 21.5f}, {807, 21.0f}, {795, 20.5f},
                        {784, 20.0f}, {770, 19.5f}, {755, 19.0f}, {740, 18.5f}, {727, 18.0f},
                        {717, 17.5f}, {699, 17.0f}, {681, 16.5f}, {670, 16.0f}, {644, 15.5f},
                        {634, 15.0f}, {608, 14.5f}, {570, 14.0f}, {548, 13.5f}, {531, 13.0f},
                        {516, 12.5f}, {510, 12.0f}};

// QAM: the first row whose bound the raw error figure is below (smaller is better).
constexpr Row kQam64[] = {
    {2800, 30.0f},  {3456, 29.0f},  {4256, 28.0f},  {5301, 27.0f},  {5520, 26.8f},  {5760, 26.6f},
    {6064, 26.4f},  {6336, 26.2f},  {6576, 26.0f},  {6864, 25.8f},  {7424, 25.6f},  {7584, 25.4f},
    {7920, 25.2f},  {8272, 25.0f},  {8432, 24.9f},  {8656, 24.8f},  {8880, 24.7f},  {9120, 24.6f},
    {9328, 24.5f},  {9456, 24.4f},  {9632, 24.3f},  {9920, 24.2f},  {10160, 24.1f}, {10448, 24.0f},
    {10672, 23.9f}, {10960, 23.8f}, {11168, 23.7f}, {11392, 23.6f}, {11552, 23.5f}, {11776, 23.4f},
    {12048, 23.3f}, {12368, 23.2f}, {12688, 23.1f}, {13056, 23.0f}, {13120, 22.9f}, {13648, 22.7f},
    {13840, 22.6f}, {14080, 22.4f}, {14336, 22.3f}, {14624, 22.2f}, {14880, 22.1f}, {15152, 22.0f},
    {15616, 21.9f}, {15872, 21.8f}, {16384, 21.7f}, {16640, 21.6f}, {17152, 21.5f}, {17408, 21.4f},
    {17920, 21.3f}, {18176, 21.2f}, {18432, 21.1f}, {18944, 21.0f}, {19200, 20.9f}, {19712, 20.8f},
    {20224, 20.7f}, {20560, 20.6f}, {20992, 20.5f}, {21440, 20.4f}, {21584, 20.3f}, {22096, 20.2f},
    {22560, 20.1f}, {24576, 20.0f}};

constexpr Row kQam256[] = {
    {2416, 40.0f},  {2704, 39.0f},  {2960, 38.0f},  {3472, 37.0f},  {4080, 36.0f},  {4672, 35.0f},
    {4933, 34.8f},  {5056, 34.6f},  {5312, 34.4f},  {5376, 34.2f},  {5648, 34.0f},  {5888, 33.8f},
    {6144, 33.6f},  {6320, 33.4f},  {6400, 33.2f},  {6832, 33.0f},  {7104, 32.8f},  {7344, 32.6f},
    {7600, 32.4f},  {7856, 32.2f},  {8240, 32.0f},  {8704, 31.8f},  {8832, 31.6f},  {9232, 31.4f},
    {9648, 31.2f},  {10144, 31.0f}, {10304, 30.8f}, {10704, 30.6f}, {11024, 30.4f}, {11568, 30.2f},
    {12064, 30.0f}, {12480, 29.8f}, {12896, 29.7f}, {12992, 29.6f}, {13056, 29.5f}, {13232, 29.4f},
    {13488, 29.3f}, {13728, 29.2f}, {13904, 29.1f}, {14336, 29.0f}, {14592, 28.9f}, {14928, 28.8f},
    {15152, 28.7f}, {15536, 28.6f}, {15904, 28.5f}, {16288, 28.4f}, {16544, 28.3f}, {16832, 28.2f},
    {17136, 28.1f}, {17568, 28.0f}, {17920, 27.9f}, {18352, 27.8f}, {18688, 27.7f}, {18944, 27.6f},
    {19360, 27.5f}, {19712, 27.4f}, {20224, 27.3f}, {20480, 27.2f}, {20976, 27.1f}, {21408, 27.0f},
    {21792, 26.9f}, {22272, 26.8f}, {22528, 26.7f}, {23040, 26.6f}, {23552, 26.5f}, {23808, 26.4f},
    {24320, 26.3f}, {24576, 26.2f}, {25088, 26.1f}, {25600, 26.0f}};

template <size_t N>
float QamLookup(const Row (&table)[N], int32_t raw) {
  if (raw <= 0) return 0;
  for (const Row& row : table)
    if (raw < row.bound) return row.db;
  return 0;
}

// Green up to `green`, yellow up to `yellow`, orange up to `orange`;
// red above, and red for a negative figure.
int32_t QamColor(int32_t raw, int32_t green, int32_t yellow, int32_t orange) {
  if (raw < 0) return Color::Red;
  if (raw <= green) return Color::Green;
  if (raw <= yellow) return Color::Yellow;
  if (raw <= orange) return Color::Orange;
  return Color::Red;
}

}  // namespace

float s5h1411::VsbSnrToDb(int32_t raw) {
  for (const Row& row : kVsb)
    if (raw > row.bound) return row.db;
  return 0;
}

float s5h1411::Qam64SnrToDb(int32_t raw) { return QamLookup(kQam64, raw); }
float s5h1411::Qam256SnrToDb(int32_t raw) { return QamLookup(kQam256, raw); }

int32_t s5h1411::VsbColor(int32_t raw) {
  if (raw <= 644) return Color::Red;
  if (raw <= 670) return Color::Orange;
  if (raw <= 717) return Color::Yellow;
  return Color::Green;
}

int32_t s5h1411::Qam64Color(int32_t raw) { return QamColor(raw, 2800, 8272, 15872); }
int32_t s5h1411::Qam256Color(int32_t raw) { return QamColor(raw, 4933, 12064, 16544); }

// Plain two-byte reads, one attempt each; a device acknowledging at both
// addresses of a pair is taken for the chip. "-demod2" skips the first pair.
bool s5h1411::probe() {
  struct AddressPair {
    int16_t main, second;
    bool firstDemod;  // passed over with "-demod2"
  };
  static constexpr AddressPair kPairs[] = {{0x32, 0x34, true}, {0x72, 0x74, false}};
  auto answers = [&](int16_t address) { return bus_.Answers(address, 2); };
  for (const AddressPair& pair : kPairs) {
    if (!answers(pair.main) || (pair.firstDemod && bus_.secondDemod)) continue;
    address_ = pair.main;
    if (answers(pair.second)) {
      secondAddress_ = pair.second;
      return true;
    }
  }
  return false;
}

int16_t s5h1411::OperatingMode() {
  currentMode_ = VsbQamMode(Reader(), kSleep, kQamSelect, [this]() -> int16_t {
    int16_t qam = GetBit(ReadRegister(kQamAutoSelect), 0) ? ReadRegister(kQamStatus)
                                                          : ReadRegister(kQamManual);
    return GetBit(qam, 0) ? Mode::Qam256 : Mode::Qam64;
  });
  return currentMode_;
}

float s5h1411::SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  if (mode < Mode::Vsb8 || mode > Mode::Qam256) {
    aSNR = RoundTenth(aSNR);
    return 0;
  }
  // The history holds raw register values; the tables convert after averaging.
  int32_t raw = mode == Mode::Vsb8 ? (ReadRegister(kVsbStatus) & 0x3FF) : ReadRegister(kQamSnr);
  struct SnrMode {
    float (*toDb)(int32_t);
    int32_t (*color)(int32_t);
  };
  static constexpr SnrMode kModes[] = {
      {VsbSnrToDb, VsbColor}, {Qam64SnrToDb, Qam64Color}, {Qam256SnrToDb, Qam256Color}};
  const SnrMode& m = kModes[mode - Mode::Vsb8];
  SnrReading snr = snrStep_.Take(raw, ResetSNR_flag,
                                 {.toDb = [&m](double v) { return m.toDb(int32_t(v)); },
                                  .average = SnrRule::Average::Nearest});
  aSNR = snr.average;
  color = m.color(raw);
  return snr.reading;
}

Value s5h1411::SNRRegisters() {
  return HexRegisters(Reader(), {kQamStatus, kQamSnr, kVsbStatus}, " / ");
}

Value s5h1411::CarrierOffset() {
  int16_t high = ReadRegister(kCarrierOffsetHigh);
  int16_t low = ReadRegister(kCarrierOffsetLow);
  return MakeLong(high, low);
}

Value s5h1411::CarrierOffsetHex() {
  return HexRegisters(Reader(), {kCarrierOffsetHigh, kCarrierOffsetLow});
}
Value s5h1411::SymbolTiming() {
  return HexRegisters(Reader(), {kSymbolTimingHigh, kSymbolTimingLow});
}
Value s5h1411::AutoFreq() { return HexRegisters(Reader(), {kAutoFreqHigh, kAutoFreqLow}); }

int16_t s5h1411::Passthru() { return GetBit(ReadRegister(kPassthru), 0); }
int16_t s5h1411::Sleep() { return GetBit(ReadRegister(kSleep), 0); }
void s5h1411::Passthru(int16_t vNewValue) { bus_.WriteReg16(address_, kPassthru, vNewValue); }
void s5h1411::Sleep(int16_t vNewValue) { bus_.WriteReg16(address_, kSleep, vNewValue); }

Value s5h1411::AGCPowerRef() { return bus_.ReadReg16(secondAddress_, kAgcPowerRef); }

void s5h1411::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                            int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t r = ReadRegister(kVsbStatus);
  bool vsb = currentMode_ == Mode::Vsb8;
  if (vsb) {
    FEC_Lock = GetBit(r, 12);
  } else {
    int16_t qam = ReadRegister(kQamStatus);
    bool isQam = Mode::IsQam(currentMode_);
    FEC_Lock = isQam ? GetBit(qam, 4) : Lock::NotApplicable;
  }
  Master_Lock = GetBit(r, 15);
  EQ_Lock = vsb ? GetBit(r, 13) : Lock::NotApplicable;
  VSB_Sync = vsb ? GetBit(ReadRegister(kVsbSync), 0) : Lock::NotApplicable;
  AFC_Lock = Lock::NotApplicable;
}
