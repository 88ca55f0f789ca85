// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/TracingI2cLibrary.h"

#include <cstdio>
#include <string>

namespace {

std::string Hex(long v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lX", v);
  return text;
}

std::string Bytes(const uint8_t* buffer, int32_t count) {
  std::string text = "[";
  for (int32_t i = 0; buffer && i < count; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X", buffer[i]);
    if (i) text += ' ';
    text += byte;
  }
  return text + "]";
}

}  // namespace

uint32_t TracingI2cLibrary::velI2C_InitByType(int16_t boardType, int32_t reserved) {
  uint32_t handle = ForwardingI2cLibrary::velI2C_InitByType(boardType, reserved);
  out_ << "velI2C_InitByType(" << boardType << ", " << reserved << ") -> " << Hex(handle) << '\n';
  return handle;
}

uint8_t TracingI2cLibrary::velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address,
                                             int32_t sub, int32_t count, uint8_t* buffer) {
  std::string written = Bytes(buffer, count);
  uint8_t result =
      ForwardingI2cLibrary::velI2C_WriteArray(handle, mode, address, sub, count, buffer);
  out_ << "velI2C_WriteArray(" << Hex(handle) << ", " << mode << ", " << Hex(address) << ", "
       << Hex(sub) << ", " << count << ", " << written << ") -> " << int(result) << '\n';
  return result;
}

uint8_t TracingI2cLibrary::velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address,
                                            int32_t sub, int32_t count, uint8_t* buffer) {
  uint8_t result =
      ForwardingI2cLibrary::velI2C_ReadArray(handle, mode, address, sub, count, buffer);
  out_ << "velI2C_ReadArray(" << Hex(handle) << ", " << mode << ", " << Hex(address) << ", "
       << Hex(sub) << ", " << count << ") -> " << int(result) << ' ' << Bytes(buffer, count)
       << '\n';
  return result;
}

uint8_t TracingI2cLibrary::velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1,
                                            int32_t reserved2, int32_t writeCount,
                                            uint8_t* writeBuffer, int32_t reserved3,
                                            int32_t reserved4, int32_t readCount,
                                            uint8_t* readBuffer) {
  std::string written = Bytes(writeBuffer, writeCount);
  uint8_t result = ForwardingI2cLibrary::velI2C_WriteRead(handle, address, reserved1, reserved2,
                                                          writeCount, writeBuffer, reserved3,
                                                          reserved4, readCount, readBuffer);
  out_ << "velI2C_WriteRead(" << Hex(handle) << ", " << Hex(address) << ", " << writeCount << ", "
       << written << ", " << readCount << ") -> " << int(result) << ' '
       << Bytes(readBuffer, readCount) << '\n';
  return result;
}
