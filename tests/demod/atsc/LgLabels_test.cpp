// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/LgLabels.h"

#include <gtest/gtest.h>

#include "demod/ChipRig.h"
#include "demod/atsc/lgdt3305.h"
#include "demod/atsc/lgdt3306.h"
#include "monitor/Monitor.h"

namespace {

using Labels = std::pair<std::string, std::string>;

// One poll of a locked QAM 64 chip through the monitor: what the AGC labels show.
template <class Driver>
Labels AgcLabelsAfterAPoll(const std::string& chip, const Regs& regs) {
  FileBoard b(OneChip(chip, Json(regs)));
  Monitor monitor(false);
  Driver driver(*b.bus, monitor);
  EXPECT_TRUE(driver.probe());
  monitor.SetDriver(&driver);
  monitor.Poll();
  EXPECT_EQ(monitor.model["lblMode"].text, "QAM 64");
  EXPECT_EQ(monitor.model["lblMasterLock"].fore, Color::LampGreen);
  EXPECT_FALSE(monitor.model["lblAGC"].fore.has_value()) << "not coloured red";
  return {monitor.model["lblAGC"].text, monitor.model["lblIFGain"].text};
}

// The AGC captions the driver writes in a poll stay; the poll's generic QAM
// readings ("AGC 0" in red) do not overwrite them.
TEST(LgLabels, APollInQamKeepsTheAgcCaptionsTheDriverWrote) {
  // RF AGC 0x012, IF AGC 0xABC (twelve bits, signed).
  Regs lgdt3305Qam64 = {{0x0000, 0xFC}, {0x050A, 0x0D}, {0x0316, 0x00},
                        {0x0317, 0x12}, {0x0318, 0x0A}, {0x0319, 0xBC}};
  EXPECT_EQ(AgcLabelsAfterAPoll<lgdt3305>("lgdt3305", lgdt3305Qam64),
            (Labels{"RF_AGC: 12", "IF_AGC: FFFFFABC"}));
  EXPECT_EQ(AgcLabelsAfterAPoll<lgdt3306>("lgdt3306", {{0x0008, 0x08}, {0x00A6, 0x80}}),
            (Labels{"RF_AGC: 0", "IF_AGC: 0"}));
}

}  // namespace
