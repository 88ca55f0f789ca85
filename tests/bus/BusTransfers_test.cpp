// SPDX-License-Identifier: GPL-3.0-or-later
// Each bus helper's attempts, what it sends and hands back from a silent
// device, and which failures count as unanswered reads.
#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "support/FakeI2c.h"

namespace {

using Kind = FakeI2c::Call::Kind;
using Got = std::vector<int>;  // a register's value, or whether answered and the buffer

TEST(BusTransfers, AttemptsArgumentsPresetsAndFailedReads) {
  auto buffer = [](bool answered, const std::vector<uint8_t>& in) {
    return Got{answered, in[0], in[1]};
  };
  struct Case {
    const char* what;
    std::deque<uint8_t> results;  // the device's answers, one per attempt; then failure
    std::function<Got(Bus&)> transfer;
    Kind kind;
    int attempts, mode, address, sub, count;
    std::vector<uint8_t> bytes;  // of the last attempt: written, or read into the buffer
    Got got;
    long failed;
    // clang-format off
  } cases[] = {
      {"8-bit read, silent", {}, [](Bus& b) { return Got{b.ReadReg8(0x32, 0x10)}; },
       Kind::Read, 4, 1, 0x32, 0x10, 1, {0xFF}, {255}, 1},
      {"8-bit read, third attempt answers", {1, 1, 0}, [](Bus& b) { return Got{b.ReadReg8(0x1C, 0x21)}; },
       Kind::Read, 3, 1, 0x1C, 0x21, 1, {0x5A}, {0x5A}, 0},
      {"16-bit read, silent", {}, [](Bus& b) { return Got{b.ReadReg16(0x32, 0x10)}; },
       Kind::Read, 4, 1, 0x32, 0x10, 2, {0xFF, 0xFF}, {-1}, 1},
      {"16-bit read: MSB first, signed", {0}, [](Bus& b) { return Got{b.ReadReg16(0x32, 0x33)}; },
       Kind::Read, 1, 1, 0x32, 0x33, 2, {0x80, 0x01}, {-32767}, 0},
      {"16-bit address read, silent", {}, [](Bus& b) { return Got{b.ReadReg8Addr16(0xB2, 0x0123)}; },
       Kind::WriteRead, 4, 0, 0xB2, 0x0123, 1, {0x01, 0x23}, {255}, 1},
      {"8-bit write, silent: 6 attempts, low byte", {}, [](Bus& b) { b.WriteReg8(0x1C, 0x05, 0x1FF); return Got{}; },
       Kind::Write, 6, 1, 0x1C, 0x05, 1, {0xFF}, {}, 0},
      {"16-bit write, silent: MSB first", {}, [](Bus& b) { b.WriteReg16(0x32, 0xF3, 0x1234); return Got{}; },
       Kind::Write, 6, 1, 0x32, 0xF3, 2, {0x12, 0x34}, {}, 0},
      {"16-bit write, second attempt answers", {1, 0}, [](Bus& b) { b.WriteReg16(0x1C, 0x21, 0x1234); return Got{}; },
       Kind::Write, 2, 1, 0x1C, 0x21, 2, {0x12, 0x34}, {}, 0},
      {"probe answers: buffer zeroed", {0}, [](Bus& b) { return Got{b.Answers(0x32, 2)}; },
       Kind::Read, 1, 0, 0x32, 0, 2, {0, 0}, {1}, 0},
      {"probe silent: no retry, not counted", {1, 0}, [](Bus& b) { return Got{b.Answers(0x8E, 1)}; },
       Kind::Read, 1, 0, 0x8E, 0, 1, {0}, {0}, 0},
      {"write-read once, silent: buffer kept", {1, 0},
       [&](Bus& b) { std::vector<uint8_t> in = {0x12, 0x34}; return buffer(b.WriteReadOnce(0x1C, {0x00, 0x01}, in), in); },
       Kind::WriteRead, 1, 0, 0x1C, 0x0001, 2, {0x00, 0x01}, {0, 0x12, 0x34}, 1},
      {"write-read, silent: 4 attempts, preset", {},
       [&](Bus& b) { std::vector<uint8_t> in = {0x12, 0x34}; return buffer(b.WriteRead(0x8E, {0x40, 0xA4, 0x11}, in), in); },
       Kind::WriteRead, 4, 0, 0x8E, 0x40A4, 2, {0x40, 0xA4, 0x11}, {0, 0xFF, 0xFF}, 1},
      {"write-read, third attempt answers", {1, 1, 0},
       [&](Bus& b) { std::vector<uint8_t> in = {0x12, 0x34}; return buffer(b.WriteRead(0x8E, {0x40, 0xA4, 0x11}, in), in); },
       Kind::WriteRead, 3, 0, 0x8E, 0x40A4, 2, {0x40, 0xA4, 0x11}, {1, 0xAB, 0}, 0},
      {"block, silent: 4 attempts, preset", {},
       [&](Bus& b) { std::vector<uint8_t> in = {0x12, 0x34}; return buffer(b.ReadBlock(0xC6, 0x20, in), in); },
       Kind::Read, 4, 1, 0xC6, 0x20, 2, {0xFF, 0xFF}, {0, 0xFF, 0xFF}, 1},
      {"block, second attempt answers", {1, 0},
       [&](Bus& b) { std::vector<uint8_t> in = {0x12, 0x34}; return buffer(b.ReadBlock(0xC6, 0x20, in), in); },
       Kind::Read, 2, 1, 0xC6, 0x20, 2, {0x01, 0x02}, {1, 0x01, 0x02}, 0},
  };
  // clang-format on
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeI2c fake;
    fake.results = c.results;
    fake.fallback = 1;
    fake.readData = {{0x21, {0x5A}}, {0x33, {0x80, 0x01}}, {0x40A4, {0xAB}}, {0x20, {0x01, 0x02}}};
    Bus bus(fake);
    bus.handle = 7;
    EXPECT_EQ(c.transfer(bus), c.got);
    EXPECT_EQ(bus.failedReads, c.failed);
    ASSERT_EQ(fake.Count(c.kind), c.attempts);
    ASSERT_EQ(fake.calls.size(), size_t(c.attempts));
    const FakeI2c::Call& last = fake.calls.back();
    EXPECT_EQ(std::vector<int>({int(last.handle), last.mode, last.address, last.sub, last.count}),
              std::vector<int>({7, c.mode, c.address, c.sub, c.count}));
    EXPECT_EQ(last.bytes, c.bytes);
  }
}

}  // namespace
