// SPDX-License-Identifier: GPL-3.0-or-later
// Each chip model tells which of its registers gave the bytes of a read,
// numbered and sized as a board file sets them.
#include <gtest/gtest.h>

#include <map>

#include "sim/SimRegistry.h"

namespace {

SimRead SubRead(int32_t sub, std::vector<uint8_t> bytes, int32_t mode = 1) {
  return {false, mode, sub, {}, std::move(bytes)};
}
SimRead PlainRead(std::vector<uint8_t> bytes) { return {false, 0, 0, {}, std::move(bytes)}; }
SimRead WriteRead(std::vector<uint8_t> command, std::vector<uint8_t> bytes) {
  return {true, 0, 0, std::move(command), std::move(bytes)};
}

TEST(LearnRegisters, EachModelMapsItsReadsOntoRegisters) {
  struct Case {
    const char* chip;
    std::vector<SimRead> reads;  // in bus order
    std::map<long, long> registers;
  };
  const Case cases[] = {
      // 16-bit registers, most significant byte first; a plain read goes on
      // from where the last read stopped.
      {"s5h1409",
       {SubRead(0xF1, {0x82, 0xC0, 0x12, 0x34}), PlainRead({0xAB, 0xCD})},
       {{0xF1, 0x82C0}, {0xF2, 0x1234}, {0xF3, 0xABCD}}},
      // A lone high byte keeps the low byte read before; the later read wins.
      {"s5h1409", {SubRead(0x40, {0x01, 0x02}), SubRead(0x40, {0x7F})}, {{0x40, 0x7F02}}},
      // Byte registers behind 16-bit addresses, high address byte first.
      {"lgdt3305",
       {WriteRead({0x04, 0x13}, {0x01, 0x02, 0x03})},
       {{0x0413, 1}, {0x0414, 2}, {0x0415, 3}}},
      // The statistics block: five words, least significant byte first.
      {"sms1xxx",
       {SubRead(0,
                {0x82, 0x01, 0x02, 0x00, 1, 0, 0, 0, 7, 0, 0, 0, 0x18, 0, 0, 0, 0x3E, 0, 0, 0x80})},
       {{0x100, 0x00020182}, {0x101, 1}, {0x102, 7}, {0x103, 0x18}, {0x104, 0x8000003E}}},
      // Its byte registers through a write-read whose bytes are the address.
      {"mxl111sf", {WriteRead({0x00, 0x1F}, {0x73})}, {{0x1F, 0x73}}},
      // 12-bit addresses in the read command 0x40 | bits 11..8, bits 7..0, 0.
      {"au8522", {WriteRead({0x43, 0x11, 0x00}, {0x0D, 0x0E})}, {{0x311, 0x0D}, {0x312, 0x0E}}},
      // The library's mode 16 sends the sub-address as two bytes.
      {"si2165", {SubRead(0x02A4, {0xA3, 0x20}, 0x10)}, {{0x02A4, 0xA3}, {0x02A5, 0x20}}},
      {"tda18271", {SubRead(0x24, {0xA3, 0x10, 0x90})}, {{0x24, 0xA3}, {0x25, 0x10}, {0x26, 0x90}}},
      // Not learnt: a write command is no read of the AU8522; a 16-bit-address
      // chip needs two address bytes.
      {"au8522", {WriteRead({0x83, 0x11, 0x00}, {1})}, {}},
      {"lgdt3305", {WriteRead({0x04}, {1})}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chip);
    auto model = FindSimChip(c.chip)->make(false);
    std::map<long, long> learnt;
    for (const auto& read : c.reads) EXPECT_EQ(model->Learn(read, learnt), !c.registers.empty());
    EXPECT_EQ(learnt, c.registers);
  }
}

}  // namespace
