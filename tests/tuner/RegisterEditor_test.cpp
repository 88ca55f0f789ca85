#include "tuner/RegisterEditor.h"

#include <gtest/gtest.h>

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

  explicit Loaded(std::unique_ptr<SimBoard> b) : board(std::move(b)) {
    rec = std::make_unique<RecordingLibrary>(*board);
    bus = std::make_unique<Bus>(*rec);
    bus->handle = rec->velI2C_InitByType(24, 0);
    editor = std::make_unique<RegisterEditor>(*bus);
    editor->Load();
  }
};

std::unique_ptr<SimBoard> Board(const std::string& json) {
  std::string error;
  auto board = ParseBoard(json, "t.json", error);
  EXPECT_TRUE(board) << error;
  return board;
}

// Address 0 is the general call on a real bus: an editor that found no
// tuner must never send anything, whatever the user clicks.
TEST(RegisterEditor, WithoutATunerNoActionReachesTheBus) {
  const char* boards[] = {
      R"({"devices":[{"chip":"s5h1409"}]})",  // a demodulator alone
      R"({"devices":[{"chip":"tda8295"}]})",  // a gate with nothing behind it
      R"({"devices":[]})",
  };
  const std::function<void(RegisterEditor&)> actions[] = {
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
  for (const char* json : boards) {
    Loaded l(Board(json));
    RegisterEditor& e = *l.editor;
    EXPECT_FALSE(e.tunerFound()) << json;
    EXPECT_EQ(e.state().status, "No tuner found") << json;
    l.rec->calls.clear();
    for (size_t i = 0; i < std::size(actions); ++i) {
      actions[i](e);
      EXPECT_TRUE(l.rec->calls.empty()) << json << ": action " << i << " sent "
                                        << l.rec->calls.size() << " transactions";
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
