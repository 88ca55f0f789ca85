#include "monitor/Detection.h"

#include <gtest/gtest.h>

#include "app/Startup.h"
#include "monitor/Codes.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

// A driver that answers its probe when told to and records the probe order.
class Scripted : public Demodulator {
 public:
  Scripted(std::string cls, bool answers, std::vector<std::string>& log, int16_t mode = 0)
      : cls_(std::move(cls)), answers_(answers), log_(log), mode_(mode) {}
  std::string name() override { return "chip-" + cls_; }
  bool probe() override {
    log_.push_back(cls_);
    return answers_;
  }
  int16_t OperatingMode() override { return mode_; }
  void OperatingMode(int16_t) override {}
  float SNR(int16_t&, float&, int32_t&, int16_t&) override { return 0; }
  Value SNRRegisters() override { return {}; }
  Value UncorrectableErrors() override { return {}; }
  Value PostVeterbiErrors() override { return {}; }
  Value CarrierOffset() override { return {}; }
  Value CarrierOffsetHex() override { return {}; }
  int16_t Passthru() override { return 0; }
  void Passthru(int16_t) override {}
  int16_t Sleep() override { return 0; }
  void Sleep(int16_t) override {}
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override {}
  Value SymbolTiming() override { return {}; }
  Value AutoFreq() override { return {}; }
  Value PilotPwr() override { return {}; }
  Value IFGain() override { return {}; }
  Value STRTime() override { return {}; }
  Value FreqOffset() override { return {}; }
  Value AGCPowerRef() override { return {}; }
  Value BERctr() override { return {}; }

 private:
  std::string cls_;
  bool answers_;
  std::vector<std::string>& log_;
  int16_t mode_;
};

TEST(Detection, ProbesInTheFixedOrderAndStopsAtTheFirstAnswer) {
  for (size_t winner = 0; winner < kDetectionOrder.size(); ++winner) {
    std::vector<std::string> log;
    Detection detection([&](const std::string& cls) {
      return std::make_unique<Scripted>(cls, cls == kDetectionOrder[winner], log);
    });
    ASSERT_EQ(detection.Run(), 0);
    EXPECT_EQ(detection.currentClass(), kDetectionOrder[winner]);
    ASSERT_EQ(log.size(), winner + 1);
    for (size_t i = 0; i <= winner; ++i) EXPECT_EQ(log[i], kDetectionOrder[i]);
  }
}

TEST(Detection, NoAnswerGivesMinusOneAndMissingClassesAreSkipped) {
  std::vector<std::string> log;
  Detection detection([&](const std::string& cls) -> std::unique_ptr<Demodulator> {
    if (cls == "dibcom") return nullptr;
    return std::make_unique<Scripted>(cls, false, log);
  });
  EXPECT_EQ(detection.Run(), -1);
  EXPECT_EQ(detection.current(), nullptr);
  EXPECT_EQ(log.size(), kDetectionOrder.size() - 1);
}

TEST(Startup, BoardTypesAndDetectionOutcomes) {
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
      {{24}, false, 0, false, false,
       "Did not find supported ATSC/DVB Demodulator, or device is not powered on."},
      {{24}, true, -1, false, false,
       "Did not find supported ATSC/DVB Demodulator, or device is not powered on."},
  };
  for (const auto& c : cases) {
    FakeI2c fake;
    fake.initByType = [&](int16_t type) {
      for (int t : c.types) {
        if (t == type) return uint32_t(40 + type);
      }
      return uint32_t(0);
    };
    Bus bus(fake);
    std::vector<std::string> log;
    Detection detection([&](const std::string& cls) {
      return std::make_unique<Scripted>(cls, c.answers, log, c.mode);
    });
    CommandLine cl;
    cl.demod2 = c.demod2;
    Startup s = RunStartup(cl, bus, detection, false);
    EXPECT_EQ(s.ok, c.ok);
    EXPECT_EQ(s.ok ? s.title : s.message, c.text);
    EXPECT_EQ(bus.secondDemod, c.demod2 && !c.types.empty());
    if (!c.types.empty()) EXPECT_EQ(bus.handle, uint32_t(40 + c.types[0]));
    ASSERT_GE(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].mode, 24);  // board type 24 is tried first
  }
}

TEST(Startup, FindsTheS5h1409OnItsSimulatedBoardAndMarksTheTitle) {
  FileBoard b(OneChip("s5h1409"));
  FakeView view;
  Detection detection(BuiltInDrivers(*b.bus, view));
  Startup s = RunStartup(CommandLine{}, *b.bus, detection, true);
  ASSERT_TRUE(s.ok) << s.message;
  EXPECT_EQ(s.title, "Digital Signal Quality (CX24227) [simulated]");
}

}  // namespace
