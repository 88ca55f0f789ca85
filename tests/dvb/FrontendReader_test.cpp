// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/FrontendReader.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/EmulatedFrontend.h"

namespace {

constexpr const char* kNode = "/dev/dvb/adapter0/frontend0";
using FE = EmulatedFrontend;

struct Frontend : ::testing::Test {
  FE fe;
  std::unique_ptr<FrontendReader> reader = std::make_unique<FrontendReader>(fe);

  void Open() {
    std::string error;
    ASSERT_TRUE(reader->Open(kNode, error)) << error;
  }
  // Whatever a test did, quovis opened read-only and asked only _IOR requests.
  void TearDown() override {
    reader.reset();
    for (const auto& o : fe.opens)
      EXPECT_EQ(o.flags & (O_ACCMODE | O_NONBLOCK), O_RDONLY | O_NONBLOCK);
    for (unsigned long request : fe.requests) EXPECT_EQ(_IOC_DIR(request), _IOC_READ) << request;
  }
};

TEST_F(Frontend, OpenTellsWhyANodeCannotBeRead) {
  struct Case {
    std::string path;
    int openError;
    bool busy;
    std::string expected;  // a part of the message, empty for success
  } cases[] = {
      {kNode, 0, false, ""},
      {"/dev/dvb/adapter1/frontend0", 0, false, "does not exist"},
      {kNode, EACCES, false, "(add yourself to the video group)"},
      {kNode, 0, true, "is busy: its adapter runs one frontend at a time"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    fe.openError = c.openError;
    fe.sharedAdapterBusy = c.busy;
    FrontendReader r(fe);
    std::string error;
    EXPECT_EQ(r.Open(c.path, error), c.expected.empty());
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_EQ(r.name(), c.expected.empty() ? "Emulated DVB-T" : "");
  }
}

TEST_F(Frontend, StatisticsFollowTheirScales) {
  const uint32_t kSignal = DTV_STAT_SIGNAL_STRENGTH, kCnr = DTV_STAT_CNR,
                 kUcb = DTV_STAT_ERROR_BLOCK_COUNT;
  struct Case {
    const char* what;
    std::map<uint32_t, dtv_stats> stats;
    std::optional<KernelLevel> signal, cnr;
    std::optional<uint64_t> ucb;
  } cases[] = {
      {"decibels",
       {{kSignal, FE::Decibel(-45500)}, {kCnr, FE::Decibel(21300)}},
       KernelLevel{false, -45.5},
       KernelLevel{false, 21.3},
       {}},
      {"relative",
       {{kSignal, FE::Relative(65535)}, {kCnr, FE::Relative(13107)}},
       KernelLevel{true, 100},
       KernelLevel{true, 20},
       {}},
      {"not available is not 0",
       {{kSignal, FE::NotAvailable()}, {kCnr, FE::NotAvailable()}, {kUcb, FE::NotAvailable()}},
       {},
       {},
       {}},
      {"counter", {{kUcb, FE::Counter(17)}}, {}, {}, 17},
  };
  fe.status = FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_LOCK;
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fe.stats = c.stats;
    KernelReading r = reader->Poll();
    EXPECT_EQ(std::tuple(r.problem, r.v3, r.locked(), r.deliverySystem, r.frequency),
              std::tuple("", false, true, SYS_DVBT, 474000000u));
    EXPECT_EQ(std::tuple(r.signal, r.cnr, r.ucbTotal), std::tuple(c.signal, c.cnr, c.ucb));
  }
}

TEST_F(Frontend, VersionThreeOnlyWhenEveryStatisticIsEmpty) {
  struct Case {
    const char* what;
    bool noStats, onlyWhenLocked, writer;
    bool v3, notTuned;
    std::optional<uint16_t> signal;
  } cases[] = {
      {"driver without version-5 statistics", true, false, true, true, false, 0x8000},
      {"no application tunes it", true, false, false, true, true, {}},
      {"not available before lock is no fallback", false, true, true, false, false, {}},
  };
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fe.stats = c.noStats
                   ? std::map<uint32_t, dtv_stats>{}
                   : std::map<uint32_t, dtv_stats>{{DTV_STAT_SIGNAL_STRENGTH, FE::Decibel(-30000)},
                                                   {DTV_STAT_CNR, FE::Decibel(25000)}};
    fe.statsOnlyWhenLocked = c.onlyWhenLocked;
    fe.writer = c.writer;
    fe.v3Signal = 0x8000;
    fe.v3Snr = 0x0123;
    fe.requests.clear();
    KernelReading r = reader->Poll();
    // Status, properties, and the four version-3 calls.
    EXPECT_EQ(
        std::tuple(r.locked(), r.v3, r.notTuned, r.v3Signal, r.v3Snr.has_value(),
                   r.signal.has_value() || r.cnr.has_value(), fe.requests.size()),
        std::tuple(false, c.v3, c.notTuned, c.signal, c.signal.has_value(), false, c.v3 ? 6u : 2u));
  }
}

}  // namespace
