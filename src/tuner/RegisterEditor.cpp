// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/RegisterEditor.h"

#include "bus/Bus.h"
#include "bus/ReadOnlyI2cLibrary.h"
#include "numbers/Format.h"
#include "tuner/HexEntry.h"

namespace {
constexpr long kByteMax = 0xFF;
}

RegisterEditor::RegisterEditor(Bus& bus, bool readOnly)
    : bus_(bus), tuner_(bus), ifDemod_(bus), readOnly_(readOnly) {}

// A tuner behind the IF demodulator is read once with the gate open; the
// gate is then left as the user had it.
void RegisterEditor::Load() {
  state_.width = kNarrowWidth;
  state_.snapshotButton = "DUMP";
  state_.caption = kTitle;
  if (ifDemod_.probe()) {
    state_.ifDemodFrame = ifDemod_.name();
    if (readOnly_) {
      tunerFound_ = false;
      state_.status = kGateNeedsWrite;
      return;
    }
    bool remembered = state_.passthru;
    if (!remembered) SetGate(true);
    tunerFound_ = tuner_.probe();
    if (!remembered) SetGate(false);
    state_.ifDemodFrameVisible = true;
  } else {
    state_.ifDemodFrameVisible = false;
    tunerFound_ = tuner_.probe();
  }
  if (!tunerFound_) {
    state_.status = kNoTuner;
    return;
  }
  state_.caption += " \u2014 TDA18271 at 0x" + Hex(tuner_.I2CAddr());
  ShowRead();
}

// The boxes show the image just read; after a failed read they are emptied
// rather than left showing what the tuner held before, and the status line
// says why.
void RegisterEditor::ShowRead() {
  imageShown_ = tuner_.imageRead();
  state_.notWritten.fill(false);
  if (imageShown_) {
    ShowAllRegisters();
    state_.status = readOnly_ ? kReadOnlyNote : "";
  } else {
    state_.values.fill("");
    SetDetail("");
    state_.status = NoAnswer();
  }
  MarkAllRegisters();
}

std::string RegisterEditor::NoAnswer() const {
  std::string what = "no answer from 0x" + Hex(tuner_.I2CAddr());
  return what + (state_.ifDemodFrameVisible ? ": is the I2C gate open?"
                                            : ": is the board still connected?");
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
  ShowRead();
}

void RegisterEditor::PollTuner() {
  if (state_.pollPower) ShowPowerLevel();
  if (state_.pollThermo) ShowThermometer();
  tuner_.ReadRegs();
  if (state_.pollSnap1) Snap(1);
}

// Measurement is disabled again even when enabling it went unanswered.
void RegisterEditor::ShowPowerLevel() {
  bool read = tuner_.dis_power_level(false) && tuner_.ReadRegs();
  auto shown = [read](double gain, const char* unit) {
    return read ? NumberText(gain) + unit : std::string(kUnread);
  };
  state_.agc1 = "agc1 gain: " + shown(tuner_.calc_agc1_gain(), " dB");
  state_.agc2 = "agc2 gain: " + shown(tuner_.calc_agc2_gain(), " dB");
  state_.rfagc = "rfagc gain: " + shown(tuner_.calc_rfagc_gain(), " dBuv_RMS");
  state_.gainsVisible = true;
  if (!tuner_.dis_power_level(true) || !read) state_.status = NoAnswer();
}

void RegisterEditor::ShowThermometer() {
  std::optional<int16_t> celsius = tuner_.read_thermometer();
  state_.thermometer = celsius ? NumberText(*celsius) + "\u00B0C" : kUnread;
  if (!celsius) state_.status = NoAnswer();
}

void RegisterEditor::EditValue(int i, const std::string& text) {
  if (i < 0 || i >= kRegisters || HexValue(text) > kByteMax) return;
  SetValue(i, text);
}

void RegisterEditor::SetValue(int i, const std::string& text) {
  state_.values[i] = text;
  MarkRegister(i);
}

// The comparison is on text, so "0a" differs from the image's "0A". Boxes
// not filled by a read have nothing to differ from.
void RegisterEditor::MarkRegister(int i) {
  state_.mismatch[i] = imageShown_ && state_.values[i] != Hex2(tuner_.image()[i]);
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
  const std::string& value = state_.values[selected_];
  SetDetail(value.empty() ? "" : Hex2(HexValue(value)));
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

// Before a read an empty detail box leaves the register's box empty too.
void RegisterEditor::PropagateDetail() {
  bool unread = state_.detail.empty() && !imageShown_;
  long v = HexValue(state_.detail);
  SetValue(selected_, unread ? "" : Hex2(v));
  for (int k = 0; k < 8; ++k) state_.bits[k] = (v >> k) & 1;
}

void RegisterEditor::ReleaseBits(const std::array<bool, 8>& ticked) {
  state_.bits = ticked;
  long v = 0;
  for (int k = 0; k < 8; ++k) v |= long(ticked[k]) << k;
  SetDetail(Hex2(v));
}

void RegisterEditor::ResetRegister() {
  if (imageShown_) SetDetail(Hex2(tuner_.image()[selected_]));
}

// The boxes are left as typed, so a register whose read-back differs
// (read-only or self-clearing bits) keeps a yellow label. An unanswered
// write marks the edits as not written and reads nothing back.
void RegisterEditor::WriteAll() {
  if (!writeAllEnabled()) return;
  tda18271::Image bytes;
  for (int i = 0; i < kRegisters; ++i) bytes[i] = uint8_t(HexValue(state_.values[i]));
  if (bus_.lib.velI2C_WriteArray(bus_.handle, 1, tuner_.I2CAddr(), 0x00, kRegisters,
                                 bytes.data()) != 0) {
    state_.notWritten = state_.mismatch;
    state_.status = "Not written: " + NoAnswer();
    return;
  }
  state_.notWritten.fill(false);
  if (!tuner_.ReadRegs()) return ShowRead();
  state_.status = "";
  MarkAllRegisters();
}

void RegisterEditor::ToggleWidth() {
  bool wide = state_.width == kNarrowWidth;
  state_.width = wide ? kWideWidth : kNarrowWidth;
  state_.snapshotButton = wide ? "HIDE" : "DUMP";
}

// Only an image that was read is kept.
void RegisterEditor::Snap(int p) {
  if (p < 0 || p > 1 || !tuner_.imageRead()) return;
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
