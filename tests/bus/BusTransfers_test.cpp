// SPDX-License-Identifier: GPL-3.0-or-later
// The transfers probes and odd-sized registers use: how many attempts each
// makes, what it sends, and what its buffer holds when the device is silent.
#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "support/FakeI2c.h"

namespace {

using Kind = FakeI2c::Call::Kind;

TEST(BusTransfers, AttemptsArgumentsAndPresets) {
  struct Case {
    const char* what;
    std::deque<uint8_t> results;  // the device's answers, one per attempt
    std::function<bool(Bus&, std::vector<uint8_t>& in)> transfer;
    Kind kind;
    int attempts, mode, address, sub, count;
    std::vector<uint8_t> bytes;  // written (write-reads) or read into the buffer
    bool answered;
    std::vector<uint8_t> in;  // the caller's buffer afterwards
    // clang-format off
  } cases[] = {
      {"probe answers", {0}, [](Bus& b, auto&) { return b.Answers(0x32, 2); },
       Kind::Read, 1, 0, 0x32, 0, 2, {0, 0}, true, {}},
      {"probe silent: no retry", {1, 0}, [](Bus& b, auto&) { return b.Answers(0x8E, 1); },
       Kind::Read, 1, 0, 0x8E, 0, 1, {0}, false, {}},
      {"probe in 16-bit mode", {0}, [](Bus& b, auto&) { return b.Answers(0xC8, 1, 0x10); },
       Kind::Read, 1, 0x10, 0xC8, 0, 1, {0}, true, {}},
      {"write-read once, silent: buffer kept", {1, 0},
       [](Bus& b, auto& in) { return b.WriteReadOnce(0x1C, {0x00, 0x01}, in); },
       Kind::WriteRead, 1, 0, 0x1C, 0x0001, 2, {0x00, 0x01}, false, {0x12, 0x34}},
      {"write-read, silent: 4 attempts, preset", {1, 1, 1, 1, 0},
       [](Bus& b, auto& in) { return b.WriteRead(0x8E, {0x40, 0xA4, 0x11}, in); },
       Kind::WriteRead, 4, 0, 0x8E, 0x40A4, 2, {0x40, 0xA4, 0x11}, false, {0xFF, 0xFF}},
      {"write-read, third attempt answers", {1, 1, 0},
       [](Bus& b, auto& in) { return b.WriteRead(0x8E, {0x40, 0xA4, 0x11}, in); },
       Kind::WriteRead, 3, 0, 0x8E, 0x40A4, 2, {0x40, 0xA4, 0x11}, true, {0xAB, 0}},
      {"block, silent: 4 attempts, preset", {1, 1, 1, 1, 0},
       [](Bus& b, auto& in) { return b.ReadBlock(0xC6, 0x20, in); },
       Kind::Read, 4, 1, 0xC6, 0x20, 2, {0xFF, 0xFF}, false, {0xFF, 0xFF}},
      {"block, second attempt answers", {1, 0},
       [](Bus& b, auto& in) { return b.ReadBlock(0xC6, 0x20, in); },
       Kind::Read, 2, 1, 0xC6, 0x20, 2, {0x01, 0x02}, true, {0x01, 0x02}},
  };
  // clang-format on
  for (Case& c : cases) {
    FakeI2c fake;
    fake.results = c.results;
    fake.readData[0x40A4] = {0xAB};
    fake.readData[0x20] = {0x01, 0x02};
    Bus bus(fake);
    bus.handle = 7;
    std::vector<uint8_t> in = {0x12, 0x34};
    EXPECT_EQ(c.transfer(bus, in), c.answered) << c.what;
    ASSERT_EQ(fake.Count(c.kind), c.attempts) << c.what;
    ASSERT_EQ(fake.calls.size(), size_t(c.attempts)) << c.what;
    const FakeI2c::Call& last = fake.calls.back();
    EXPECT_EQ(last.handle, 7u) << c.what;
    EXPECT_EQ(last.mode, c.mode) << c.what;
    EXPECT_EQ(last.address, c.address) << c.what;
    EXPECT_EQ(last.sub, c.sub) << c.what;
    EXPECT_EQ(last.count, c.count) << c.what;
    EXPECT_EQ(last.bytes, c.bytes) << c.what;
    if (!c.in.empty()) {
      EXPECT_EQ(in, c.in) << c.what;
    }
  }
}

}  // namespace
