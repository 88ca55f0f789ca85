// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/ReadOnlyI2cLibrary.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/FakeI2c.h"

namespace {

using K = FakeI2c::Call::Kind;
using B = std::vector<uint8_t>;

// Writes, and write-reads or sub-address reads that read nothing (a plain
// write on the wire), fail without reaching the bus; reads pass with their bytes.
TEST(ReadOnlyI2cLibrary, RefusesPlainWritesAndPassesEveryRead) {
  FakeI2c fake;
  fake.readData[0x10] = {0x12, 0x34};
  ReadOnlyI2cLibrary guard(fake);
  EXPECT_EQ(guard.velI2C_InitByType(24, 0), 7u);
  uint8_t reg = 0x10, command[3] = {0xF2, 0x00, 0x01};
  struct Case {
    const char* what;
    std::function<uint8_t(uint8_t*)> call;
    bool passes = false;
    K kind = K::Read;
  } cases[] = {
      {"plain write", [&](uint8_t* b) { return guard.velI2C_WriteArray(7, 0, 0x32, 0, 2, b); }},
      {"write-read of nothing",
       [&](uint8_t* b) { return guard.velI2C_WriteRead(7, 0x32, 0, 0, 3, command, 0, 0, 0, b); }},
      {"sub-address read of nothing",
       [&](uint8_t* b) { return guard.velI2C_ReadArray(7, 1, 0x32, 0xF2, 0, b); }},
      {"sub-address read",
       [&](uint8_t* b) { return guard.velI2C_ReadArray(7, 1, 0x32, 0x10, 2, b); }, true},
      {"plain read", [&](uint8_t* b) { return guard.velI2C_ReadArray(7, 0, 0x32, 0x10, 2, b); },
       true},
      {"write-read",
       [&](uint8_t* b) { return guard.velI2C_WriteRead(7, 0x32, 0, 0, 1, &reg, 0, 0, 2, b); }, true,
       K::WriteRead},
  };
  int refused = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake.calls.clear();
    B got = {0xAA, 0xBB};
    EXPECT_EQ(c.call(got.data()), c.passes ? 0 : 1);
    EXPECT_EQ(guard.refused(), refused += !c.passes);
    EXPECT_EQ(got, (c.passes ? B{0x12, 0x34} : B{0xAA, 0xBB}));
    ASSERT_EQ(fake.calls.size(), c.passes ? 1u : 0u);
    if (c.passes) {
      EXPECT_EQ(fake.calls[0].kind, c.kind);
    }
  }
  // A read's failure comes back as the library gave it.
  fake.results = {4};
  EXPECT_EQ(guard.velI2C_ReadArray(7, 0, 0x32, 0, 1, command), 4);
  EXPECT_EQ(guard.refused(), 3);
}

}  // namespace
