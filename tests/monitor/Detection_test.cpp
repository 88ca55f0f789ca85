// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Detection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Startup.h"
#include "monitor/Codes.h"
#include "monitor/DriverRegistry.h"
#include "support/FakeI2c.h"
#include "support/ScriptedDriver.h"

namespace {

std::unique_ptr<Demodulator> Scripted(const std::string& cls, bool answers,
                                      std::vector<std::string>& log, int16_t mode = 0) {
  auto d = std::make_unique<ScriptedDriver>();
  d->cls = cls, d->answers = answers, d->probes = &log, d->mode = mode;
  return d;
}

TEST(Detection, NoAnswerGivesMinusOneAndMissingClassesAreSkipped) {
  std::vector<std::string> log;
  Detection detection([&](const std::string& cls) -> std::unique_ptr<Demodulator> {
    if (cls == "dibcom") return nullptr;
    return Scripted(cls, false, log);
  });
  EXPECT_EQ(detection.Run(), -1);
  EXPECT_EQ(detection.current(), nullptr);
  EXPECT_EQ(log.size(), DetectionOrder().size() - 1);
}

TEST(Startup, BoardTypesAndDetectionOutcomes) {
  const std::string noDemod =
      "Did not find supported ATSC/DVB Demodulator, or device is not powered on.";
  struct Case {
    std::vector<int> types;  // board types that open
    bool answers;
    int16_t mode;
    bool demod2;
    bool ok;
    std::string text;  // title on success, message otherwise
  } cases[] = {
      {{24}, true, 0, false, true, "Digital Signal Quality (chip-lgdt3306)"},
      {{18}, true, 0, false, true, "Digital Signal Quality (chip-lgdt3306)"},
      {{18}, true, 0, true, true, "2 Digital Signal Quality (chip-lgdt3306)"},
      {{}, true, 0, false, false, "Did not find a Tarnwick board"},
      {{24}, false, 0, false, false, noDemod},
      {{24}, true, -1, false, false, noDemod},
  };
  for (const auto& c : cases) {
    FakeI2c fake;
    fake.initByType = [&](int16_t type) {
      return uint32_t(std::ranges::count(c.types, type) ? 40 + type : 0);
    };
    Bus bus(fake);
    std::vector<std::string> log;
    Detection detection(
        [&](const std::string& cls) { return Scripted(cls, c.answers, log, c.mode); });
    CommandLine cl;
    cl.demod2 = c.demod2;
    Startup s = RunStartup(cl, bus, detection, false);
    EXPECT_EQ(s.ok, c.ok);
    EXPECT_EQ(s.ok ? s.title : s.message, c.text);
    EXPECT_EQ(bus.secondDemod, c.demod2 && !c.types.empty());
    if (!c.types.empty()) {
      EXPECT_EQ(bus.handle, uint32_t(40 + c.types[0]));
    }
    ASSERT_GE(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].mode, 24);  // board type 24 is tried first
  }
}

}  // namespace
