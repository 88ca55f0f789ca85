// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/ReadOnlyI2cLibrary.h"

#include <gtest/gtest.h>

#include "support/FakeI2c.h"

namespace {

using K = FakeI2c::Call::Kind;

// Plain writes, with or without a sub-address, and write-reads or
// sub-address reads that read nothing (a plain write on the wire) fail
// without reaching the bus; reads, sub-address reads and write-reads pass
// with their bytes.
TEST(ReadOnlyI2cLibrary, RefusesPlainWritesAndPassesEveryRead) {
  FakeI2c fake;
  fake.readData[0x10] = {0x12, 0x34};
  ReadOnlyI2cLibrary guard(fake);
  EXPECT_EQ(guard.velI2C_InitByType(24, 0), 7u);

  uint8_t bytes[2] = {0xAA, 0xBB};
  EXPECT_EQ(guard.velI2C_WriteArray(7, 0, 0x32, 0, 2, bytes), 1);
  EXPECT_EQ(guard.velI2C_WriteArray(7, 1, 0x32, 0x10, 2, bytes), 1);
  EXPECT_EQ(guard.velI2C_WriteArray(7, 0, 0x32, 0, 0, bytes), 1);  // even an empty one
  uint8_t command[3] = {0xF2, 0x00, 0x01};
  EXPECT_EQ(guard.velI2C_WriteRead(7, 0x32, 0, 0, 3, command, 0, 0, 0, bytes), 1);
  EXPECT_EQ(guard.velI2C_ReadArray(7, 1, 0x32, 0xF2, 0, bytes), 1);
  EXPECT_EQ(fake.calls.size(), 1u);  // the open alone
  EXPECT_EQ(guard.refused(), 5);

  struct Case {
    const char* what;
    uint8_t (*call)(I2cLibrary&, uint8_t*);
    K kind;
  } reads[] = {
      {"sub-address read",
       [](I2cLibrary& l, uint8_t* b) { return l.velI2C_ReadArray(7, 1, 0x32, 0x10, 2, b); },
       K::Read},
      {"plain read",
       [](I2cLibrary& l, uint8_t* b) { return l.velI2C_ReadArray(7, 0, 0x32, 0x10, 2, b); },
       K::Read},
      {"write-read",
       [](I2cLibrary& l, uint8_t* b) {
         uint8_t reg = 0x10;
         return l.velI2C_WriteRead(7, 0x32, 0, 0, 1, &reg, 0, 0, 2, b);
       },
       K::WriteRead},
  };
  for (const Case& c : reads) {
    fake.calls.clear();
    uint8_t got[2] = {};
    EXPECT_EQ(c.call(guard, got), 0) << c.what;
    EXPECT_EQ(got[0], 0x12) << c.what;
    EXPECT_EQ(got[1], 0x34) << c.what;
    ASSERT_EQ(fake.calls.size(), 1u) << c.what;
    EXPECT_EQ(fake.calls[0].kind, c.kind) << c.what;
  }
  // A read's failure comes back as the library gave it.
  fake.results = {4};
  uint8_t got[1];
  EXPECT_EQ(guard.velI2C_ReadArray(7, 0, 0x32, 0, 1, got), 4);
  EXPECT_EQ(guard.refused(), 5);
}

}  // namespace
