// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/PlainDvbtDriver.h"

#include "monitor/Codes.h"

int16_t PlainDvbtDriver::OperatingMode() {
  ReadTPS();
  return Mode::DvbT;
}

void PlainDvbtDriver::GetTPS(int16_t& Modulation, int16_t& Hierarchy, int16_t& SelectHPLP,
                             int16_t& CodeRate, int16_t& Guard, int16_t& TransmissionMode) {
  tps_.CopyTo(Modulation, Hierarchy, SelectHPLP, CodeRate, Guard, TransmissionMode);
}
