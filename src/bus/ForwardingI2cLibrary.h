// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "bus/I2cLibrary.h"

// A library layered over another: every call goes on to the inner library
// unchanged, so a layer overrides only the calls it refuses, and watches
// the others through Opened and Passed.
class ForwardingI2cLibrary : public I2cLibrary {
 public:
  explicit ForwardingI2cLibrary(I2cLibrary& inner) : inner_(inner) {}

  uint32_t velI2C_InitByType(int16_t boardType, int32_t reserved) override {
    uint32_t handle = inner_.velI2C_InitByType(boardType, reserved);
    Opened(boardType, reserved, handle);
    return handle;
  }
  uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                            int32_t count, uint8_t* buffer) override {
    uint8_t result = inner_.velI2C_WriteArray(handle, mode, address, sub, count, buffer);
    Passed({Transfer::Write, handle, mode, address, sub, buffer, count, nullptr, 0, result});
    return result;
  }
  uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                           int32_t count, uint8_t* buffer) override {
    uint8_t result = inner_.velI2C_ReadArray(handle, mode, address, sub, count, buffer);
    Passed({Transfer::Read, handle, mode, address, sub, nullptr, 0, buffer, count, result});
    return result;
  }
  uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1, int32_t reserved2,
                           int32_t writeCount, uint8_t* writeBuffer, int32_t reserved3,
                           int32_t reserved4, int32_t readCount, uint8_t* readBuffer) override {
    uint8_t result =
        inner_.velI2C_WriteRead(handle, address, reserved1, reserved2, writeCount, writeBuffer,
                                reserved3, reserved4, readCount, readBuffer);
    Passed({Transfer::WriteRead, handle, 0, address, 0, writeBuffer, writeCount, readBuffer,
            readCount, result});
    return result;
  }

 protected:
  // A transfer the inner library answered, with its buffers and counts as
  // the caller gave them (a count may be 0 or less).
  struct Transfer {
    enum Kind { Write, Read, WriteRead } kind;
    uint32_t handle;
    int32_t mode, address, sub;  // mode and sub: 0 for a write-read
    const uint8_t* written;
    int32_t writeCount;
    const uint8_t* read;
    int32_t readCount;
    uint8_t result;
  };
  virtual void Opened(int16_t /*boardType*/, int32_t /*reserved*/, uint32_t /*handle*/) {}
  virtual void Passed(const Transfer& /*transfer*/) {}

 private:
  I2cLibrary& inner_;
};
