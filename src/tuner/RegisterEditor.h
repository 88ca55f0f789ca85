// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <string>

#include "tuner/RegisterSnapshots.h"
#include "tuner/tda18271.h"
#include "tuner/tda829x.h"

class Bus;

// Everything the tuner register window does and shows, without the toolkit:
// the window forwards its events here and then shows the state. Control
// names in the comments are the window's.
class RegisterEditor {
 public:
  static constexpr int kRegisters = tda18271::kRegisters;
  static constexpr int kNarrowWidth = 8040;  // twips; the snapshot panel is cut off
  static constexpr int kWideWidth = 12015;
  static constexpr int kPollMilliseconds = 1000;

  static constexpr const char* kTitle = "Tuner registers";
  // What a reading shows when the tuner did not answer.
  static constexpr const char* kUnread = "--";

  struct State {
    std::string caption = kTitle;
    int width = kNarrowWidth;
    std::string snapshotButton = "DUMP";
    std::string ifDemodFrame = "TDA829x";
    bool ifDemodFrameVisible = true;
    bool passthru = false, poll = false, pollThermo = false, pollPower = false, pollSnap1 = false;
    std::string thermometer;
    std::string agc1 = "agc1 gain:", agc2 = "agc2 gain:", rfagc = "rfagc gain:";
    bool gainsVisible = false;
    // Empty until the registers were read, and again after a failed read.
    std::array<std::string, kRegisters> values;  // RegVal
    std::array<bool, kRegisters> mismatch{};     // RegLabel yellow
    std::array<bool, kRegisters> notWritten{};   // an edit Write All could not write
    std::string combo;                           // ComboReg
    std::string detail;                          // TextReg
    std::array<bool, 8> bits{};                  // Check00, bit k
    std::string registerFrame = "Reg";
    // "No tuner found" when the load found none; what went unanswered and why.
    std::string status;
  };

  static constexpr const char* kNoTuner = "No tuner found";
  static constexpr const char* kGateNeedsWrite =
      "Read-only mode: the tuner sits behind the gate, which needs a write";

  // Read-only, nothing is written: not the gate, so a tuner behind one is
  // never reached, nor the thermometer, the power level or Write All. A
  // tuner straight on the bus is still read.
  explicit RegisterEditor(Bus& bus, bool readOnly = false);

  void Load();
  void ClickPassthru(bool ticked);
  void ClickThermometer();
  void ClickReadPowerLevel();
  // The "Refresh" button and each tick of the poll.
  void Refresh();
  void ClickPoll(bool ticked) { state_.poll = ticked && tunerFound_; }
  void ClickPollThermo(bool ticked) { state_.pollThermo = ticked && writesAllowed(); }
  void ClickPollPowerLevel(bool ticked) { state_.pollPower = ticked && writesAllowed(); }
  void ClickPollSnap1(bool ticked) { state_.pollSnap1 = ticked; }
  // Text typed into a value box or the detail box; a value above FF does
  // not fit a register and leaves the box as it was.
  void EditValue(int i, const std::string& text);
  void FocusValue(int i) { ChooseRegister(i); }
  void EditCombo(const std::string& text) { SetCombo(text); }
  void FocusCombo() { SelectRegister(); }
  void LeaveCombo();
  void EditDetail(const std::string& text);
  void LeaveDetail() { PropagateDetail(); }
  // The bit boxes as they are after a mouse release over one of them.
  void ReleaseBits(const std::array<bool, 8>& ticked);
  void ResetRegister();
  void WriteAll();
  void ToggleWidth();
  void Snap(int p);
  void PickSnapshotLine(int p, int line);
  void PickDifferenceLine(int line);

  const State& state() const { return state_; }
  const RegisterSnapshots& snapshots() const { return snapshots_; }
  const tda18271& tuner() const { return tuner_; }
  const tda829x& ifDemod() const { return ifDemod_; }
  int selected() const { return selected_; }
  int pollInterval() const { return state_.poll ? kPollMilliseconds : 0; }
  // Without a tuner nothing that reaches the tuner or its gate is offered:
  // address 0 would be the general call, which resets every device on a
  // real bus.
  bool tunerFound() const { return tunerFound_; }
  bool readOnly() const { return readOnly_; }
  // The gate, the thermometer, the power level and Write All write.
  bool writesAllowed() const { return tunerFound_ && !readOnly_; }
  // Write All only over boxes that were filled by a read.
  bool writeAllEnabled() const { return writesAllowed() && imageShown_; }
  bool refreshEnabled() const { return tunerFound_ && !state_.poll; }
  bool thermometerEnabled() const { return writesAllowed() && !(state_.poll && state_.pollThermo); }
  bool powerLevelEnabled() const { return writesAllowed() && !(state_.poll && state_.pollPower); }
  bool snap1Enabled() const { return !(state_.poll && state_.pollSnap1); }

 private:
  void SetValue(int i, const std::string& text);
  void SetCombo(const std::string& text);
  void SetDetail(const std::string& text);
  void SelectRegister();
  void PropagateDetail();
  void ChooseRegister(int i);
  void PickRegister(int i);
  void MarkRegister(int i);
  void MarkAllRegisters();
  void ShowAllRegisters();
  void ShowRead();
  std::string NoAnswer() const;
  void ShowPowerLevel();
  void ShowThermometer();
  void PollTuner();
  void SetGate(bool open);

  Bus& bus_;
  tda18271 tuner_;
  tda829x ifDemod_;
  RegisterSnapshots snapshots_;
  State state_;
  // The register the combo box names; a text naming no register leaves it.
  int selected_ = 0;
  bool tunerFound_ = false;
  // The boxes hold the image of an answered read (plus the user's edits).
  bool imageShown_ = false;
  bool readOnly_;
};
