// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "support/FakeSysfs.h"

// A machine with the cards the kernel lays out in different ways:
//   dvb0: a PCI card with two frontends and three I2C adapters (7, 8, 9);
//   dvb1: a USB stick whose demodulator sits behind an I2C multiplexer: the
//         stick's adapter 10, the multiplexer's channel 11 below it;
//   dvb2: a second stick at port 1-10, whose path starts with the first's (1-1);
//   dvb3: the kernel's virtual test driver, its DVB adapter registered under
//         its I2C adapter 0;
//   dvb4: a card without any I2C adapter;
// and the chipset's SMBus adapter 1, on no card.
// Nodes: frontends belong to the video group (44), dvb3's only readable by
// it; i2c-dev nodes to the i2c group (101) except i2c-7 and i2c-12 (root's
// only); i2c-10 and i2c-11 have none (no i2c-dev module when the stick came),
// nor has dvb4's frontend; dvb2's frontend is root's.
inline constexpr gid_t kVideo = 44, kI2c = 101;

inline void BuildFakeCards(FakeSysfs& m) {
  const std::string pci = "pci0000:00/0000:00:1c.0/0000:03:00.0";
  m.AdapterUnder(pci, 7, "cx23885[0]", 0600);
  m.AdapterUnder(pci, 8, "cx23885[1]", 0660, 0, kI2c);
  m.AdapterUnder(pci, 9, "cx23885[2]", 0660, 0, kI2c);
  m.Dvb(pci, "dvb0.frontend0", m.FrontendNode(0, 0), 0660, 0, kVideo);
  m.Dvb(pci, "dvb0.frontend1", m.FrontendNode(0, 1), 0660, 0, kVideo);
  m.Dvb(pci, "dvb0.demux0", m.roots.dev + "/dvb/adapter0/demux0", 0660, 0, kVideo);

  const std::string usb = "pci0000:00/0000:00:14.0/usb1/1-1";
  std::string stickBus = m.AdapterUnder(usb, 10, "Realtek RTL2832U reference design", -1);
  m.AdapterUnder(stickBus, 11, "i2c-10-mux (chan_id 0)", -1);
  m.Dvb(usb, "dvb1.frontend0", m.FrontendNode(1, 0), 0660, 0, kVideo);

  const std::string usb2 = "pci0000:00/0000:00:14.0/usb1/1-10";
  m.AdapterUnder(usb2, 12, "Realtek RTL2832U reference design", 0600);
  m.Dvb(usb2, "dvb2.frontend0", m.FrontendNode(2, 0), 0600);

  std::string virtualBus = m.AdapterUnder("platform/vidtv.0", 0, "vidtv_i2c", 0660, 0, kI2c);
  m.Dvb(virtualBus, "dvb3.frontend0", m.FrontendNode(3, 0), 0640, 0, kVideo);

  m.Dvb("pci0000:00/0000:00:1e.0/0000:05:00.0", "dvb4.frontend0", m.FrontendNode(4, 0), -1);

  m.AdapterUnder("pci0000:00/0000:00:1f.3", 1, "SMBus I801 adapter at f000", 0600);
}

// A user in the video and i2c groups, neither root nor the nodes' owner.
inline const Credentials kCardUser{1000, {1000, kVideo, kI2c}};
