#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "bus/Bus.h"
#include "monitor/Demodulator.h"
#include "monitor/MonitorView.h"
#include "monitor/Reading.h"
#include "monitor/ViewModel.h"

// The monitor window without its toolkit: the poll that reads the current
// driver into the view model, the window's own controls (slider, Poll,
// Update, I2C Pass, Sleep, the mode label) and what drivers may change.
class Monitor : public MonitorView {
 public:
  static constexpr std::array<int32_t, 4> kBerDivisors = {12933, 38799, 64665, 65535};

  explicit Monitor(bool debugLayout);

  ViewModel model;
  bool minimized = false;  // the window's state; layout waits while minimised

  void SetDriver(Demodulator* driver) { driver_ = driver; }
  // The bus whose failed reads make a poll a no-answer poll.
  void WatchReads(Bus* bus) { bus_ = bus; }
  Demodulator* driver() const { return driver_; }
  int16_t resetFlag() const { return resetFlag_; }
  bool tpsExpanded() const { return tpsExpanded_; }
  bool debugLayout() const { return debugLayout_; }

  // One poll of the current driver into the model.
  void Poll();
  // What the last poll got, and who hears of each poll.
  const Reading& lastReading() const { return lastReading_; }
  std::function<void(const Reading&)> polled;

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
  void ShowSnrAndLocks(int16_t mode);
  void ShowTps(int16_t mode);
  void ShowModeReadings(int16_t mode);
  void ShowErrors(double uncorrectable, int32_t correctable, double ber);
  void ApplyLayout(bool tpsShown);
  void ShowModeText();
  void ShowNoAnswer(int snrBarMin, int snrBarMax);

  Demodulator* driver_ = nullptr;
  Bus* bus_ = nullptr;
  bool debugLayout_;
  int16_t resetFlag_ = 1;
  bool tpsExpanded_ = false;
  std::set<std::string> captionedThisPoll_;
  Reading lastReading_;  // what the driver wrote during the current poll
};
