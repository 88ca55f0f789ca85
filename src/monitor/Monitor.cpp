#include "monitor/Monitor.h"

#include <algorithm>
#include <cmath>

#include "bus/Format.h"
#include "monitor/Codes.h"
#include "monitor/DesignLayout.h"
#include "monitor/DvbtThresholds.h"

namespace {

int32_t LampColor(int16_t flag) {
  switch (flag) {
    case -1: return Color::Grey;
    case 0: return Color::Red;
    case 1: return Color::LampGreen;
    default: return Color::Black;
  }
}

int StatusIcon(int32_t color) {
  switch (color) {
    case Color::Green: return 1;
    case Color::Yellow: return 2;
    case Color::Orange: return 3;
    case Color::Red: return 4;
    default: return 0;
  }
}

int BarValue(double v) {
  if (std::isnan(v)) return 0;
  double r = RoundHalfEven(v);
  return r > 2e9 ? 2000000000 : r < -2e9 ? -2000000000 : int(r);
}

struct Range {
  int min, max;
};

}  // namespace

Monitor::Monitor(bool debugLayout) : model(DesignModel(debugLayout)), debugLayout_(debugLayout) {}

void Monitor::Poll() {
  if (!driver_) return;
  const auto pollStart = std::chrono::system_clock::now();
  captionedThisPoll_.clear();
  if (bus_) bus_->failedReads = 0;
  Control& snrBar = model["vbalProgressBar1"];
  const int snrBarMin = snrBar.min, snrBarMax = snrBar.max;
  int16_t mode = driver_->OperatingMode();
  // A chip without a valid mode is shown exactly as a sleeping one.
  if (mode == Mode::None) mode = Mode::Sleep;
  Control& sleepBox = model["chkSleep"];
  Control& passBox = model["chkPassthru"];
  sleepBox.enabled = false;
  sleepBox.checked = false;

  ShowSnrAndLocks(mode);

  double uncorrectable = 0;
  int32_t correctable = 0;
  if (mode == Mode::Sleep) {
    resetFlag_ = 1;
    sleepBox.checked = true;
    passBox.enabled = false;
    model["lblMode"].text = "Sleep";
  } else {
    if (model["lblMasterLock"].fore == Color::LampGreen) {
      ShowModeReadings(mode);
      uncorrectable = driver_->UncorrectableErrors().Number();
      correctable = uncorrectable <= 63 ? int32_t(BarValue(driver_->PostVeterbiErrors().Number()))
                                        : 256;
    }
    // Setting the boxes from the chip's state does not write the chip back.
    passBox.enabled = false;
    passBox.checked = driver_->Passthru() != 0;
    passBox.enabled = true;
    sleepBox.checked = driver_->Sleep() != 0;
  }
  sleepBox.enabled = true;
  double ber = driver_->BERctr().Number();
  ShowErrors(uncorrectable, correctable, ber);

  if (mode != Mode::Sleep) {
    model["lblCOffset"].text = driver_->CarrierOffset().Text();
    model["lblCOHex"].text = driver_->CarrierOffsetHex().Text();
  }
  model.trayTooltip = model["lblMode"].text + " / " + model["vbalProgressBar1"].text + " / " +
                      model["vbalProgressBar2"].text + " / " + model["vbalProgressBar3"].text;

  // The readings above came partly from presets, not from the chip.
  model.answering = !bus_ || bus_->failedReads == 0;
  if (!model.answering) ShowNoAnswer(snrBarMin, snrBarMax);

  // The reading of this poll, taken from what the window shows.
  Reading& r = lastReading_;
  r.timestamp = pollStart;
  r.answering = model.answering;
  r.mode = model.answering ? mode : int16_t(-1);
  r.modeText = model["lblMode"].tag;
  r.locks = {-1, -1, -1, -1, -1};
  r.uncorrectable = 0;
  if (!model.answering) r.snr = r.average = 0;
  if (model.answering && mode != Mode::Sleep) {
    const char* lamps[] = {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"};
    for (int i = 0; i < 5; ++i) {
      auto fore = model[lamps[i]].fore;
      r.locks[i] = fore == Color::LampGreen ? 1 : fore == Color::Red ? 0 : -1;
    }
    r.uncorrectable = uncorrectable;
  }
  if (polled) polled(r);
}

void Monitor::ShowNoAnswer(int snrBarMin, int snrBarMax) {
  resetFlag_ = 1;  // the next good poll starts its average afresh
  Control& mode = model["lblMode"];
  mode.text = mode.tag = "No answer";
  for (const char* lamp : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
    model[lamp].fore = Color::Grey;
  Control& label = model["lblSNR"];
  label.text = SingleText(0) + " / " + SingleText(0) + " (avg)";
  label.back = Color::Grey;
  Control& bar = model["vbalProgressBar1"];
  bar.color = Color::Grey;
  bar.min = snrBarMin, bar.max = snrBarMax;
  bar.value = 0;
  bar.text = bar.prefix + SingleText(0);
  bar.tooltip = SingleText(0) + " / " + SingleText(0) + "(Avg)";
  ShowErrors(0, 0, 0);
  model.statusIcon = 0;
  // The boxes' ticks came from presets too: nothing to tick or untick.
  for (const char* box : {"chkPassthru", "chkSleep"}) {
    model[box].enabled = false;
    model[box].checked = false;
  }
  model.trayTooltip = "No answer from the demodulator";
}

void Monitor::ShowSnrAndLocks(int16_t mode) {
  int32_t color = 0;
  float snr = 0, avg = 0;
  int16_t flags[5] = {-1, -1, -1, -1, -1};
  if (mode == Mode::Sleep) {
    color = Color::Grey;
  } else {
    model["lblF0F1"].text = driver_->SNRRegisters().Text();
    snr = driver_->SNR(mode, avg, color, resetFlag_);
    flags[0] = flags[1] = flags[2] = flags[3] = flags[4] = 0;
    driver_->GetLockStatus(flags[0], flags[1], flags[2], flags[3], flags[4]);
    bool anyLock = false;
    for (int16_t f : flags) anyLock |= f >= 1;
    if (!anyLock || flags[0] == 0) {
      color = Color::Red;
      snr = 0;
    }
  }
  model.statusIcon = StatusIcon(color);

  Control& label = model["lblSNR"];
  label.text = SingleText(snr) + " / " + SingleText(avg) + " (avg)";
  lastReading_.snr = snr, lastReading_.average = avg;
  label.back = color;

  Control& bar = model["vbalProgressBar1"];
  bar.color = color;
  bar.value = BarValue(snr);
  bar.text = bar.prefix + SingleText(snr);
  bar.tooltip = SingleText(snr) + " / " + SingleText(avg) + "(Avg)";

  ShowTps(mode);
  static const Range ranges[] = {{12, 30}, {19, 40}, {25, 40}, {0, 0}, {15, 25}, {25, 40}, {0, 20}};
  if (mode >= 0 && mode <= Mode::AtscMh) {
    if (mode != Mode::Sleep) {
      bar.min = ranges[mode].min;
      if (bar.value <= bar.min) bar.value = bar.min + 1;
      bar.max = ranges[mode].max;
    }
    model["lblMode"].tag = ModeText(mode);
  }
  ShowModeText();

  static const char* lamps[] = {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync",
                                "lblAFCLock"};
  for (int i = 0; i < 5; ++i) model[lamps[i]].fore = LampColor(flags[i]);
}

void Monitor::ShowModeText() {
  Control& label = model["lblMode"];
  bool dvbT = label.tag == ModeText(Mode::DvbT);
  label.text = dvbT && !tpsExpanded_ ? model["lblConst"].text : label.tag;
}

void Monitor::ShowTps(int16_t mode) {
  bool dvb = mode == Mode::DvbT || mode == Mode::DvbC;
  ApplyLayout(dvb && tpsExpanded_);
  if (!dvb) return;
  model["lblMode"].text = ModeText(mode);
  int16_t modulation = 0, hierarchy = 0, hplp = 0, rate = 0, guard = 0, fft = 0;
  driver_->GetTPS(modulation, hierarchy, hplp, rate, guard, fft);
  auto show = [&](const char* name, const std::string& text) {
    if (!text.empty()) model[name].text = text;
  };
  show("lblConst", ModulationText(modulation));
  show("lblHierarchy", HierarchyText(hierarchy));
  show("lblCodeRateK", SelectHPLPText(hplp));
  show("lblCodeRate", CodeRateText(rate));
  show("lblGuard", GuardText(guard));
  show("lblTransmissionMode", TransmissionModeText(fft));
}

void Monitor::ApplyLayout(bool tpsShown) {
  if (minimized) return;
  Control& lock = model["frLock"];
  Control& tps = model["frTPS"];
  if (tpsShown) {
    lock.height = Design::LockHeightWithTps;
    tps.top = lock.top + lock.height + Design::TpsGap;
    tps.visible = true;
    if (!debugLayout_) model.windowHeight = tps.top + tps.height + Design::BottomMargin;
  } else {
    lock.height = Design::LockHeightNormal;
    tps.visible = false;
    if (!debugLayout_) model.windowHeight = lock.top + lock.height + Design::BottomMargin;
  }
  // The panel covers the boxes' place; they come back when it goes.
  if (!debugLayout_)
    for (const char* name : {"chkSleep", "chkPassthru", "lstLog"}) model[name].visible = !tpsShown;
}

void Monitor::ShowModeReadings(int16_t mode) {
  if (mode == Mode::Vsb8) {
    model["lblSymbolTiming"].text = driver_->SymbolTiming().Text();
    model["lblAutoFreq"].text = driver_->AutoFreq().Text();
    model["lblPilot"].text = driver_->PilotPwr().HexText();
  } else if (mode == Mode::Qam64 || mode == Mode::Qam256) {
    // A driver that captioned the AGC labels in this poll has said what they
    // show; its readings are not overwritten by the generic ones.
    int16_t agc = ToInt16(driver_->AGCPowerRef().Number());
    if (!captionedThisPoll_.count("lblAGC")) {
      Control& label = model["lblAGC"];
      label.text = "AGC " + Hex(agc);
      label.fore = agc < 0x600 ? Color::Red : Color::LampGreen;
    }
    std::string ifGain = driver_->IFGain().HexText();
    if (!captionedThisPoll_.count("lblIFGain")) model["lblIFGain"].text = ifGain;
    model["lblSTRTime"].text = driver_->STRTime().HexText();
    model["lblFreqOffset"].text = driver_->FreqOffset().HexText();
  }
}

void Monitor::ShowErrors(double uncorrectable, int32_t correctable, double ber) {
  // A counter setting outside the divisor table has no rate to show.
  bool known = ber >= 0 && ber <= 3 && ber == std::floor(ber);
  model["lblUncorError"].text = "Uncorr " + NumberText(uncorrectable);
  model["lblUcBer"].text = known ? Scientific(uncorrectable / kBerDivisors[size_t(ber)]) : "";
  Control& bar2 = model["vbalProgressBar2"];
  bar2.color = uncorrectable >= 0 && uncorrectable <= 1    ? Color::Green
               : uncorrectable >= 2 && uncorrectable <= 5  ? Color::Yellow
               : uncorrectable >= 6 && uncorrectable <= 10 ? Color::Orange
                                                           : Color::Red;
  bar2.value = BarValue(uncorrectable);
  bar2.text = bar2.prefix + SignedText(uncorrectable);
  bar2.tooltip = model["lblUcBer"].text;
  bar2.min = 0, bar2.max = 30;

  model["lblPost"].text = "Post V " + NumberText(correctable);
  model["lblBER"].text = Scientific(correctable / 65535.0);
  Control& bar3 = model["vbalProgressBar3"];
  bar3.color = correctable >= 0 && correctable <= 30    ? Color::Green
               : correctable >= 31 && correctable <= 75  ? Color::Yellow
               : correctable >= 76 && correctable <= 200 ? Color::Orange
                                                         : Color::Red;
  bar3.value = correctable;
  bar3.text = bar3.prefix + SignedText(correctable);
  bar3.tooltip = model["lblBER"].text;
  bar3.min = 0, bar3.max = 375;
}

void Monitor::PollIntervalChange() {
  Control& slider = model["Slider1"];
  slider.enabled = false;
  model.timerInterval = 0;
  if (slider.value < slider.max - 250) {
    resetFlag_ = 1;
    Poll();
    model.timerInterval = slider.value + 200;
  } else {
    model["chkPoll"].checked = false;
  }
  slider.enabled = true;
}

void Monitor::SliderChanged(int value) {
  Control& slider = model["Slider1"];
  slider.value = std::clamp(value, slider.min, slider.max);
  PollIntervalChange();
}

void Monitor::PollToggled(bool ticked) {
  model["chkPoll"].checked = ticked;
  model.timerInterval = 0;
  if (!ticked) return;
  Control& slider = model["Slider1"];
  slider.enabled = false;
  if (slider.value >= slider.max - 250) slider.value = 800;
  PollIntervalChange();
}

void Monitor::PassthruToggled(bool ticked) {
  model["chkPassthru"].checked = ticked;
  if (driver_) driver_->Passthru(ticked ? 1 : 0);
}

void Monitor::SleepToggled(bool ticked) {
  model["chkSleep"].checked = ticked;
  if (driver_) driver_->Sleep(ticked ? 1 : 0);
}

void Monitor::ModeLabelClicked() {
  if (!driver_) return;
  bool dvbT = driver_->OperatingMode() == Mode::DvbT;
  tpsExpanded_ = !tpsExpanded_;
  ApplyLayout(dvbT && tpsExpanded_);
  Control& label = model["lblMode"];
  label.text = dvbT && !tpsExpanded_ ? model["lblConst"].text : label.tag;
}

void Monitor::SetCaption(const std::string& control, const std::string& caption) {
  captionedThisPoll_.insert(control);
  if (model.Has(control)) model[control].text = caption;
}
void Monitor::SetWidth(const std::string& control, int twips) {
  if (model.Has(control)) model[control].width = twips;
}
void Monitor::SetVisible(const std::string& control, bool visible) {
  if (model.Has(control)) model[control].visible = visible;
}
void Monitor::SetFont(const std::string& control, const std::string& family, int points) {
  if (!model.Has(control)) return;
  model[control].fontFamily = family;
  model[control].fontPoints = points;
}
void Monitor::SetSnrBarPrefix(const std::string& prefix) {
  model["vbalProgressBar1"].prefix = prefix;
}

void Monitor::ColorizeSNR(float aSNR, int32_t& color) {
  int16_t modulation = 0, hierarchy = 0, hplp = 0, rate = 0, guard = 0, fft = 0;
  if (driver_) driver_->GetTPS(modulation, hierarchy, hplp, rate, guard, fft);
  color = DvbtThresholdColor(modulation, rate, aSNR);
}
