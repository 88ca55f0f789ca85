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

// Every action the window offers, poll boxes ticked before a poll tick.
std::vector<std::function<void(RegisterEditor&)>> EveryAction() {
  return {
      [](RegisterEditor& e) { e.ClickPassthru(true); },
      [](RegisterEditor& e) { e.ClickPassthru(false); },
      [](RegisterEditor& e) { e.ClickThermometer(); },
      [](RegisterEditor& e) { e.ClickReadPowerLevel(); },
      [](RegisterEditor& e) { e.Refresh(); },
      [](RegisterEditor& e) { e.ClickPollThermo(true); },
      [](RegisterEditor& e) { e.ClickPollPowerLevel(true); },
      [](RegisterEditor& e) { e.ClickPollSnap1(true); },
      [](RegisterEditor& e) { e.ClickPoll(true); },
      [](RegisterEditor& e) { e.Refresh(); },  // a poll tick, all poll boxes ticked
      [](RegisterEditor& e) { e.EditValue(0x11, "55"); },
      [](RegisterEditor& e) { e.FocusValue(0x11); },
      [](RegisterEditor& e) { e.EditCombo("02"); },
      [](RegisterEditor& e) { e.FocusCombo(); },
      [](RegisterEditor& e) { e.LeaveCombo(); },
      [](RegisterEditor& e) { e.EditDetail("A5"); },
      [](RegisterEditor& e) { e.LeaveDetail(); },
      [](RegisterEditor& e) { e.ReleaseBits({true}); },
      [](RegisterEditor& e) { e.ResetRegister(); },
      [](RegisterEditor& e) { e.WriteAll(); },
      [](RegisterEditor& e) { e.ToggleWidth(); },
      [](RegisterEditor& e) { e.Snap(0); },
      [](RegisterEditor& e) { e.Snap(1); },
      [](RegisterEditor& e) { e.PickSnapshotLine(0, 3); },
      [](RegisterEditor& e) { e.PickDifferenceLine(4); },
  };
}

// Address 0 is the general call on a real bus: an editor that found no
// tuner must never send anything, whatever the user clicks.
TEST(RegisterEditor, WithoutATunerNoActionReachesTheBus) {
  const char* boards[] = {
      R"({"devices":[{"chip":"s5h1409"}]})",  // a demodulator alone
      R"({"devices":[{"chip":"tda8295"}]})",  // a gate with nothing behind it
      R"({"devices":[]})",
  };
  const auto actions = EveryAction();
  for (const char* json : boards) {
    Loaded l(Board(json));
    RegisterEditor& e = *l.editor;
    EXPECT_FALSE(e.tunerFound()) << json;
    EXPECT_EQ(e.state().status, "No tuner found") << json;
    l.rec->calls.clear();
    for (size_t i = 0; i < actions.size(); ++i) {
      actions[i](e);
      EXPECT_TRUE(l.rec->calls.empty())
          << json << ": action " << i << " sent " << l.rec->calls.size() << " transactions";
      l.rec->calls.clear();
    }
    EXPECT_EQ(e.pollInterval(), 0) << json;
    EXPECT_FALSE(e.state().passthru) << json;
    EXPECT_FALSE(e.refreshEnabled() || e.thermometerEnabled() || e.powerLevelEnabled()) << json;
  }
}

TEST(RegisterEditor, AFoundTunerKeepsEveryActionAndSaysNothing) {
  std::string error;
  Loaded l(MakeBuiltInBoard("s5h1409", error));
  RegisterEditor& e = *l.editor;
  EXPECT_TRUE(e.tunerFound());
  EXPECT_EQ(e.state().status, "");
  EXPECT_TRUE(e.refreshEnabled() && e.thermometerEnabled() && e.powerLevelEnabled());
  l.rec->calls.clear();
  e.ClickPassthru(true);
  e.Refresh();
  EXPECT_FALSE(l.rec->calls.empty());
  e.ClickPoll(true);
  EXPECT_EQ(e.pollInterval(), 1000);
}

// Read-only, a tuner behind the IF demodulator's gate is out of reach (the
// gate needs a write) and the window says so; a tuner straight on the bus is
// read but never written. Either way no action writes.
TEST(RegisterEditor, ReadOnlyWritesNothingAndSaysWhy) {
  struct Case {
    const char* board;
    bool found;
    const char* caption;
    const char* status;
  } cases[] = {
      {R"({"devices":[{"chip":"tda8290"},{"chip":"tda18271"}]})", false, "Tuner registers",
       "Read-only mode: the tuner sits behind the gate, which needs a write"},
      {R"({"devices":[{"chip":"tda18271","registers":{"0x11":"0x5A"}}]})", true,
       "Tuner registers \u2014 TDA18271 at 0xC0",
       "Read-only mode: quovis writes nothing to the bus"},
  };
  for (const Case& c : cases) {
    Loaded l(Board(c.board), true);
    RegisterEditor& e = *l.editor;
    EXPECT_EQ(e.tunerFound(), c.found) << c.board;
    EXPECT_EQ(e.state().caption, c.caption) << c.board;
    EXPECT_EQ(e.state().status, c.status) << c.board;
    EXPECT_FALSE(e.writesAllowed() || e.thermometerEnabled() || e.powerLevelEnabled()) << c.board;
    EXPECT_EQ(e.refreshEnabled(), c.found) << c.board;
    EXPECT_TRUE(l.rec->Writes().empty()) << c.board << ": the load wrote";
    l.rec->calls.clear();
    int reads = 0;
    for (const auto& action : EveryAction()) {
      action(e);
      for (const auto& call : l.rec->calls) reads += call.kind == RecordingLibrary::Call::Read;
      EXPECT_TRUE(l.rec->Writes().empty()) << c.board;
      l.rec->calls.clear();
    }
    EXPECT_FALSE(e.state().passthru || e.state().pollThermo || e.state().pollPower) << c.board;
    EXPECT_FALSE(e.state().gainsVisible) << c.board;
    EXPECT_EQ(e.state().thermometer, "") << c.board;
    // Two refreshes read the whole image; the poll boxes for writing readings stay off.
    EXPECT_EQ(reads, c.found ? 2 : 0) << c.board;
  }
  Loaded direct(Board(cases[1].board), true);
  direct.editor->Refresh();
  EXPECT_EQ(direct.editor->state().values[0x11], "5A");
}

// The boxes show only what was read: empty before the first answered read
// and after a failed one, whose cause the status line gives; an edit that a
// failed write did not reach the chip is marked; an unanswered thermometer or
// power level shows "--". The built-in board's tuner sits behind a gate
// that the load leaves closed; it holds CC in register 02 and 03 in 11.
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
    EXPECT_EQ(e.state().values[0x02], s.pl) << s.what;
    EXPECT_EQ(e.state().values[0x11], s.eb2) << s.what;
    EXPECT_EQ(e.state().notWritten[0x11], s.eb2NotWritten) << s.what;
    EXPECT_FALSE(e.state().notWritten[0x02]) << s.what;
    EXPECT_EQ(e.state().status, s.status) << s.what;
    EXPECT_EQ(e.state().thermometer, s.thermometer) << s.what;
    EXPECT_EQ(e.state().agc1, s.agc1) << s.what;
    EXPECT_EQ(e.writeAllEnabled(), *s.pl != 0) << s.what;
  }
  EXPECT_EQ(l.board->DeviceAt(0xC0)->GetRegister(0x11), 0x55);

  // A tuner alone whose ID answers but whose registers then do not.
  Loaded silent(Board(R"({"devices":[{"chip":"tda18271","fault":{"fail_after":1}}]})"));
  const RegisterEditor::State& state = silent.editor->state();
  EXPECT_EQ(state.caption, "Tuner registers \u2014 TDA18271 at 0xC0");
  EXPECT_EQ(state.status, "no answer from 0xC0: is the board still connected?");
  EXPECT_EQ(std::count(state.values.begin(), state.values.end(), ""), 39);
  EXPECT_EQ(state.detail, "");
  EXPECT_FALSE(silent.editor->writeAllEnabled());
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
    EXPECT_EQ(e.state().detail, s.detail) << s.typed;
    for (int k = 0; k < 8; ++k) EXPECT_EQ(e.state().bits[k], bool(s.bits >> k & 1)) << s.typed;
    e.LeaveDetail();
    EXPECT_EQ(e.state().values[0x11], s.detail) << "the edit was lost";
  }
}

}  // namespace
