// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/CapturingI2cLibrary.h"

namespace {
constexpr uint8_t kRefused = 1;
}

uint32_t CapturingI2cLibrary::velI2C_InitByType(int16_t boardType, int32_t reserved) {
  uint32_t handle = ForwardingI2cLibrary::velI2C_InitByType(boardType, reserved);
  if (handle != 0 && openedType_ == 0) openedType_ = boardType;
  return handle;
}

uint8_t CapturingI2cLibrary::velI2C_WriteArray(uint32_t, int32_t, int32_t, int32_t, int32_t,
                                               uint8_t*) {
  ++refusedWrites_;
  return kRefused;
}

uint8_t CapturingI2cLibrary::velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address,
                                              int32_t sub, int32_t count, uint8_t* buffer) {
  uint8_t result =
      ForwardingI2cLibrary::velI2C_ReadArray(handle, mode, address, sub, count, buffer);
  if (count > 0)
    reads_.push_back({address, false, mode, sub, {}, {buffer, buffer + count}, result == 0});
  return result;
}

uint8_t CapturingI2cLibrary::velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1,
                                              int32_t reserved2, int32_t writeCount,
                                              uint8_t* writeBuffer, int32_t reserved3,
                                              int32_t reserved4, int32_t readCount,
                                              uint8_t* readBuffer) {
  uint8_t result = ForwardingI2cLibrary::velI2C_WriteRead(handle, address, reserved1, reserved2,
                                                          writeCount, writeBuffer, reserved3,
                                                          reserved4, readCount, readBuffer);
  if (readCount > 0)
    reads_.push_back({address,
                      true,
                      0,
                      0,
                      {writeBuffer, writeBuffer + writeCount},
                      {readBuffer, readBuffer + readCount},
                      result == 0});
  return result;
}
