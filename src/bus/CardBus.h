// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "bus/I2cAdapters.h"

// What a --bus value names on a real card: the DVB frontend for the kernel's
// view and the I2C bus for the register view. Found from sysfs and the nodes'
// modes alone: nothing is opened.
struct CardBuses {
  std::string frontend;        // <dev>/dvb/adapterA/frontendF; empty when the card has none
  std::string i2cBus;          // the node the register view opens; empty when there is none
  std::string noRegisterView;  // one line saying why i2cBus is empty
};

// "dvbA", "dvbA.F", "dvbA.frontendF" and "<dev>/dvb/adapterA/frontendF" name
// a frontend (F is 0 when left out); the register view takes the lowest-
// numbered I2C adapter of its card that this user may open. Any other value
// names an I2C bus as ResolveBusName reads it, and brings the first frontend
// of the same card. False with a message when nothing has that name.
bool ResolveCard(const std::string& bus, const I2cAdapterRoots& roots, const Credentials& who,
                 CardBuses& out, std::string& error);
