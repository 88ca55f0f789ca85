// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

class MonitorView;

// Window relabelling shared by the LG ATSC/QAM demodulators, which show their
// AGC levels in the QAM frame and their own lock meanings on the lamps.

// Lamp captions, the "AGC:" frame with both AGC levels, and the readings
// these chips do not have hidden.
void LabelLgLockPanel(MonitorView& view, int32_t rfAgc, int32_t ifAgc);

// The carrier frame under the given caption, widened so it fits.
void WidenLgCarrierFrame(MonitorView& view, const std::string& caption);
