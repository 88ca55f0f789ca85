// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bus/I2cAdapters.h"

// The machine's DVB frontends as the kernel lists them in
// <sys>/class/dvb/dvbA.frontendF, with their nodes <dev>/dvb/adapterA/frontendF
// and the I2C adapters of the same card.
//
// A card is the device the DVB adapter was registered under (the frontend's
// "device" link); its I2C adapters are those whose sysfs directory is that
// device or lies below it: a PCI card's adapters sit in its PCI device, a USB
// stick's in its USB device, the channels of an I2C multiplexer below the
// adapter they hang from, and the kernel's virtual test driver registers its
// DVB adapter under its I2C adapter itself.

// The frontend's name as FE_GET_INFO gives it, from a read-only open of the
// node; nullopt with a short reason ("busy", ...) when it cannot be read.
using FrontendNameLookup =
    std::function<std::optional<std::string>(const std::string& node, std::string& whyNot)>;

struct DvbFrontend {
  int adapter = 0;
  int frontend = 0;
  std::string node;              // <dev>/dvb/adapterA/frontendF, whether or not it exists
  std::string name;              // from FE_GET_INFO; empty when not read
  std::string whyNot;            // why it may not be opened read-only; empty when it may
  std::vector<int> i2cAdapters;  // the card's I2C adapters, by number
  std::string Label() const;     // "dvbA.frontendF", as sysfs names it
};

struct DvbFrontendList {
  bool kernelSupport = false;          // <sys>/class/dvb exists
  std::vector<DvbFrontend> frontends;  // by adapter, then frontend
};

// Reads sysfs and stats the nodes; only a node this user may read is opened,
// and only through nameOf. Without nameOf no node is opened and no name read.
DvbFrontendList ListDvbFrontends(const I2cAdapterRoots& roots, const Credentials& who,
                                 const FrontendNameLookup& nameOf);

// The frontend part of the --list-buses report.
AdapterListReport FrontendListText(const DvbFrontendList& list);
