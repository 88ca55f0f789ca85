// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
  const Control& snr = m["vbalProgressBar1"];
  EXPECT_EQ(std::tuple(m["lblSNR"].back, snr.color, snr.value, snr.min, snr.max),
            std::tuple(Color::Grey, Color::Grey, 0, barMin, barMax));
  std::string texts;
  for (const std::string& t :
       {m["lblSNR"].text, snr.text, snr.tooltip, m["vbalProgressBar2"].text,
        m["vbalProgressBar3"].text, m["lblUncorError"].text, m["lblPost"].text, m.trayTooltip})
    texts += t + "|";
  EXPECT_EQ(texts, "0 / 0 (avg)|" + snr.prefix +
                       "0|0 / 0(Avg)|Uncorrectable Errors:  0|Correctable Errors:  0|Uncorr 0|"
                       "Post V 0|No answer from the demodulator|");
  EXPECT_EQ(std::tuple(m["vbalProgressBar2"].value, m["vbalProgressBar3"].value, m.statusIcon),
            std::tuple(0, 0, 0));
  // A preset is no gate state, and no reading: each label shows its caption
  // in its own colour.
  for (const char* box : {"chkPassthru", "chkSleep"})
    EXPECT_FALSE(m[box].enabled || m[box].checked.value_or(true)) << box;
  texts.clear();
  for (const char* label :
       {"lblF0F1", "lblCOffset", "lblCOHex", "lblAGC", "lblIFGain", "lblSTRTime", "lblFreqOffset",
        "lblSymbolTiming", "lblAutoFreq", "lblPilot", "lblConst", "lblHierarchy", "lblCodeRateK",
        "lblCodeRate", "lblGuard", "lblTransmissionMode"})
    texts += m[label].text + "|";
  EXPECT_EQ(texts,
            "F0 / F1|Carrier Offset|Carrier Offset|AGC|IF Gain|Str Time|Freq Offset|"
            "Sym Timing Rec|Auto Freq|Pilot Pwr|CONST|HIERARCHY|code rate:|CODE RATE|GUARD|MODE|");
  EXPECT_FALSE(m["lblAGC"].fore.has_value());
}
