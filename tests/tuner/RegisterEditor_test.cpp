// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/RegisterEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bus/Bus.h"
#include "sim/BoardFile.h"
#include "sim/SimRegistry.h"
#include "support/RecordingLibrary.h"

namespace {

// A board behind a recording library, with the editor loaded on it.
struct Loaded {
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<RecordingLibrary> rec;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<RegisterEditor> editor;

  explicit Loaded(std::unique_ptr<SimBoard> b, bool readOnly = false) : board(std::move(b)) {
    rec = std::make_unique<RecordingLibrary>(*board);
    bus = std::make_unique<Bus>(*rec);
    bus->handle = rec->velI2C_InitByType(24, 0);
    editor = std::make_unique<RegisterEditor>(*bus, readOnly);
    editor->Load();
  }
};

std::unique_ptr<SimBoard> Board(const std::string& json) {
  std::string error;
  auto board = ParseBoard(json, "t.json", error);
  EXPECT_TRUE(board) << error;
  return board;
}

// Runs every action the window offers, poll boxes ticked before a poll tick,
// calling `after` with the action's number after each.
void EveryAction(RegisterEditor& e, const std::function<void(int)>& after) {
  int i = 0;
  auto done = [&] { after(i++); };
  e.ClickPassthru(true), done(), e.ClickPassthru(false), done(), e.ClickThermometer(), done();
  e.ClickReadPowerLevel(), done(), e.Refresh(), done(), e.ClickPollThermo(true), done();
  e.ClickPollPowerLevel(true), done(), e.ClickPollSnap1(true), done(), e.ClickPoll(true), done();
  e.Refresh(), done();  // a poll tick, all poll boxes ticked
  e.EditValue(0x11, "55"), done(), e.FocusValue(0x11), done(), e.EditCombo("02"), done();
  e.FocusCombo(), done(), e.LeaveCombo(), done(), e.EditDetail("A5"), done();
  e.LeaveDetail(), done(), e.ReleaseBits({true}), done(), e.ResetRegister(), done();
  e.WriteAll(), done(), e.ToggleWidth(), done(), e.Snap(0), done(), e.Snap(1), done();
  e.PickSnapshotLine(0, 3), done(), e.PickDifferenceLine(4), done();
}

// Without a tuner nothing is sent whatever the user clicks (address 0 is
// the general call); read-only, a tuner behind the gate is out of reach and
// one on the bus is read (by the two refreshes) but never written.
TEST(RegisterEditor, WithoutATunerOrReadOnlyNoActionWrites) {
  const std::string title = "Tuner registers", at = title + " \u2014 TDA18271 at 0xC0";
  struct Case {
    const char* board;
    bool readOnly, found;
    std::string caption, status;
    int reads;
  } cases[] = {
      {R"({"devices":[{"chip":"s5h1409"}]})", false, false, title, "No tuner found", 0},
      {R"({"devices":[{"chip":"tda8295"}]})", false, false, title, "No tuner found", 0},
      {R"({"devices":[{"chip":"tda8290"},{"chip":"tda18271"}]})", true, false, title,
       "Read-only mode: the tuner sits behind the gate, which needs a write", 0},
      {R"({"devices":[{"chip":"tda18271","registers":{"0x11":"0x5A"}}]})", true, true, at,
       "Read-only mode: quovis writes nothing to the bus", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.board);
    Loaded l(Board(c.board), c.readOnly);
    RegisterEditor& e = *l.editor;
    EXPECT_EQ(std::tuple(e.tunerFound(), e.refreshEnabled(), e.state().caption, e.state().status),
              std::tuple(c.found, c.found, c.caption, c.status));
    EXPECT_FALSE(e.writesAllowed() || e.thermometerEnabled() || e.powerLevelEnabled());
    EXPECT_TRUE(!c.readOnly || l.rec->Writes().empty()) << "the load wrote";
    l.rec->calls.clear();
    int reads = 0;
    EveryAction(e, [&](int i) {
      for (const auto& call : l.rec->calls) reads += call.kind == RecordingLibrary::Call::Read;
      EXPECT_TRUE(l.rec->Writes().empty()) << "action " << i;
      l.rec->calls.clear();
    });
    EXPECT_EQ(std::tuple(reads, e.pollInterval(), e.state().thermometer),
              std::tuple(c.reads, c.found ? 1000 : 0, ""));
    EXPECT_FALSE(e.state().passthru || e.state().pollThermo || e.state().pollPower ||
                 e.state().gainsVisible);
  }
  Loaded direct(Board(cases[3].board), true);
  direct.editor->Refresh();
  EXPECT_EQ(direct.editor->state().values[0x11], "5A");
}

// A found tuner offers every action; polling disables the buttons whose work it does.
TEST(RegisterEditor, PollDisablesTheButtonsWhoseWorkItDoes) {
  std::string error;
  Loaded l(MakeBuiltInBoard("s5h1409", error));
  RegisterEditor& e = *l.editor;
  EXPECT_EQ(e.state().status, "");
  l.rec->calls.clear();
  e.ClickPassthru(true);
  e.Refresh();
  EXPECT_FALSE(l.rec->calls.empty());
  struct Case {
    bool poll, power, thermo, snap1;
    bool refresh, powerButton, thermoButton, snap1Button;
  } cases[] = {
      {false, true, true, true, true, true, true, true},
      {true, false, false, false, false, true, true, true},
      {true, true, false, false, false, false, true, true},
      {true, false, true, false, false, true, false, true},
      {true, false, false, true, false, true, true, false},
      {false, false, false, false, true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.poll << c.power << c.thermo << c.snap1);
    e.ClickPollPowerLevel(c.power), e.ClickPollThermo(c.thermo), e.ClickPollSnap1(c.snap1);
    e.ClickPoll(c.poll);
    EXPECT_EQ(
        std::tuple(e.refreshEnabled(), e.powerLevelEnabled(), e.thermometerEnabled(),
                   e.snap1Enabled(), e.pollInterval()),
        std::tuple(c.refresh, c.powerButton, c.thermoButton, c.snap1Button, c.poll ? 1000 : 0));
  }
}

// The boxes show only what was read, the status line why not; an edit a
// failed write did not deliver is marked; an unanswered reading shows "--".
// The built-in tuner, behind a gate left closed, holds CC in 02 and 03 in 11.
TEST(RegisterEditor, ShowsOnlyWhatItRead) {
  std::string error;
  Loaded l(MakeBuiltInBoard("s5h1409", error));
  l.board->SetClock([] { return 0.0; });  // 66 degrees, the power level at its mean
  RegisterEditor& e = *l.editor;
  const std::string noAnswer = "no answer from 0xC0: is the I2C gate open?";
  struct Step {
    const char* what;
    std::function<void()> act;
    const char *pl, *eb2;  // the boxes of registers 02 and 11
    bool eb2NotWritten;
    std::string status;
    const char *thermometer, *agc1;
  } steps[] = {
      {"load", [] {}, "CC", "03", false, "", "", "agc1 gain:"},
      {"refresh, gate closed", [&] { e.Refresh(); }, "", "", false, noAnswer, "", "agc1 gain:"},
      {"readings, gate closed", [&] { e.ClickThermometer(), e.ClickReadPowerLevel(); }, "", "",
       false, noAnswer, "--", "agc1 gain: --"},
      {"gate open, refresh", [&] { e.ClickPassthru(true), e.Refresh(); }, "CC", "03", false, "",
       "--", "agc1 gain: --"},
      {"edit, gate closed, write",
       [&] { e.EditValue(0x11, "55"), e.ClickPassthru(false), e.WriteAll(); }, "CC", "55", true,
       "Not written: " + noAnswer, "--", "agc1 gain: --"},
      {"gate open, write, readings",
       [&] { e.ClickPassthru(true), e.WriteAll(), e.ClickThermometer(), e.ClickReadPowerLevel(); },
       "CC", "55", false, "", "66\u00B0C", "agc1 gain: 12 dB"},
  };
  for (const Step& s : steps) {
    s.act();
    SCOPED_TRACE(s.what);
    const RegisterEditor::State& st = e.state();
    EXPECT_EQ(std::tuple(st.values[0x02], st.values[0x11], bool(st.notWritten[0x11]),
                         bool(st.notWritten[0x02]), st.status, st.thermometer, st.agc1,
                         e.writeAllEnabled()),
              std::tuple(s.pl, s.eb2, s.eb2NotWritten, false, s.status, s.thermometer, s.agc1,
                         *s.pl != 0));
  }
  EXPECT_EQ(l.board->DeviceAt(0xC0)->GetRegister(0x11), 0x55);

  // A tuner alone whose ID answers but whose registers then do not.
  Loaded silent(Board(R"({"devices":[{"chip":"tda18271","fault":{"fail_after":1}}]})"));
  const RegisterEditor::State& state = silent.editor->state();
  EXPECT_EQ(std::tuple(state.caption, state.status,
                       std::count(state.values.begin(), state.values.end(), ""), state.detail,
                       silent.editor->writeAllEnabled()),
            std::tuple("Tuner registers \u2014 TDA18271 at 0xC0",
                       "no answer from 0xC0: is the board still connected?", 39, "", false));
}

// Picking a line of a snapshot or of the difference list reads the detail
// box again from the register's box, even when the combo already names that
// register; a stale detail box would write its old value back when left.
TEST(RegisterEditor, PickingASnapshotLineRefreshesTheDetailBox) {
  std::string error;
  Loaded l(MakeBuiltInBoard("s5h1409", error));
  RegisterEditor& e = *l.editor;
  e.FocusValue(0x11);
  ASSERT_EQ(e.state().combo, "11");
  ASSERT_EQ(e.state().detail, "03");
  e.Snap(0);
  e.Snap(1);
  struct Step {
    const char* typed;  // into the value box of register 0x11
    std::function<void()> pick;
    const char* detail;
    uint8_t bits;
  } steps[] = {
      {"55", [&] { e.PickSnapshotLine(0, 0x11); }, "55", 0x55},
      {"6b", [&] { e.PickSnapshotLine(1, 0x11); }, "6B", 0x6B},
      {"80", [&] { e.PickDifferenceLine(0x11); }, "80", 0x80},
  };
  for (const auto& s : steps) {
    e.EditValue(0x11, s.typed);
    ASSERT_EQ(e.state().combo, "11");
    s.pick();
    int bits = 0;
    for (int k = 0; k < 8; ++k) bits |= e.state().bits[k] << k;
    EXPECT_EQ(std::pair(e.state().detail, bits), std::pair(std::string(s.detail), int(s.bits)));
    e.LeaveDetail();
    EXPECT_EQ(e.state().values[0x11], s.detail) << "the edit was lost";
  }
  e.PickDifferenceLine(RegisterEditor::kRegisters);  // past the list: nothing is picked
  EXPECT_EQ(e.state().combo, "11");
}

}  // namespace
