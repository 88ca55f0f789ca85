// SPDX-License-Identifier: GPL-3.0-or-later
// Every control a built-in board's driver relabels, resizes, hides or
// restyles must exist in the window's design: the window passes over
// unknown names silently, so a misspelt one would otherwise go unnoticed.
#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "monitor/DesignLayout.h"
#include "monitor/Detection.h"
#include "sim/SimBoard.h"
#include "sim/SimRegistry.h"
#include "support/FakeView.h"

namespace {

// Every member the window calls in a poll, whether or not the mode asks for it.
void PollEveryMember(Demodulator& d) {
  int16_t mode = d.OperatingMode();
  d.SNRRegisters();
  float avg = 0;
  int32_t color = 0;
  int16_t reset = 1;
  d.SNR(mode, avg, color, reset);
  int16_t f[6] = {};
  d.GetLockStatus(f[0], f[1], f[2], f[3], f[4]);
  d.GetTPS(f[0], f[1], f[2], f[3], f[4], f[5]);
  for (Value v : {d.SymbolTiming(), d.AutoFreq(), d.PilotPwr(), d.IFGain(), d.STRTime(),
                  d.FreqOffset(), d.AGCPowerRef(), d.UncorrectableErrors(), d.PostVeterbiErrors(),
                  d.BERctr(), d.CarrierOffset(), d.CarrierOffsetHex()})
    (void)v;
  d.Passthru();
  d.Sleep();
}

TEST(DriverControls, EveryNamedControlOfEveryBuiltInBoardExists) {
  const ViewModel design = DesignModel(false);
  const ViewModel debugDesign = DesignModel(true);
  size_t checked = 0;
  for (const std::string& boardName : BuiltInBoardNames()) {
    std::string error;
    std::unique_ptr<SimBoard> board = MakeBuiltInBoard(boardName, error);
    ASSERT_TRUE(board) << error;
    board->SetClock([] { return 1.0; });
    Bus bus(*board);
    bus.handle = board->velI2C_InitByType(24, 0);
    FakeView view;
    Detection detection(BuiltInDrivers(bus, view));
    ASSERT_EQ(detection.Run(), 0) << boardName;
    for (int poll = 0; poll < 3; ++poll) PollEveryMember(*detection.current());

    std::vector<std::string> named;
    for (const auto& [name, text] : view.captions) named.push_back(name);
    for (const auto& [name, twips] : view.widths) named.push_back(name);
    for (const auto& [name, shown] : view.visible) named.push_back(name);
    for (const auto& [name, font] : view.fonts) named.push_back(name);
    checked += named.size();
    for (const std::string& name : named) {
      EXPECT_TRUE(design.Has(name)) << boardName << " names \"" << name << "\"";
      EXPECT_TRUE(debugDesign.Has(name)) << boardName << " names \"" << name << "\"";
    }
  }
  EXPECT_GE(checked, 50u);  // the drivers do name controls: the check is not empty
}

}  // namespace
