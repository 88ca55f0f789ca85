// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "bus/I2cLibrary.h"

// A library layered over another: every call goes on to the inner library
// unchanged, so a layer overrides only the calls it watches or refuses.
class ForwardingI2cLibrary : public I2cLibrary {
 public:
  explicit ForwardingI2cLibrary(I2cLibrary& inner) : inner_(inner) {}

  uint32_t velI2C_InitByType(int16_t boardType, int32_t reserved) override {
    return inner_.velI2C_InitByType(boardType, reserved);
  }
  uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                            int32_t count, uint8_t* buffer) override {
    return inner_.velI2C_WriteArray(handle, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                           int32_t count, uint8_t* buffer) override {
    return inner_.velI2C_ReadArray(handle, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1, int32_t reserved2,
                           int32_t writeCount, uint8_t* writeBuffer, int32_t reserved3,
                           int32_t reserved4, int32_t readCount, uint8_t* readBuffer) override {
    return inner_.velI2C_WriteRead(handle, address, reserved1, reserved2, writeCount, writeBuffer,
                                   reserved3, reserved4, readCount, readBuffer);
  }

 private:
  I2cLibrary& inner_;
};
