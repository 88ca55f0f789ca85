// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dvb/Disagreement.h"
#include "dvb/KernelReading.h"
#include "monitor/Event.h"

// The DVB-T/DVB-C transmission parameters of one poll: the chip's codes and
// the texts shown for them (empty for a code without a text). DVB-C has a
// constellation only: its other codes mean nothing and their texts are empty.
struct TpsReading {
  int16_t modulation = 0, hierarchy = 0, selectHPLP = 0, codeRate = 0, guard = 0,
          transmissionMode = 0;
  std::string modulationText, hierarchyText, codeRateCaption, codeRateText, guardText,
      transmissionModeText;
  bool cable = false;
};

// What one poll got from the demodulator, without any window. A poll that
// got no answer holds no readings: its lamps are not applicable, its SNR,
// average and counts are 0; only the carrier texts stay as shown.
struct Reading {
  enum LockIndex { MasterLock, EqLock, FecLock, VsbSync, AfcLock };

  bool answering = true;
  // Why the card has no register view, when it is read through its
  // frontend alone: the poll then holds no readings, as one without answer.
  std::string noRegisterView;
  std::chrono::system_clock::time_point timestamp;  // when the poll started

  int16_t mode = -1;     // operating mode code as the chip reported it
  std::string modeText;  // "8-VSB" ... "Sleep" (also for -1), "No answer"
  std::array<int16_t, 5> locks = {-1, -1, -1, -1, -1};  // by LockIndex; 1, 0 or -1

  float snr = 0, average = 0;  // dB, one decimal
  int32_t color = 0;           // quality colour, red in the low byte; grey while asleep
  std::string snrRegisters;    // raw registers behind the SNR; empty when not read

  double uncorrectable = 0;
  int32_t correctable = 0;
  double berCounter = 0;  // the chip's error-counter setting
  // Uncorrectable count over the divisor of the counter setting; none for a
  // setting outside the divisor table.
  std::optional<double> uncorrectableRate;
  double correctableBer = 0;  // correctable count over 65535

  // Not asked of a sleeping chip: the window keeps what it showed before.
  std::optional<std::string> carrierOffset, carrierOffsetHex;

  // The mode readings as the texts shown; empty when not read (not locked,
  // or a mode without them). agc is the AGC power reference in hexadecimal.
  std::string symbolTiming, autoFreq, pilot;
  std::string agc, ifGain, strTime, freqOffset;
  int16_t agcPowerRef = 0;

  std::optional<TpsReading> tps;           // DVB-T and DVB-C only
  std::optional<bool> passthru, sleeping;  // the gate and sleep states; not asked while asleep

  // The kernel's view of the same card, when a frontend is being read, and
  // where the two views disagree this poll.
  std::optional<KernelReading> kernel;
  std::vector<Disagreement> disagree;

  // What changed since the previous poll, and the sums since the start.
  std::vector<Event> events;
  EventTally tally;

  bool locked() const { return locks[MasterLock] == 1; }
};
