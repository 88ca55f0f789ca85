// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "monitor/Codes.h"
#include "monitor/ViewModel.h"

// Checks every field of the state a poll shows when a read of it got no
// answer; the SNR bar must keep the range it had before that poll.
inline void ExpectNoAnswer(const ViewModel& m, int barMin, int barMax, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_FALSE(m.answering);
  EXPECT_EQ(m["lblMode"].text, "No answer");
  for (const char* lamp : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
    EXPECT_EQ(m[lamp].fore, Color::Grey) << lamp;
  EXPECT_EQ(m["lblSNR"].text, "0 / 0 (avg)");
  EXPECT_EQ(m["lblSNR"].back, Color::Grey);
  const Control& snr = m["vbalProgressBar1"];
  EXPECT_EQ(snr.color, Color::Grey);
  EXPECT_EQ(snr.value, 0);
  EXPECT_EQ(snr.min, barMin);
  EXPECT_EQ(snr.max, barMax);
  EXPECT_EQ(snr.text, snr.prefix + "0");
  EXPECT_EQ(snr.tooltip, "0 / 0(Avg)");
  EXPECT_EQ(m["vbalProgressBar2"].value, 0);
  EXPECT_EQ(m["vbalProgressBar2"].text, "Uncorrectable Errors:  0");
  EXPECT_EQ(m["vbalProgressBar3"].value, 0);
  EXPECT_EQ(m["vbalProgressBar3"].text, "Correctable Errors:  0");
  EXPECT_EQ(m["lblUncorError"].text, "Uncorr 0");
  EXPECT_EQ(m["lblPost"].text, "Post V 0");
  EXPECT_EQ(m.statusIcon, 0);
  EXPECT_EQ(m.trayTooltip, "No answer from the demodulator");
  EXPECT_FALSE(m["chkPassthru"].enabled);
  EXPECT_FALSE(m["chkSleep"].enabled);
  EXPECT_EQ(m["chkPassthru"].checked, false);  // a preset is no gate state
  EXPECT_EQ(m["chkSleep"].checked, false);
  // What a driver made of the presets is no reading: each label shows its
  // caption, in the label's own colour.
  const std::pair<const char*, const char*> captions[] = {{"lblF0F1", "F0 / F1"},
                                                          {"lblCOffset", "Carrier Offset"},
                                                          {"lblCOHex", "Carrier Offset"},
                                                          {"lblAGC", "AGC"},
                                                          {"lblIFGain", "IF Gain"},
                                                          {"lblSTRTime", "Str Time"},
                                                          {"lblFreqOffset", "Freq Offset"},
                                                          {"lblSymbolTiming", "Sym Timing Rec"},
                                                          {"lblAutoFreq", "Auto Freq"},
                                                          {"lblPilot", "Pilot Pwr"},
                                                          {"lblConst", "CONST"},
                                                          {"lblHierarchy", "HIERARCHY"},
                                                          {"lblCodeRateK", "code rate:"},
                                                          {"lblCodeRate", "CODE RATE"},
                                                          {"lblGuard", "GUARD"},
                                                          {"lblTransmissionMode", "MODE"}};
  for (const auto& [label, caption] : captions) EXPECT_EQ(m[label].text, caption) << label;
  EXPECT_FALSE(m["lblAGC"].fore.has_value());
}
