// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lg2160.h"

#include <string>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/atsc/LgLabels.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

namespace {

// The registers hold this pair while there is no SNR to report.
constexpr int16_t kNoSnrHigh = 0xBA;
constexpr int16_t kNoSnrLow = 0xDF;
constexpr double kSymbolRate = 10762238;

}  // namespace

// Where the two variants keep their SNR and error count.
struct lg2160::Variant {
  int16_t snrHigh, snrLow;
  bool tenthsInLowNibble;  // else in the high nibble of the low register
  const char* snrCaption;
  int16_t errorsHigh, errorsLow;
  int32_t errorsHighMask;
};

const lg2160::Variant lg2160::kLg2160 = {.snrHigh = 0x0202,
                                         .snrLow = 0x0203,
                                         .tenthsInLowNibble = false,
                                         .snrCaption = "Reg 0202 / 0203",
                                         .errorsHigh = 0x0414,
                                         .errorsLow = 0x0413,
                                         .errorsHighMask = 0x0F};
const lg2160::Variant lg2160::kLg2161 = {.snrHigh = 0x0302,
                                         .snrLow = 0x0303,
                                         .tenthsInLowNibble = true,
                                         .snrCaption = "Reg 0302 / 0303",
                                         .errorsHigh = 0x0614,
                                         .errorsLow = 0x0613,
                                         .errorsHighMask = 0xFF};

int16_t lg2160::ReadRegister(int16_t reg) { return bus_.ReadReg8Addr16(address_, reg); }

std::string lg2160::name() {
  if (IsLg2161()) return "LG2161";
  return chipType_ == 0 ? "LG2160" : "LG216x";
}

// One write-read of register 0x0000 without retry for presence, then the
// identity registers tell the variants apart.
bool lg2160::probe() {
  uint8_t byte[1] = {0};
  if (!bus_.WriteReadOnce(0x1C, {0x00, 0x00}, byte)) return false;
  address_ = 0x1C;
  if ((ReadRegister(0x0003) & 0xCC) == 0xCC) {
    chipType_ = 0;
    return true;
  }
  if (ReadRegister(0x0001) == 0xFB) {
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
  return float(2.0 * SignExtend24(ReadWord24(Reader(), 0x0118)) * kSymbolRate / 16777216.0);
}

float lg2160::TimingRecoveryOffset() {
  return float(2.0 * SignExtend24(ReadWord24(Reader(), 0x010E)) * kSymbolRate / 1073741824.0);
}

Value lg2160::CarrierOffsetHex() {
  WidenLgCarrierFrame(view_, "Carrier/Timing Rcvry Offset");
  return SingleSignedText(TimingRecoveryOffset());
}

void lg2160::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                           int16_t& VSB_Sync, int16_t& AFC_Lock) {
  if (IsLg2161())
    lg2161_GetLockStatus(Master_Lock, EQ_Lock, FEC_Lock, VSB_Sync, AFC_Lock);
  else
    lg2160_GetLockStatus(Master_Lock, EQ_Lock, FEC_Lock, VSB_Sync, AFC_Lock);
}

void lg2160::lg2160_GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                                  int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t status = ReadRegister(0x011B);
  int16_t snrHigh = ReadRegister(0x0202);
  int16_t parade = ReadRegister(0x013E);
  int16_t fic = ReadRegister(0x0016);
  int16_t version = ReadRegister(0x0128);
  Master_Lock = EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  view_.SetCaption("lblVSBSync", "Sync Lock");
  VSB_Sync = GetBit(status, 5) == 0;
  view_.SetCaption("lblEQLock", "SNR GOOD");
  EQ_Lock = snrHigh != kNoSnrHigh;
  view_.SetCaption("lblFECLock", "Acq Lock");
  FEC_Lock = GetBit(status, 6) == 0;
  Master_Lock = VSB_Sync;
  ShowMhPanel(parade, fic, version);
}

void lg2160::lg2161_GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                                  int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t status = ReadRegister(0x011B);
  int16_t parade = ReadRegister(0x013E);
  int16_t fic = ReadRegister(0x0016);
  int16_t version = ReadRegister(0x0128);
  int16_t sync = ReadRegister(0x0304);
  Master_Lock = EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  view_.SetCaption("lblVSBSync", "Sync Lock");
  VSB_Sync = GetBit(sync, 7) == 0;
  view_.SetCaption("lblEQLock", "SNR GOOD");  // this variant has no such bit
  view_.SetCaption("lblFECLock", "Acq Lock");
  FEC_Lock = GetBit(status, 6) == 0;
  Master_Lock = VSB_Sync;
  ShowMhPanel(parade, fic, version);
}

void lg2160::ShowMhPanel(int16_t parade, int16_t fic, int16_t version) {
  view_.SetCaption("frVSB", "ATSC-MH");
  view_.SetWidth("frVSB", 2505);
  view_.SetCaption("lblSymbolTiming", "Parade ID: " + Hex(parade & 0x7F));
  std::string groups = Hex((ReadRegister(0x0124) & 0x70) / 16);
  std::string totalGroups = Hex(ReadRegister(0x0125));
  view_.SetCaption("lblAutoFreq", "NOG: " + groups + ", TNOG: " + totalGroups);
  view_.SetWidth("lblAutoFreq", 1935);
  view_.SetCaption("lblPilot",
                   "FIC: " + SignedText(fic & 1) + ", VER: " + SignedText((version / 8) & 31));
  view_.SetCaption("frQAM", "AGC:");
  view_.SetCaption("lblAGC", "RF_AGC: " + Hex(uint32_t(ReadSigned12(Reader(), 0x010A))));
  view_.SetCaption("lblIFGain", "IF_AGC: " + Hex(uint32_t(ReadSigned12(Reader(), 0x010C))));
  view_.SetCaption("lblSTRTime", "SCCC (0x0316) :");
  view_.SetCaption("lblFreqOffset", Hex(ReadRegister(0x0316)));
}
