// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include "monitor/Reading.h"

// Pointing an aerial: each poll's SNR against the SNR where reception of the
// current mode ends, and the best SNR seen since the start.
struct AlignFigures {
  bool polled = false;  // a reading has been taken
  bool answering = false;
  bool locked = false;
  std::string modeText;
  float snr = 0;                   // dB, this poll
  std::optional<float> peak;       // best SNR of a locked poll since the start
  std::optional<float> threshold;  // dB where reception ends; none for a mode without one
  std::optional<float> margin;     // SNR over the threshold; locked polls only
};

// Where reception of the reading's mode ends: 15 dB for 8-VSB, 22 dB for
// QAM 64, 28 dB for QAM 256, and for DVB-T the lowest threshold the monitor
// colours by for the constellation and code rate. None for other modes and
// for DVB-T parameters outside the table.
std::optional<float> ReceptionThreshold(const Reading& reading);

class Alignment {
 public:
  // Takes one poll's reading; the figures as they now stand.
  const AlignFigures& Update(const Reading& reading);
  const AlignFigures& figures() const { return figures_; }

 private:
  AlignFigures figures_;
};

// "8-VSB | SNR 25.3 dB | peak 27.1 dB | margin +10.3 dB over 15.0 dB | tone 802 Hz":
// the figures as the headless line and the window's status show them.
std::string AlignLine(const AlignFigures& figures, double toneHz);
// A figure in dB with one decimal: "25.0 dB".
std::string DbText(float value);
// The margin alone: "+10.3 dB", "-1.5 dB", "-" when there is none.
std::string MarginText(const AlignFigures& figures);
// Why there is no margin ("not locked", "no threshold for DVB-C", ...), or
// empty when there is one.
std::string NoMarginReason(const AlignFigures& figures);
