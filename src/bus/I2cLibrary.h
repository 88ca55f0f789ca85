// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// The board maker's I2C access library, as the rest of the program sees it.
// Addresses are the 8-bit (write) form; every call answers 0 for success and
// anything else for failure.
class I2cLibrary {
 public:
  virtual ~I2cLibrary() = default;

  // Returns a bus handle, 0 when no board of that type is present.
  virtual uint32_t velI2C_InitByType(int16_t boardType, int32_t reserved) = 0;

  // mode 1: the sub-address byte goes first; mode 0: plain write, sub ignored.
  virtual uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                                    int32_t count, uint8_t* buffer) = 0;

  // mode 1: write the sub-address, then read; mode 0: plain read.
  virtual uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                                   int32_t count, uint8_t* buffer) = 0;

  // Writes writeBuffer then reads readCount bytes from the same device in one transfer.
  // The four reserved arguments are always 0.
  virtual uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1,
                                   int32_t reserved2, int32_t writeCount, uint8_t* writeBuffer,
                                   int32_t reserved3, int32_t reserved4, int32_t readCount,
                                   uint8_t* readBuffer) = 0;
};

// What runs without a board: every open finds nothing.
class NoBoardLibrary : public I2cLibrary {
 public:
  uint32_t velI2C_InitByType(int16_t, int32_t) override { return 0; }
  uint8_t velI2C_WriteArray(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*) override {
    return 1;
  }
  uint8_t velI2C_ReadArray(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*) override {
    return 1;
  }
  uint8_t velI2C_WriteRead(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*, int32_t, int32_t,
                           int32_t, uint8_t*) override {
    return 1;
  }
};
