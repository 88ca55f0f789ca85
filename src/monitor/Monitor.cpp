// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Monitor.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "bus/ReadOnlyI2cLibrary.h"
#include "monitor/Codes.h"
#include "monitor/DesignLayout.h"
#include "monitor/DvbtThresholds.h"
#include "monitor/KernelPanel.h"
#include "numbers/Format.h"

namespace {

// A poll that took no register reading: grey, with a mode text that says why.
Reading Unread(std::chrono::system_clock::time_point timestamp, std::string modeText) {
  Reading r;
  r.answering = false;
  r.timestamp = timestamp;
  r.modeText = std::move(modeText);
  r.color = Color::Grey;
  return r;
}

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

// The labels that show what a poll read from the chip, beyond the lamps,
// the SNR and the errors.
constexpr const char* kReadingLabels[] = {
    "lblF0F1",      "lblCOffset",  "lblCOHex",      "lblAGC",
    "lblIFGain",    "lblSTRTime",  "lblFreqOffset", "lblSymbolTiming",
    "lblAutoFreq",  "lblPilot",    "lblConst",      "lblHierarchy",
    "lblCodeRateK", "lblCodeRate", "lblGuard",      "lblTransmissionMode"};

std::string SnrText(float snr, float average) {
  return SingleText(snr) + " / " + SingleText(average);
}

}  // namespace

Monitor::Monitor(bool debugLayout, bool readOnly)
    : model(DesignModel(debugLayout)), debugLayout_(debugLayout), readOnly_(readOnly) {
  RefuseWritingBoxes();
}

void Monitor::ForgetBoard() {
  Monitor fresh(debugLayout_, readOnly_);
  fresh.clock = std::move(clock);
  fresh.observers_ = std::move(observers_);
  // The totals span the run; what was lost or disagreed belongs to the old board.
  fresh.events_ = std::move(events_);
  fresh.events_.ForgetStates();
  fresh.minimized = minimized;
  fresh.model["Slider1"].value = model["Slider1"].value;
  *this = std::move(fresh);
}

// The boxes still show the chip's state; only the user's hand is kept off.
void Monitor::RefuseWritingBoxes() {
  if (!readOnly_) return;
  for (const char* box : {"chkPassthru", "chkSleep"}) {
    model[box].enabled = false;
    model[box].tooltip = kReadOnlyNote;
  }
}

void Monitor::Poll() {
  if (driver_) {
    PollRegisters();
  } else if (kernel_ && !noRegisterView_.empty()) {
    lastReading_ = KernelOnlyReading(noRegisterView_, clock());
  } else {
    return;
  }
  // The kernel is read after the registers: a simulated driver follows
  // what the registers just said.
  if (kernel_) {
    Reading& r = lastReading_;
    r.kernel = kernel_->Poll();
    r.disagree = disagreement_.Check(r, *r.kernel);
    KernelPanel::Show(model, *r.kernel, r.disagree);
  }
  lastReading_.events = events_.Take(lastReading_);
  lastReading_.tally = events_.tally();
  for (const auto& observer : observers_) observer(lastReading_);
}

void Monitor::PollRegisters() {
  captions_ = {};
  readAt_.clear();
  if (bus_) bus_->failedReads = 0;
  const Control& snrBar = model["vbalProgressBar1"];
  const int snrBarMin = snrBar.min, snrBarMax = snrBar.max;
  Reading reading = Read();
  // The readings came partly from presets, not from the chip.
  reading.answering = !bus_ || bus_->failedReads == 0;
  Show(reading);
  model.answering = reading.answering;
  if (!reading.answering) {
    ShowNoAnswer(snrBarMin, snrBarMax);
    reading = NoAnswer(reading);
  }
  RefuseWritingBoxes();
  lastReading_ = std::move(reading);
}

void Monitor::SetRegisterViewMissing(const std::string& why) {
  noRegisterView_ = why;
  // Every frame, bar and box of the register view goes (their children with
  // them): no stale or zero reading stands where nothing was read. The
  // poll controls stay, and poll the kernel.
  for (const auto& name : model.order) {
    Control& c = model[name];
    const bool pollControl = name == "Slider1" || name == "Label1" || name == "Label2" ||
                             name == "chkPoll" || name == "cmdUpdate" || name == "lstLog";
    if (c.parent.empty() && !pollControl && name != "frKernel") c.visible = false;
  }
  Control line;
  line.kind = "label";
  line.text = why;
  line.wrap = true;
  line.left = 150;
  line.top = 90;
  line.width = model["frLock"].left + model["frLock"].width - line.left;
  line.height = model["Slider1"].top - 2 * line.top;
  if (!model.Has("lblNoRegisterView")) model.Add("lblNoRegisterView", line);
  model["lblNoRegisterView"] = line;
  model.answering = false;
  model.statusIcon = 0;
  model.trayTooltip = why;
}

void Monitor::SetKernelSource(KernelSource* source) {
  kernel_ = source;
  disagreement_ = {};
  if (source) KernelPanel::Add(model);
}

Reading Monitor::Read() {
  Reading r;
  r.timestamp = clock();
  r.mode = driver_->OperatingMode();
  // A chip without a valid mode is shown exactly as a sleeping one.
  int16_t mode = r.mode == Mode::None ? Mode::Sleep : r.mode;
  if (mode == Mode::Sleep) {
    r.color = Color::Grey;
  } else {
    r.snrRegisters = MarkRead("lblF0F1", driver_->SNRRegisters()).Text();
    r.snr = driver_->SNR(mode, r.average, r.color, resetFlag_);
    r.mode = mode;
    r.locks.fill(0);
    driver_->GetLockStatus(r.locks[0], r.locks[1], r.locks[2], r.locks[3], r.locks[4]);
    bool anyLock = false;
    for (int16_t f : r.locks) anyLock |= f >= 1;
    if (!anyLock || r.locks[Reading::MasterLock] == 0) {
      r.color = Color::Red;
      r.snr = 0;
    }
  }
  r.modeText = ModeText(mode);
  if (mode == Mode::DvbT || mode == Mode::DvbC) r.tps = ReadTps(mode == Mode::DvbC);

  if (mode == Mode::Sleep) {
    resetFlag_ = 1;
  } else {
    if (r.locked()) {
      ReadModeReadings(mode, r);
      r.uncorrectable = driver_->UncorrectableErrors().Number();
      r.correctable =
          r.uncorrectable <= 63 ? int32_t(BarValue(driver_->PostVeterbiErrors().Number())) : 256;
    }
    r.passthru = driver_->Passthru() != 0;
    r.sleeping = driver_->Sleep() != 0;
  }
  r.berCounter = driver_->BERctr().Number();
  // A counter setting outside the divisor table has no rate.
  const double b = r.berCounter;
  if (b >= 0 && b <= 3 && b == std::floor(b))
    r.uncorrectableRate = r.uncorrectable / kBerDivisors[size_t(b)];
  r.correctableBer = r.correctable / 65535.0;

  if (mode != Mode::Sleep) {
    r.carrierOffset = MarkRead("lblCOffset", driver_->CarrierOffset()).Text();
    r.carrierOffsetHex = MarkRead("lblCOHex", driver_->CarrierOffsetHex()).Text();
  }
  return r;
}

TpsReading Monitor::ReadTps(bool cable) {
  TpsReading t;
  driver_->GetTPS(t.modulation, t.hierarchy, t.selectHPLP, t.codeRate, t.guard, t.transmissionMode);
  t.modulationText = TpsText(TpsField::Modulation, t.modulation);
  t.cable = cable;
  if (cable) return t;
  t.hierarchyText = TpsText(TpsField::Hierarchy, t.hierarchy);
  t.codeRateCaption = TpsText(TpsField::SelectHPLP, t.selectHPLP);
  t.codeRateText = TpsText(TpsField::CodeRate, t.codeRate);
  t.guardText = TpsText(TpsField::Guard, t.guard);
  t.transmissionModeText = TpsText(TpsField::TransmissionMode, t.transmissionMode);
  return t;
}

void Monitor::ReadModeReadings(int16_t mode, Reading& r) {
  if (mode == Mode::Vsb8) {
    r.symbolTiming = MarkRead("lblSymbolTiming", driver_->SymbolTiming()).Text();
    r.autoFreq = MarkRead("lblAutoFreq", driver_->AutoFreq()).Text();
    r.pilot = MarkRead("lblPilot", driver_->PilotPwr()).HexText();
  } else if (mode == Mode::Qam64 || mode == Mode::Qam256) {
    r.agcPowerRef = ToInt16(MarkRead("lblAGC", driver_->AGCPowerRef()).Number());
    r.agc = Hex(r.agcPowerRef);
    r.ifGain = MarkRead("lblIFGain", driver_->IFGain()).HexText();
    r.strTime = MarkRead("lblSTRTime", driver_->STRTime()).HexText();
    r.freqOffset = MarkRead("lblFreqOffset", driver_->FreqOffset()).HexText();
  }
}

Reading Monitor::KernelOnlyReading(const std::string& noRegisterView,
                                   std::chrono::system_clock::time_point timestamp) {
  Reading r = Unread(timestamp, "No register view");
  r.noRegisterView = noRegisterView;
  return r;
}

Reading Monitor::NoAnswer(const Reading& read) {
  Reading r = Unread(read.timestamp, "No answer");
  r.uncorrectableRate = 0;
  return r;
}

Value Monitor::MarkRead(const std::string& control, Value reading) {
  readAt_[control] = captions_.count;
  return reading;
}

void Monitor::ShowRead(const std::string& control, const std::string& text) {
  // A driver that captioned the label after its reading was taken has the
  // last word, as it would have had with the label written at once.
  auto caption = captions_.at.find(control);
  if (caption == captions_.at.end() || caption->second.last <= readAt_[control])
    model[control].text = text;
}

bool Monitor::CaptionedBeforeRead(const std::string& control) const {
  auto caption = captions_.at.find(control);
  auto read = readAt_.find(control);
  return caption != captions_.at.end() && read != readAt_.end() &&
         caption->second.first <= read->second;
}

void Monitor::Show(const Reading& r) {
  const int16_t mode = r.mode == Mode::None ? Mode::Sleep : r.mode;
  Control& sleepBox = model["chkSleep"];
  Control& passBox = model["chkPassthru"];
  sleepBox.enabled = false;
  sleepBox.checked = false;

  ShowSnrAndLocks(mode, r);

  if (mode == Mode::Sleep) {
    sleepBox.checked = true;
    passBox.enabled = false;
    model["lblMode"].text = "Sleep";
  } else {
    if (r.locked()) ShowModeReadings(mode, r);
    // Setting the boxes from the chip's state does not write the chip back.
    passBox.enabled = false;
    passBox.checked = r.passthru.value_or(false);
    passBox.enabled = true;
    sleepBox.checked = r.sleeping.value_or(false);
  }
  sleepBox.enabled = true;
  ShowErrors(r);

  if (r.carrierOffset) ShowRead("lblCOffset", *r.carrierOffset);
  if (r.carrierOffsetHex) ShowRead("lblCOHex", *r.carrierOffsetHex);
  model.trayTooltip = model["lblMode"].text + " / " + model["vbalProgressBar1"].text + " / " +
                      model["vbalProgressBar2"].text + " / " + model["vbalProgressBar3"].text;
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
  bar.min = snrBarMin;
  bar.max = snrBarMax;
  bar.value = 0;
  bar.text = bar.prefix + SingleText(0);
  bar.tooltip = SingleText(0) + " / " + SingleText(0) + "(Avg)";
  ShowErrors(NoAnswer(Reading{}));
  model.statusIcon = 0;
  // What the drivers made of the reads' presets is no reading: each label
  // shows its caption, as before the first poll.
  const ViewModel design = DesignModel(debugLayout_);
  for (const char* name : kReadingLabels) {
    model[name].text = design[name].text;
    model[name].fore = design[name].fore;
  }
  // The boxes' ticks came from presets too: nothing to tick or untick.
  for (const char* box : {"chkPassthru", "chkSleep"}) {
    model[box].enabled = false;
    model[box].checked = false;
  }
  model.trayTooltip = "No answer from the demodulator";
}

void Monitor::ShowSnrAndLocks(int16_t mode, const Reading& r) {
  if (mode != Mode::Sleep) ShowRead("lblF0F1", r.snrRegisters);
  model.statusIcon = StatusIcon(r.color);

  Control& label = model["lblSNR"];
  label.text = SnrText(r.snr, r.average) + " (avg)";
  label.back = r.color;

  Control& bar = model["vbalProgressBar1"];
  bar.color = r.color;
  bar.value = BarValue(r.snr);
  bar.text = bar.prefix + SingleText(r.snr);
  bar.tooltip = SnrText(r.snr, r.average) + "(Avg)";

  ShowTps(mode, r);
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

  for (int i = 0; i < 5; ++i) model[kLampNames[i]].fore = LampColor(r.locks[i]);
}

void Monitor::ShowModeText() {
  Control& label = model["lblMode"];
  bool dvbT = label.tag == ModeText(Mode::DvbT);
  label.text = dvbT && !tpsExpanded_ ? model["lblConst"].text : label.tag;
}

void Monitor::ShowTps(int16_t mode, const Reading& r) {
  bool dvb = mode == Mode::DvbT || mode == Mode::DvbC;
  ApplyLayout(dvb && tpsExpanded_);
  if (!dvb || !r.tps) return;
  model["lblMode"].text = ModeText(mode);
  auto show = [&](const char* name, const std::string& text) {
    if (!text.empty()) model[name].text = text;
  };
  show("lblConst", r.tps->modulationText);
  show("lblHierarchy", r.tps->hierarchyText);
  show("lblCodeRateK", r.tps->codeRateCaption);
  show("lblCodeRate", r.tps->codeRateText);
  show("lblGuard", r.tps->guardText);
  show("lblTransmissionMode", r.tps->transmissionModeText);
  if (r.tps->cable)
    for (const char* name : {"lblHierarchy", "lblCodeRate", "lblGuard", "lblTransmissionMode"})
      model[name].text = "";
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

void Monitor::ShowModeReadings(int16_t mode, const Reading& r) {
  if (mode == Mode::Vsb8) {
    ShowRead("lblSymbolTiming", r.symbolTiming);
    ShowRead("lblAutoFreq", r.autoFreq);
    ShowRead("lblPilot", r.pilot);
  } else if (mode == Mode::Qam64 || mode == Mode::Qam256) {
    // A driver that captioned the AGC labels before their readings has said
    // what they show; its readings are not overwritten by the generic ones.
    if (!CaptionedBeforeRead("lblAGC")) {
      ShowRead("lblAGC", "AGC " + r.agc);
      model["lblAGC"].fore = r.agcPowerRef < 0x600 ? Color::Red : Color::LampGreen;
    }
    if (!CaptionedBeforeRead("lblIFGain")) ShowRead("lblIFGain", r.ifGain);
    ShowRead("lblSTRTime", r.strTime);
    ShowRead("lblFreqOffset", r.freqOffset);
  }
}

void Monitor::ShowErrors(const Reading& r) {
  const double uncorrectable = r.uncorrectable;
  const int32_t correctable = r.correctable;
  model["lblUncorError"].text = "Uncorr " + NumberText(uncorrectable);
  model["lblUcBer"].text = r.uncorrectableRate ? Scientific(*r.uncorrectableRate) : "";
  Control& bar2 = model["vbalProgressBar2"];
  bar2.color = uncorrectable >= 0 && uncorrectable <= 1    ? Color::Green
               : uncorrectable >= 2 && uncorrectable <= 5  ? Color::Yellow
               : uncorrectable >= 6 && uncorrectable <= 10 ? Color::Orange
                                                           : Color::Red;
  bar2.value = BarValue(uncorrectable);
  bar2.text = bar2.prefix + SignedText(uncorrectable);
  bar2.tooltip = model["lblUcBer"].text;
  bar2.min = 0;
  bar2.max = 30;

  model["lblPost"].text = "Post V " + NumberText(correctable);
  model["lblBER"].text = Scientific(r.correctableBer);
  Control& bar3 = model["vbalProgressBar3"];
  bar3.color = correctable >= 0 && correctable <= 30     ? Color::Green
               : correctable >= 31 && correctable <= 75  ? Color::Yellow
               : correctable >= 76 && correctable <= 200 ? Color::Orange
                                                         : Color::Red;
  bar3.value = correctable;
  bar3.text = bar3.prefix + SignedText(correctable);
  bar3.tooltip = model["lblBER"].text;
  bar3.min = 0;
  bar3.max = 375;
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
  if (readOnly_) return;
  model["chkPassthru"].checked = ticked;
  if (driver_) driver_->Passthru(ticked ? 1 : 0);
}

void Monitor::SleepToggled(bool ticked) {
  if (readOnly_) return;
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
  auto [at, first] = captions_.at.try_emplace(control, CaptionLog::At{++captions_.count, 0});
  at->second.last = captions_.count;
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
