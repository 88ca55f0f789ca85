#include "tuner/RegisterEditor.h"

#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "sim/SimRegistry.h"
#include "support/SimFixture.h"

namespace {

// A built-in board (TDA8290 gate, TDA18271c2 behind it) frozen at time 0.
struct Editor {
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<RegisterEditor> editor;
  explicit Editor(std::unique_ptr<SimBoard> b) : board(std::move(b)) {
    board->SetClock([] { return 0.0; });
    bus = std::make_unique<Bus>(*board);
    bus->handle = board->velI2C_InitByType(24, 0);
    editor = std::make_unique<RegisterEditor>(*bus);
    editor->Load();
  }
  Editor() : Editor(BuiltIn()) {}
  static std::unique_ptr<SimBoard> BuiltIn() {
    std::string error;
    return MakeBuiltInBoard("s5h1409", error);
  }
  static std::unique_ptr<SimBoard> File(const std::string& json) {
    std::string error;
    auto b = ParseBoard(json, "t.json", error);
    EXPECT_TRUE(b) << error;
    return b;
  }
  const RegisterEditor::State& s() const { return editor->state(); }
  long chip(int address, int r) { return board->DeviceAt(address)->GetRegister(r); }
};

TEST(RegisterEditor, LoadFindsTheChipsAndLeavesTheGateClosed) {
  struct Case {
    std::string board;  // "" for the built-in board
    std::string caption, frame;
    bool frameVisible;
    std::string pl;
  } cases[] = {
      {"", "TDA8290 @ 0x84 / TDA18271c2 @ 0xC0", "TDA8290 @ 0x84", true, "CC"},
      {OneChip("tda18271"), "TDA18271c2 @ 0xC0", "TDA829x", false, "CC"},
      {OneChip("tda8295"), "TDA8295 @ 0x84", "TDA8295 @ 0x84", true, "00"},
      {"{}", "Form1", "TDA829x", false, "00"},
  };
  for (const auto& c : cases) {
    Editor e(c.board.empty() ? Editor::BuiltIn() : Editor::File(c.board));
    EXPECT_EQ(e.s().caption, c.caption);
    EXPECT_EQ(e.s().ifDemodFrame, c.frame) << c.caption;
    EXPECT_EQ(e.s().ifDemodFrameVisible, c.frameVisible) << c.caption;
    EXPECT_EQ(e.s().values[2], c.pl) << c.caption;
    EXPECT_EQ(e.s().width, RegisterEditor::kNarrowWidth);
    EXPECT_EQ(e.s().snapshotButton, "DUMP");
    EXPECT_FALSE(e.s().passthru);
    for (bool yellow : e.s().mismatch) EXPECT_FALSE(yellow) << c.caption;
  }
  Editor e;
  EXPECT_EQ(e.chip(0x84, 0x21), 0x00);
  EXPECT_EQ(e.s().values[0x11], "03");
  EXPECT_EQ(e.s().detail, "84");  // register 0 is selected while the combo is empty
}

TEST(RegisterEditor, SelectingEditingAndMarking) {
  Editor e(Editor::File(OneChip("tda18271", "\"0x0A\":\"0x0A\"")));
  RegisterEditor& ed = *e.editor;
  struct Step {
    std::function<void()> act;
    std::string combo, detail, frame;
    int reg;
    std::string value;
    bool yellow;
    std::array<bool, 8> bits;
  } steps[] = {
      {[&] { ed.FocusValue(0x11); }, "11", "03", "Reg 0x11 EB2", 0x11, "03", false,
       {1, 1, 0, 0, 0, 0, 0, 0}},
      {[&] { ed.EditDetail("A5"); }, "11", "A5", "Reg 0x11 EB2", 0x11, "A5", true,
       {1, 0, 1, 0, 0, 1, 0, 1}},
      {[&] { ed.EditDetail("1FF"); }, "11", "A5", "Reg 0x11 EB2", 0x11, "A5", true,
       {1, 0, 1, 0, 0, 1, 0, 1}},
      {[&] { ed.ResetRegister(); }, "11", "03", "Reg 0x11 EB2", 0x11, "03", false,
       {1, 1, 0, 0, 0, 0, 0, 0}},
      {[&] { ed.EditCombo("27"); }, "27", "03", "Reg 0x11 EB2", 0x11, "03", false,
       {1, 1, 0, 0, 0, 0, 0, 0}},
      {[&] { ed.LeaveCombo(); }, "11", "03", "Reg 0x11 EB2", 0x11, "03", false,
       {1, 1, 0, 0, 0, 0, 0, 0}},
      {[&] { ed.EditCombo("a"); }, "a", "0A", "Reg 0x0A CD2", 0x0A, "0A", false,
       {0, 1, 0, 1, 0, 0, 0, 0}},
      {[&] { ed.EditValue(0x0A, "0a"); }, "a", "0A", "Reg 0x0A CD2", 0x0A, "0a", true,
       {0, 1, 0, 1, 0, 0, 0, 0}},
      {[&] { ed.EditValue(0x0A, "100"); }, "a", "0A", "Reg 0x0A CD2", 0x0A, "0a", true,
       {0, 1, 0, 1, 0, 0, 0, 0}},
      {[&] { ed.LeaveCombo(); }, "0A", "0A", "Reg 0x0A CD2", 0x0A, "0A", false,
       {0, 1, 0, 1, 0, 0, 0, 0}},
      {[&] { ed.ReleaseBits({1, 0, 0, 0, 0, 0, 0, 1}); }, "0A", "81", "Reg 0x0A CD2", 0x0A, "81",
       true, {1, 0, 0, 0, 0, 0, 0, 1}},
      {[&] { ed.EditDetail("f"); }, "0A", "f", "Reg 0x0A CD2", 0x0A, "0F", true,
       {1, 1, 1, 1, 0, 0, 0, 0}},
      {[&] { ed.FocusValue(0x26); }, "26", "90", "Reg 0x26 EB23", 0x26, "90", false,
       {0, 0, 0, 0, 1, 0, 0, 1}},
  };
  for (size_t n = 0; n < std::size(steps); ++n) {
    const auto& st = steps[n];
    st.act();
    EXPECT_EQ(e.s().combo, st.combo) << "step " << n;
    EXPECT_EQ(e.s().detail, st.detail) << "step " << n;
    EXPECT_EQ(e.s().registerFrame, st.frame) << "step " << n;
    EXPECT_EQ(ed.selected(), st.reg) << "step " << n;
    EXPECT_EQ(e.s().values[st.reg], st.value) << "step " << n;
    EXPECT_EQ(e.s().mismatch[st.reg], st.yellow) << "step " << n;
    EXPECT_EQ(e.s().bits, st.bits) << "step " << n;
  }
  EXPECT_EQ(e.s().values[0x0A], "0F");  // an edit elsewhere stays in its box
}

TEST(RegisterEditor, WriteAllKeepsTheBoxesAndMarksWhatReadsBackDifferently) {
  Editor e;
  RegisterEditor& ed = *e.editor;
  ed.ClickPassthru(true);
  EXPECT_EQ(e.chip(0x84, 0x21), 0xC0);
  ed.EditValue(0x00, "00");  // identity: read-only
  ed.EditValue(0x02, "00");  // power level: read-only
  ed.EditValue(0x05, "92");  // calibration start clears itself
  ed.EditValue(0x11, "55");
  long before = e.board->transactions();
  ed.WriteAll();
  EXPECT_EQ(e.board->transactions() - before, 2);  // the write and one read-back
  EXPECT_EQ(e.chip(0xC0, 0x11), 0x55);
  for (int i = 0; i < 39; ++i)
    EXPECT_EQ(e.s().mismatch[i], i == 0 || i == 2 || i == 5) << i;
  EXPECT_EQ(e.s().values[0x05], "92");
  EXPECT_EQ(ed.tuner().image()[0x05], 0x12);
  ed.Refresh();  // the boxes follow the chip again
  EXPECT_EQ(e.s().values[0x05], "12");
  for (bool yellow : e.s().mismatch) EXPECT_FALSE(yellow);
}

TEST(RegisterEditor, PollEnableRules) {
  struct Case {
    bool poll, power, thermo, snap1;
    bool refresh, powerButton, thermoButton, snap1Button;
    int interval;
  } cases[] = {
      {false, true, true, true, true, true, true, true, 0},
      {true, false, false, false, false, true, true, true, 1000},
      {true, true, false, false, false, false, true, true, 1000},
      {true, false, true, false, false, true, false, true, 1000},
      {true, false, false, true, false, true, true, false, 1000},
      {true, true, true, true, false, false, false, false, 1000},
  };
  for (const auto& c : cases) {
    Editor e(Editor::File("{}"));
    RegisterEditor& ed = *e.editor;
    ed.ClickPollPowerLevel(c.power);
    ed.ClickPollThermo(c.thermo);
    ed.ClickPollSnap1(c.snap1);
    ed.ClickPoll(c.poll);
    EXPECT_EQ(ed.refreshEnabled(), c.refresh);
    EXPECT_EQ(ed.powerLevelEnabled(), c.powerButton);
    EXPECT_EQ(ed.thermometerEnabled(), c.thermoButton);
    EXPECT_EQ(ed.snap1Enabled(), c.snap1Button);
    EXPECT_EQ(ed.pollInterval(), c.interval);
  }
}

}  // namespace
