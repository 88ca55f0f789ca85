// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor only reads: polls of every built-in board, and refreshes of
// the tuner editor, put no plain write on the bus; the I2C Pass and Sleep
// boxes write exactly what each chip's driver is meant to write.
#include <gtest/gtest.h>

#include <map>

#include "support/StartedBoard.h"
#include "tuner/RegisterEditor.h"

namespace {

using W = RecordingLibrary::Write;

using Started = StartedBoard;

// Polls write nothing; the Pass and Sleep boxes write what the driver owns
// (drivers not listed ignore both); the console allows at the detected chip
// what the simulated chip's register addresses take.
TEST(ReadOnly, EveryBoardsPollsWriteNothingAndItsBoxesWhatItsDriverOwns) {
  const std::map<std::string, std::vector<W>> boxes = {
      {"s5h1409",
       {{1, 0x32, 0xF3, {0, 1}},
        {1, 0x32, 0xF3, {0, 0}},
        {1, 0x32, 0xF2, {0, 1}},
        {1, 0x32, 0xF2, {0, 0}}}},
      {"s5h1411",
       {{1, 0x32, 0xF5, {0, 1}},
        {1, 0x32, 0xF5, {0, 0}},
        {1, 0x32, 0xF4, {0, 1}},
        {1, 0x32, 0xF4, {0, 0}}}},
  };
  for (const auto& name : BuiltInBoardNames()) {
    SCOPED_TRACE(name);
    Started s(name);
    ASSERT_TRUE(s.startup.ok) << s.startup.message;
    SimDevice* chip = s.board->DeviceAt(s.bus->chipAddress);
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(s.bus->RegisterAddressBytesAt(s.bus->chipAddress), chip->AddressBytes());
    s.rec->calls.clear();
    for (int i = 0; i < 200; ++i) {
      s.monitor->Poll();
      if (i % 50 == 0) s.monitor->ModeLabelClicked();
    }
    s.monitor->PollIntervalChange();
    s.monitor->UpdateClicked();
    EXPECT_EQ(s.rec->Writes(), std::vector<W>{});
    for (bool on : {true, false}) s.monitor->PassthruToggled(on);
    for (bool on : {true, false}) s.monitor->SleepToggled(on);
    auto it = boxes.find(s.startup.driverClass);
    EXPECT_EQ(s.rec->Writes(), it == boxes.end() ? std::vector<W>{} : it->second);
  }
}

// A refresh reads the tuner through the IF demodulator's gate: the only
// writes are the gate's own, opening and closing it; nothing reaches the
// tuner.
TEST(ReadOnly, TunerEditorRefreshesOnlyOpenTheGate) {
  Started s("s5h1409");
  RegisterEditor editor(*s.bus);
  editor.Load();
  ASSERT_TRUE(editor.tunerFound());
  std::string error;
  ASSERT_TRUE(s.board->DeviceAt(0xC0)->SetRegister(0x11, 0x5A, error)) << error;
  s.rec->calls.clear();
  editor.ClickPassthru(true);
  for (int i = 0; i < 20; ++i) editor.Refresh();
  editor.ClickPassthru(false);
  EXPECT_EQ(s.rec->Writes(), (std::vector<W>{{1, 0x84, 0x21, {0xC0}}, {1, 0x84, 0x21, {0x00}}}));
  int tunerReads = 0;
  for (const auto& c : s.rec->calls)
    if (c.kind == RecordingLibrary::Call::Read && c.address == 0xC0 && c.sub == 0 && c.count == 39)
      ++tunerReads;
  EXPECT_EQ(tunerReads, 20);
  EXPECT_EQ(editor.state().values[0x11], "5A") << "the refresh did not read the tuner";
}

}  // namespace
