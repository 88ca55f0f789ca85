// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bus/Bus.h"
#include "dvb/Disagreement.h"
#include "dvb/FrontendReader.h"
#include "monitor/Demodulator.h"
#include "monitor/EventDetector.h"
#include "monitor/MonitorView.h"
#include "monitor/Reading.h"
#include "monitor/ViewModel.h"

// The monitor window without its toolkit: the poll that reads the current
// driver into the view model, the window's own controls (slider, Poll,
// Update, I2C Pass, Sleep, the mode label) and what drivers may change.
class Monitor : public MonitorView {
 public:
  static constexpr std::array<int32_t, 4> kBerDivisors = {12933, 38799, 64665, 65535};
  // The five lamps, in the order of the lock flags.
  static constexpr std::array<const char*, 5> kLampNames = {
      "lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"};

  // Read-only, the I2C Pass and Sleep boxes stay disabled and never reach
  // the driver: both would write to the chip.
  explicit Monitor(bool debugLayout, bool readOnly = false);

  ViewModel model;
  // What stamps each reading; the wall clock unless a caller replays time.
  std::function<std::chrono::system_clock::time_point()> clock = [] {
    return std::chrono::system_clock::now();
  };
  // Told the reading at the end of every poll (recording, the history).
  void AddPollObserver(std::function<void(const Reading&)> observer) {
    observers_.push_back(std::move(observer));
  }
  bool minimized = false;  // the window's state; layout waits while minimised

  void SetDriver(Demodulator* driver) { driver_ = driver; }
  // Lets go of the board: no driver, bus or kernel view, the controls as the
  // design has them. The observers, the clock and the poll interval stay.
  void ForgetBoard();
  // Reads the kernel's view beside the registers at every poll, and shows
  // it in the Kernel panel, which appears with it.
  void SetKernelSource(KernelSource* source);
  KernelSource* kernelSource() const { return kernel_; }
  // A card read through its frontend alone: the register part of the
  // window gives way to one line saying why, and each poll reads the
  // kernel's view only.
  void SetRegisterViewMissing(const std::string& why);
  // The bus whose failed reads make a poll a no-answer poll.
  void WatchReads(Bus* bus) { bus_ = bus; }
  Demodulator* driver() const { return driver_; }
  int16_t resetFlag() const { return resetFlag_; }
  bool tpsExpanded() const { return tpsExpanded_; }
  bool debugLayout() const { return debugLayout_; }
  bool readOnly() const { return readOnly_; }

  // One poll: the current driver read into a Reading, shown in the model.
  void Poll();
  // What the last poll read.
  const Reading& lastReading() const { return lastReading_; }

  // The window's controls, as the user works them.
  void PollIntervalChange();
  void SliderChanged(int value);
  void PollToggled(bool ticked);
  void UpdateClicked() { Poll(); }
  void PassthruToggled(bool ticked);
  void SleepToggled(bool ticked);
  void ModeLabelClicked();

  // What drivers may do to the window.
  void SetCaption(const std::string& control, const std::string& caption) override;
  void SetWidth(const std::string& control, int twips) override;
  void SetVisible(const std::string& control, bool visible) override;
  void SetFont(const std::string& control, const std::string& family, int points) override;
  void SetSnrBarPrefix(const std::string& prefix) override;
  void ColorizeSNR(float aSNR, int32_t& color) override;

 private:
  // Driver captions of the current poll: the order numbers of each
  // control's first and last caption.
  struct CaptionLog {
    struct At {
      int first, last;
    };
    int count = 0;
    std::map<std::string, At> at;
  };

  void PollRegisters();
  Reading Read();
  TpsReading ReadTps(bool cable);
  void ReadModeReadings(int16_t mode, Reading& r);
  static Reading NoAnswer(const Reading& read);
  // A poll of the kernel alone, where the registers cannot be read.
  static Reading KernelOnlyReading(const std::string& noRegisterView,
                                   std::chrono::system_clock::time_point timestamp);
  // Notes that the reading a label shows has just been taken; hands it on.
  Value MarkRead(const std::string& control, Value reading);
  void ShowRead(const std::string& control, const std::string& text);
  bool CaptionedBeforeRead(const std::string& control) const;

  void Show(const Reading& r);
  void ShowSnrAndLocks(int16_t mode, const Reading& r);
  void ShowTps(int16_t mode, const Reading& r);
  void ShowModeReadings(int16_t mode, const Reading& r);
  void ShowErrors(const Reading& r);
  void ApplyLayout(bool tpsShown);
  void ShowModeText();
  void ShowNoAnswer(int snrBarMin, int snrBarMax);
  void RefuseWritingBoxes();

  Demodulator* driver_ = nullptr;
  KernelSource* kernel_ = nullptr;
  std::string noRegisterView_;
  DisagreementCheck disagreement_;
  EventDetector events_;
  Bus* bus_ = nullptr;
  bool debugLayout_;
  bool readOnly_;
  int16_t resetFlag_ = 1;
  bool tpsExpanded_ = false;
  CaptionLog captions_;                // what the driver wrote during the current poll
  std::map<std::string, int> readAt_;  // caption count when each label's reading was taken
  Reading lastReading_;
  std::vector<std::function<void(const Reading&)>> observers_;
};
