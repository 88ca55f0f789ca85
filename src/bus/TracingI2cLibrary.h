// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <ostream>

#include "bus/ForwardingI2cLibrary.h"

// Passes every call on to another library and prints it, with its bytes and
// result, one line per call.
class TracingI2cLibrary : public ForwardingI2cLibrary {
 public:
  TracingI2cLibrary(I2cLibrary& inner, std::ostream& out)
      : ForwardingI2cLibrary(inner), out_(out) {}

  uint32_t velI2C_InitByType(int16_t boardType, int32_t reserved) override;
  uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                            int32_t count, uint8_t* buffer) override;
  uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                           int32_t count, uint8_t* buffer) override;
  uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1, int32_t reserved2,
                           int32_t writeCount, uint8_t* writeBuffer, int32_t reserved3,
                           int32_t reserved4, int32_t readCount, uint8_t* readBuffer) override;

 private:
  std::ostream& out_;
};
