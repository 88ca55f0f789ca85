// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/RegisterEditor.h"

#include "bus/Bus.h"
#include "bus/Format.h"
#include "bus/ReadOnlyI2cLibrary.h"
#include "tuner/HexEntry.h"

namespace {
constexpr long kByteMax = 0xFF;
}

RegisterEditor::RegisterEditor(Bus& bus, bool readOnly)
    : bus_(bus), tuner_(bus), ifDemod_(bus), readOnly_(readOnly) {
  state_.values.fill("00");
}

// A tuner behind the IF demodulator is read once with the gate open; the
// gate is then left as the user had it.
void RegisterEditor::Load() {
  state_.width = kNarrowWidth;
  state_.snapshotButton = "DUMP";
  if (ifDemod_.probe()) {
    state_.caption = ifDemod_.name();
    state_.ifDemodFrame = ifDemod_.name();
    if (readOnly_) {
      tunerFound_ = false;
      state_.status = kGateNeedsWrite;
      return;
    }
    bool remembered = state_.passthru;
    if (!remembered) SetGate(true);
    tunerFound_ = tuner_.probe();
    if (tunerFound_) {
      state_.caption += " / " + tuner_.name();
      ShowAllRegisters();
    }
    if (!remembered) SetGate(false);
    state_.ifDemodFrameVisible = true;
  } else {
    state_.ifDemodFrameVisible = false;
    tunerFound_ = tuner_.probe();
    if (tunerFound_) {
      state_.caption = tuner_.name();
      ShowAllRegisters();
    }
  }
  state_.status = !tunerFound_ ? kNoTuner : readOnly_ ? kReadOnlyNote : "";
}

// The gate leads only to the tuner: without one it stays as it is.
void RegisterEditor::ClickPassthru(bool ticked) {
  if (!writesAllowed()) return;
  SetGate(ticked);
}

void RegisterEditor::SetGate(bool open) {
  state_.passthru = open;
  ifDemod_.Passthru(open ? 1 : 0);
  MarkAllRegisters();
}

void RegisterEditor::ClickThermometer() {
  if (writesAllowed()) ShowThermometer();
}

void RegisterEditor::ClickReadPowerLevel() {
  if (writesAllowed()) ShowPowerLevel();
}

// Edits that were not written are lost: every box shows the image again.
void RegisterEditor::Refresh() {
  if (!tunerFound_) return;
  PollTuner();
  ShowAllRegisters();
  MarkAllRegisters();
}

void RegisterEditor::PollTuner() {
  if (state_.pollPower) ShowPowerLevel();
  if (state_.pollThermo) ShowThermometer();
  tuner_.ReadRegs();
  if (state_.pollSnap1) Snap(1);
}

void RegisterEditor::ShowPowerLevel() {
  tuner_.dis_power_level(false);
  tuner_.ReadRegs();
  state_.agc1 = "agc1 gain: " + NumberText(tuner_.calc_agc1_gain()) + " dB";
  state_.agc2 = "agc2 gain: " + NumberText(tuner_.calc_agc2_gain()) + " dB";
  state_.rfagc = "rfagc gain: " + NumberText(tuner_.calc_rfagc_gain()) + " dBuv_RMS";
  state_.gainsVisible = true;
  tuner_.dis_power_level(true);
}

void RegisterEditor::ShowThermometer() {
  state_.thermometer = NumberText(tuner_.read_thermometer()) + "\u00B0C";
}

void RegisterEditor::EditValue(int i, const std::string& text) {
  if (i < 0 || i >= kRegisters || HexValue(text) > kByteMax) return;
  SetValue(i, text);
}

void RegisterEditor::SetValue(int i, const std::string& text) {
  state_.values[i] = text;
  MarkRegister(i);
}

// The comparison is on text, so "0a" differs from the image's "0A".
void RegisterEditor::MarkRegister(int i) {
  state_.mismatch[i] = state_.values[i] != Hex2(tuner_.image()[i]);
}

void RegisterEditor::MarkAllRegisters() {
  for (int i = 0; i < kRegisters; ++i) MarkRegister(i);
}

void RegisterEditor::ShowAllRegisters() {
  for (int i = 0; i < kRegisters; ++i) {
    SetValue(i, Hex2(tuner_.image()[i]));
    if (i == selected_) SetDetail(Hex2(tuner_.image()[i]));
  }
}

// A text naming no register (above 26) keeps the selection where it was.
void RegisterEditor::SetCombo(const std::string& text) {
  state_.combo = text;
  long r = HexValue(text);
  if (r >= kRegisters) return;
  selected_ = int(r);
  SelectRegister();
}

void RegisterEditor::LeaveCombo() {
  state_.combo = Hex2(selected_);
  SelectRegister();
}

void RegisterEditor::ChooseRegister(int i) {
  if (state_.combo != Hex2(i)) SetCombo(Hex2(i));
}

void RegisterEditor::SelectRegister() {
  SetDetail(Hex2(HexValue(state_.values[selected_])));
  state_.registerFrame = "Reg 0x" + tda18271::RegisterName(selected_);
  snapshots_.Follow(selected_);
}

void RegisterEditor::EditDetail(const std::string& text) {
  if (HexValue(text) > kByteMax) return;
  SetDetail(text);
}

void RegisterEditor::SetDetail(const std::string& text) {
  state_.detail = text;
  PropagateDetail();
}

void RegisterEditor::PropagateDetail() {
  long v = HexValue(state_.detail);
  SetValue(selected_, Hex2(v));
  for (int k = 0; k < 8; ++k) state_.bits[k] = (v >> k) & 1;
}

void RegisterEditor::ReleaseBits(const std::array<bool, 8>& ticked) {
  state_.bits = ticked;
  long v = 0;
  for (int k = 0; k < 8; ++k) v |= long(ticked[k]) << k;
  SetDetail(Hex2(v));
}

void RegisterEditor::ResetRegister() {
  if (tunerFound_) SetDetail(Hex2(tuner_.image()[selected_]));
}

// The boxes are left as typed, so a register whose read-back differs
// (read-only or self-clearing bits) keeps a yellow label.
void RegisterEditor::WriteAll() {
  if (!writesAllowed()) return;
  tda18271::Image bytes;
  for (int i = 0; i < kRegisters; ++i) bytes[i] = uint8_t(HexValue(state_.values[i]));
  bus_.lib.velI2C_WriteArray(bus_.handle, 1, tuner_.I2CAddr(), 0x00, kRegisters, bytes.data());
  tuner_.ReadRegs();
  MarkAllRegisters();
}

void RegisterEditor::ToggleWidth() {
  bool wide = state_.width == kNarrowWidth;
  state_.width = wide ? kWideWidth : kNarrowWidth;
  state_.snapshotButton = wide ? "HIDE" : "DUMP";
}

void RegisterEditor::Snap(int p) {
  if (p < 0 || p > 1) return;
  snapshots_.Take(p, tuner_.image(), selected_);
  PickRegister(selected_);
}

void RegisterEditor::PickSnapshotLine(int p, int line) {
  if (p < 0 || p > 1 || line < 0 || line >= int(snapshots_.pane(p).lines.size())) return;
  PickRegister(line);
  snapshots_.PickLine(p, line);
}

void RegisterEditor::PickDifferenceLine(int line) {
  if (line < 0 || line >= int(snapshots_.differences().size())) return;
  PickRegister(line);
  snapshots_.PickDifferenceLine(line);
}

// A line picked in a list selects its register as the combo's list does:
// even when the combo already names it, the detail box is read again from
// the register's box, so it never holds a stale value that a later edit
// would write back.
void RegisterEditor::PickRegister(int i) {
  state_.combo = Hex2(i);
  selected_ = i;
  SelectRegister();
}
