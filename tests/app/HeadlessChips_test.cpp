// SPDX-License-Identifier: GPL-3.0-or-later
// Board files that move a chip off its defaults, through the whole program:
// start-up, detection, one poll, the JSON report. (Each chip's defaults are
// pinned byte for byte by the golden test.)
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
      // Low priority: the rate from bits 4..6 of 0x20, the FFT size from its bit 0.
      {R"({"chip": "zl10353", "registers": {"0x1F": "0xC0", "0x20": "0x19"}})",
       "ZL10353",
       {{"lblCodeRateK", "text", "lp code rate:"},
        {"lblCodeRate", "text", "2/3"},
        {"lblGuard", "text", "1/8"},
        {"lblTransmissionMode", "text", "8K"}}},
      {R"({"chip": "si2165", "registers": {"0x00EC": 5}})",
       "SI2165B",
       {{"lblMode", "text", "DVB-C"},
        {"lblConst", "text", "QAM256"},
        {"lblSNR", "text", "32 / 32 (avg)"},
        {"vbalProgressBar1", "min", "25"},
        {"vbalProgressBar1", "max", "40"}}},
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
