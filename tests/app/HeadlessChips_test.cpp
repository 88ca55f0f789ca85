// SPDX-License-Identifier: GPL-3.0-or-later
// Every chip's default board file through the whole program: start-up,
// detection, one poll, the JSON report.
#include <gtest/gtest.h>

#include "support/Headless.h"

namespace {

struct Expect {
  const char* control;
  const char* key;
  const char* value;
};

struct Case {
  std::string board;  // devices entry
  std::string name;   // in the title
  std::vector<Expect> expect;
};

TEST(HeadlessChips, EachChipsBoardFileShowsItsSignal) {
  const Case cases[] = {
      // raw SNR 0x340 = 832: 22.68 dB; lamps all on; counters 3 and 40; BERctr 1: 3 / 38799.
      {R"({"chip": "s5h1409", "registers": {"0xF1": "0xF340", "0xF0": "0x12", "0x40": 1,
          "0xB5": 3, "0xB7": 40, "0x33": "0xFFFF", "0x34": "0xFF00", "0xAC": "0x10"}})",
       "CX24227",
       {{"lblSNR", "text", "22.7 / 22.7 (avg)"},
        {"lblSNR", "back", "#00FF00"},
        {"lblMode", "text", "8-VSB"},
        {"lblMasterLock", "fore", "#00C000"},
        {"lblEQLock", "fore", "#00C000"},
        {"lblFECLock", "fore", "#00C000"},
        {"lblVSBSync", "fore", "#00C000"},
        {"lblAFCLock", "fore", "#00C000"},
        {"vbalProgressBar1", "value", "23"},
        {"vbalProgressBar1", "min", "12"},
        {"vbalProgressBar1", "max", "30"},
        {"vbalProgressBar1", "text", "SNR 22.7"},
        {"vbalProgressBar2", "text", "Uncorrectable Errors:  3"},
        {"vbalProgressBar2", "color", "#FFFF00"},
        {"vbalProgressBar3", "value", "40"},
        {"vbalProgressBar3", "color", "#FFFF00"},
        {"lblUcBer", "text", "7.73E-05"},
        {"lblF0F1", "text", "12 / F340 / XX"},
        {"lblCOffset", "text", "-256"},
        {"lblCOHex", "text", "FFFF FF00"},
        {"chkSleep", "checked", "false"},
        {"frTPS", "visible", "false"}}},
      {R"({"chip": "s5h1409", "registers": {"0xF2": 1}})",
       "CX24227",
       {{"lblMode", "text", "Sleep"},
        {"lblMasterLock", "fore", "#808080"},
        {"vbalProgressBar1", "color", "#808080"},
        {"chkSleep", "checked", "true"},
        {"lblSNR", "text", "0 / 0 (avg)"}}},
      {R"({"chip": "s5h1409", "registers": {"0xF1": "0x02F0"}})",
       "CX24227",
       {{"lblMasterLock", "fore", "#FF0000"},
        {"lblSNR", "back", "#FF0000"},
        {"lblSNR", "text", "0 / 18.9 (avg)"},
        {"vbalProgressBar1", "value", "13"},
        {"vbalProgressBar2", "text", "Uncorrectable Errors:  0"}}},
      {R"({"chip": "s5h1411"})",
       "CX24228",
       {{"lblMode", "text", "8-VSB"},
        {"lblSNR", "text", "25 / 25 (avg)"},
        {"lblSNR", "back", "#00FF00"},
        {"lblVSBSync", "fore", "#00C000"}}},
      {R"({"chip": "au8522"})",
       "AU8522",
       {{"lblMode", "text", "8-VSB"},
        {"lblSNR", "text", "19.5 / 19.5 (avg)"},
        {"lblVSBSync", "text", "Field Sync"},
        {"lblEQLock", "text", "TS Sync"},
        {"lblEQLock", "fore", "#808080"}}},
      {R"({"chip": "lgdt3305"})",
       "LGDT3305",
       {{"lblSNR", "text", "25 / 25 (avg)"},
        {"lblVSBSync", "text", "Sync Lock"},
        {"lblEQLock", "text", "SNR GOOD"},
        {"frQAM", "text", "AGC:"},
        {"lblCarrier", "text", "Carrier/Timing Rcvry Offset"},
        {"lblCarrier", "width", "2500"},
        {"lblCOHex", "width", "1935"},
        {"frVSB", "visible", "false"},
        {"frF0F1", "visible", "false"}}},
      {R"({"chip": "lgdt3306"})",
       "LGDT3306",
       {{"lblSNR", "text", "27 / 27 (avg)"},
        {"lblCarrier", "text", "Carrier Offset(KHz)"},
        {"lblAGC", "text", "RF_AGC: 0"}}},
      {R"({"chip": "lg2160"})",
       "LG2160",
       {{"lblMode", "text", "ATSC-MH"},
        {"lblSNR", "text", "15.6 / 15.6 (avg)"},
        {"vbalProgressBar1", "min", "0"},
        {"vbalProgressBar1", "max", "20"},
        {"frVSB", "text", "ATSC-MH"},
        {"frVSB", "width", "2505"},
        {"lblSymbolTiming", "text", "Parade ID: 5"},
        {"lblAutoFreq", "text", "NOG: 3, TNOG: C"},
        {"lblPilot", "text", "FIC:  1, VER:  5"},
        {"frF0F1", "text", "Reg 0202 / 0203"}}},
      {R"({"chip": "zl10353"})",
       "ZL10353",
       {{"lblMode", "text", "QAM64"},
        {"lblConst", "text", "QAM64"},
        {"lblCodeRateK", "text", "hp code rate:"},
        {"lblCodeRate", "text", "2/3"},
        {"lblGuard", "text", "1/16"},
        {"lblTransmissionMode", "text", "8K"},
        {"lblHierarchy", "text", "none"},
        {"lblVSBSync", "text", "DSCR Lock"},
        {"lblSNR", "text", "23 / 23 (avg)"},
        {"lblSNR", "back", "#00FF00"},
        {"vbalProgressBar1", "min", "15"},
        {"vbalProgressBar1", "max", "25"}}},
      // Low priority: the rate from bits 4..6 of 0x20, the FFT size from its bit 0.
      {R"({"chip": "zl10353", "registers": {"0x1F": "0xC0", "0x20": "0x19"}})",
       "ZL10353",
       {{"lblCodeRateK", "text", "lp code rate:"},
        {"lblCodeRate", "text", "2/3"},
        {"lblGuard", "text", "1/8"},
        {"lblTransmissionMode", "text", "8K"}}},
      {R"({"chip": "cx22702"})",
       "CX22702",
       {{"lblConst", "text", "QAM64"},
        {"lblCodeRate", "text", "2/3"},
        {"lblGuard", "text", "1/8"},
        {"lblTransmissionMode", "text", "8K"},
        {"vbalProgressBar1", "text", "Signal Strength: 25"},
        {"lblSNR", "back", "#00FF00"}}},
      {R"({"chip": "tda10046"})",
       "TDA10046",
       {{"lblSNR", "text", "22.2 / 22.2 (avg)"},
        {"lblEQLock", "text", "PLL Lock"},
        {"lblAFCLock", "text", "TIME Lock"},
        {"lblTransmissionMode", "text", "8K"}}},
      {R"({"chip": "tda10048"})", "TDA10048", {{"lblCodeRate", "text", "2/3"}}},
      {R"({"chip": "dibcom"})",
       "DIB7000PC",
       {{"vbalProgressBar1", "text", "CoN: 24"},
        {"lblVSBSync", "text", "FE SYNC"},
        {"frF0F1", "text", "agc1_raw / agc2_raw / agc_global"},
        {"lblF0F1", "text", "2A40 / 1F80 / 4C10"},
        {"lblGuard", "text", "1/8"}}},
      {R"({"chip": "sms1xxx"})",
       "SMS1XXX",
       {{"lblSNR", "text", "24 / 24 (avg)"},
        {"frF0F1", "text", "RSSI"},
        {"lblF0F1", "text", "-62"},
        {"lblConst", "text", "QAM64"}}},
      {R"({"chip": "mxl111sf"})",
       "MxL111SF",
       {{"lblEQLock", "text", "TPS Lock"},
        {"lblAFCLock", "text", "RS Lock"},
        {"lblF0F1", "text", "-55"},
        {"lblTransmissionMode", "text", "8K"}}},
      {R"({"chip": "si2165"})",
       "SI2165B",
       {{"lblMode", "text", "QAM64"},
        {"vbalProgressBar1", "text", "C/N 24"},
        {"lblEQLock", "text", "SYNC Lock"},
        {"lblCodeRate", "text", "2/3"}}},
      {R"({"chip": "si2165", "registers": {"0x00EC": 5}})",
       "SI2165B",
       {{"lblMode", "text", "DVB-C"},
        {"lblConst", "text", "QAM256"},
        {"lblSNR", "text", "32 / 32 (avg)"},
        {"vbalProgressBar1", "min", "25"},
        {"vbalProgressBar1", "max", "40"}}},
      {R"({"chip": "lg2161"})",
       "LG2161",
       {{"lblMode", "text", "ATSC-MH"}, {"frF0F1", "text", "Reg 0302 / 0303"}}},
  };
  for (const auto& c : cases) {
    BoardFileOnDisk board(R"({"devices": [)" + c.board + "]}");
    ProgramRun run = RunQuovis(board.bus() + " --headless --polls=1 --json");
    SCOPED_TRACE(c.board);
    ASSERT_EQ(run.status, 0) << run.err;
    PollReport r(run.out);
    EXPECT_EQ(r.title(), "Digital Signal Quality (" + c.name + ") [simulated]");
    for (const auto& e : c.expect) EXPECT_EQ(r.field(e.control, e.key), e.value) << e.control;
  }
}

}  // namespace
