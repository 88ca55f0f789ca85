// The monitor only reads: polls of every built-in board, and refreshes of
// the tuner editor, put no plain write on the bus; the I2C Pass and Sleep
// boxes write exactly what each chip's driver is meant to write.
#include <gtest/gtest.h>

#include <map>

#include "app/Startup.h"
#include "monitor/Monitor.h"
#include "sim/SimRegistry.h"
#include "support/RecordingLibrary.h"
#include "tuner/RegisterEditor.h"

namespace {

using W = RecordingLibrary::Write;

struct Started {
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<RecordingLibrary> rec;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<Monitor> monitor;
  std::unique_ptr<Detection> detection;
  Startup startup;

  explicit Started(const std::string& name) {
    std::string error;
    board = MakeBuiltInBoard(name, error);
    rec = std::make_unique<RecordingLibrary>(*board);
    bus = std::make_unique<Bus>(*rec);
    monitor = std::make_unique<Monitor>(false);
    detection = std::make_unique<Detection>(BuiltInDrivers(*bus, *monitor));
    startup = RunStartup(CommandLine{}, *bus, *detection, true);
    monitor->SetDriver(startup.driver);
  }
};

TEST(ReadOnly, PollsOfEveryBoardWriteNothing) {
  for (const auto& name : BuiltInBoardNames()) {
    Started s(name);
    ASSERT_TRUE(s.startup.ok) << name << ": " << s.startup.message;
    s.rec->calls.clear();
    for (int i = 0; i < 200; ++i) {
      s.monitor->Poll();
      if (i % 50 == 0) s.monitor->ModeLabelClicked();
    }
    s.monitor->PollIntervalChange();
    s.monitor->UpdateClicked();
    EXPECT_TRUE(s.rec->Writes().empty()) << name << " wrote " << s.rec->Writes().size() << " times";
  }
}

TEST(ReadOnly, GateAndSleepBoxesWriteWhatEachDriverOwns) {
  // Drivers not listed ignore both boxes.
  const std::map<std::string, std::vector<W>> expected = {
      {"s5h1409",
       {{1, 0x32, 0xF3, {0, 1}}, {1, 0x32, 0xF3, {0, 0}}, {1, 0x32, 0xF2, {0, 1}},
        {1, 0x32, 0xF2, {0, 0}}}},
      {"s5h1411",
       {{1, 0x32, 0xF5, {0, 1}}, {1, 0x32, 0xF5, {0, 0}}, {1, 0x32, 0xF4, {0, 1}},
        {1, 0x32, 0xF4, {0, 0}}}},
  };
  for (const auto& name : BuiltInBoardNames()) {
    Started s(name);
    ASSERT_TRUE(s.startup.ok) << name;
    s.rec->calls.clear();
    s.monitor->PassthruToggled(true);
    s.monitor->PassthruToggled(false);
    s.monitor->SleepToggled(true);
    s.monitor->SleepToggled(false);
    auto it = expected.find(s.startup.driverClass);
    EXPECT_EQ(s.rec->Writes(), it == expected.end() ? std::vector<W>{} : it->second) << name;
  }
}

TEST(ReadOnly, TunerEditorRefreshesOnlyOpenTheGate) {
  Started s("s5h1409");
  RegisterEditor editor(*s.bus);
  editor.Load();
  s.rec->calls.clear();
  for (int i = 0; i < 20; ++i) editor.Refresh();
  // Reaching the tuner means opening the IF demodulator's gate; nothing
  // else may be written, and never to the tuner itself.
  for (const auto& w : s.rec->Writes()) {
    EXPECT_NE(w.address, 0xC0) << "a refresh wrote to the tuner";
    EXPECT_EQ(w.address, 0x84);
  }
}

}  // namespace
