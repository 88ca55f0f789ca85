// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lg2160.h"

#include <map>
#include <string>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/atsc/LgLabels.h"
#include "demod/atsc/regs/lg2160.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace lg2160reg;

namespace {

// The registers hold this pair while there is no SNR to report.
constexpr int16_t kNoSnrHigh = 0xBA;
constexpr int16_t kNoSnrLow = 0xDF;
constexpr double kSymbolRate = 10762238;

}  // namespace

// Where the two variants keep their SNR, error count and lock bits. The
// lock status reads `lockReads` in that order; the sync lamp is one
// active-low bit and the "SNR GOOD" lamp, where there is one, is the SNR
// register holding something other than its no-signal value.
struct lg2160::Variant {
  int16_t snrHigh, snrLow;
  bool tenthsInLowNibble;  // else in the high nibble of the low register
  const char* snrCaption;
  int16_t errorsHigh, errorsLow;
  int32_t errorsHighMask;
  int16_t lockReads[5];
  int16_t syncRegister;
  int syncBit;
  int16_t snrGoodRegister;  // 0: no such lamp
};

const lg2160::Variant lg2160::kLg2160 = {.snrHigh = kSnr2160,
                                         .snrLow = kSnr2160 + 1,
                                         .tenthsInLowNibble = false,
                                         .snrCaption = "Reg 0202 / 0203",
                                         .errorsHigh = kErrors2160 + 1,
                                         .errorsLow = kErrors2160,
                                         .errorsHighMask = 0x0F,
                                         .lockReads = {kStatus, kSnr2160, kParade, kFic, kVersion},
                                         .syncRegister = kStatus,
                                         .syncBit = 5,
                                         .snrGoodRegister = kSnr2160};
const lg2160::Variant lg2160::kLg2161 = {.snrHigh = kSnr2161,
                                         .snrLow = kSnr2161 + 1,
                                         .tenthsInLowNibble = true,
                                         .snrCaption = "Reg 0302 / 0303",
                                         .errorsHigh = kErrors2161 + 1,
                                         .errorsLow = kErrors2161,
                                         .errorsHighMask = 0xFF,
                                         .lockReads = {kStatus, kParade, kFic, kVersion, kSync2161},
                                         .syncRegister = kSync2161,
                                         .syncBit = 7,
                                         .snrGoodRegister = 0};

std::string lg2160::name() {
  if (IsLg2161()) return "LG2161";
  return chipType_ == 0 ? "LG2160" : "LG216x";
}

// One write-read of the presence register without retry for presence, then the
// identity registers tell the variants apart.
bool lg2160::probe() {
  uint8_t byte[1] = {0};
  if (!bus_.WriteReadOnce(0x1C, {0x00, 0x00}, byte)) return false;
  address_ = 0x1C;
  if ((ReadRegister(kIdentity2160) & 0xCC) == 0xCC) {
    chipType_ = 0;
    return true;
  }
  if (ReadRegister(kIdentity2161) == 0xFB) {
    chipType_ = 1;
    return true;
  }
  return false;
}

int16_t lg2160::OperatingMode() {
  currentMode_ = Mode::AtscMh;
  return currentMode_;
}

double lg2160::ChipSnr() {
  const Variant& v = variant();
  int16_t high = ReadRegister(v.snrHigh);
  int16_t low = ReadRegister(v.snrLow);
  if (high == kNoSnrHigh && low == kNoSnrLow) return 0;
  int tenths = v.tenthsInLowNibble ? (low & 0x0F) : (low >> 4);
  return (high >> 4) * 10 + (high & 0x0F) + tenths / 10.0;
}

float lg2160::SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  (void)mode;  // the chip reports ATSC-MH only
  double snr = ChipSnr();
  // The history holds dB values here.
  SnrReading step = snrStep_.Take(snr, ResetSNR_flag, {.roundAverage = RoundTenthOfSingle});
  aSNR = step.average;
  color = LG2160ColorizeSNR(step.reading);
  return step.reading;
}

int32_t lg2160::LG2160ColorizeSNR(float aSNR) {
  if (aSNR < 4) return Color::Red;
  if (aSNR < 6) return Color::Orange;
  if (aSNR < 8) return Color::Yellow;
  return Color::Green;
}

Value lg2160::SnrRegistersOf(const Variant& v) {
  view_.SetCaption("frF0F1", v.snrCaption);
  return HexRegisters(Reader(), {v.snrHigh, v.snrLow});
}

// A count in two registers, its low byte at the lower address.
int32_t lg2160::UncorrectableErrorsOf(const Variant& v) {
  int32_t high = ReadRegister(v.errorsHigh) & v.errorsHighMask;
  int32_t low = ReadRegister(v.errorsLow);
  return high * 256 + low;
}

Value lg2160::CarrierOffset() {
  return float(2.0 * SignExtend24(ReadWord24(Reader(), kCarrierOffset)) * kSymbolRate / 16777216.0);
}

float lg2160::TimingRecoveryOffset() {
  return float(2.0 * SignExtend24(ReadWord24(Reader(), kTimingOffset)) * kSymbolRate /
               1073741824.0);
}

Value lg2160::CarrierOffsetHex() {
  WidenLgCarrierFrame(view_, "Carrier/Timing Rcvry Offset");
  return SingleSignedText(TimingRecoveryOffset());
}

void lg2160::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                           int16_t& VSB_Sync, int16_t& AFC_Lock) {
  const Variant& v = variant();
  std::map<int16_t, int16_t> read;
  for (int16_t reg : v.lockReads) read[reg] = ReadRegister(reg);
  Master_Lock = EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  view_.SetCaption("lblVSBSync", "Sync Lock");
  VSB_Sync = GetBit(read[v.syncRegister], v.syncBit) == 0;
  view_.SetCaption("lblEQLock", "SNR GOOD");
  if (v.snrGoodRegister != 0) EQ_Lock = read[v.snrGoodRegister] != kNoSnrHigh;
  view_.SetCaption("lblFECLock", "Acq Lock");
  FEC_Lock = GetBit(read[kStatus], 6) == 0;
  Master_Lock = VSB_Sync;
  ShowMhPanel(read[kParade], read[kFic], read[kVersion]);
}

void lg2160::ShowMhPanel(int16_t parade, int16_t fic, int16_t version) {
  view_.SetCaption("frVSB", "ATSC-MH");
  view_.SetWidth("frVSB", 2505);
  view_.SetCaption("lblSymbolTiming", "Parade ID: " + Hex(parade & 0x7F));
  std::string groups = Hex((ReadRegister(kGroups) & 0x70) / 16);
  std::string totalGroups = Hex(ReadRegister(kTotalGroups));
  view_.SetCaption("lblAutoFreq", "NOG: " + groups + ", TNOG: " + totalGroups);
  view_.SetWidth("lblAutoFreq", 1935);
  view_.SetCaption("lblPilot",
                   "FIC: " + SignedText(fic & 1) + ", VER: " + SignedText((version / 8) & 31));
  view_.SetCaption("frQAM", "AGC:");
  view_.SetCaption("lblAGC", "RF_AGC: " + Hex(uint32_t(ReadSigned12(Reader(), kRfAgc))));
  view_.SetCaption("lblIFGain", "IF_AGC: " + Hex(uint32_t(ReadSigned12(Reader(), kIfAgc))));
  view_.SetCaption("lblSTRTime", "SCCC (0x0316) :");
  view_.SetCaption("lblFreqOffset", Hex(ReadRegister(kSccc)));
}
