// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/Bus.h"

#include "bus/Bits.h"

void Bus::WriteReg8(int16_t address, int16_t sub, int16_t value) {
  uint8_t buffer[1] = {uint8_t(value & 255)};
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt)
    if (lib.velI2C_WriteArray(handle, 1, address, sub, 1, buffer) == 0) return;
}

void Bus::WriteReg16(int16_t address, int16_t sub, int16_t value) {
  uint8_t buffer[2] = {uint8_t(value / 256), uint8_t(value & 255)};
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt)
    if (lib.velI2C_WriteArray(handle, 1, address, sub, 2, buffer) == 0) return;
}

int16_t Bus::ReadReg8(int16_t address, int16_t sub) {
  uint8_t buffer[1];
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    buffer[0] = 0xFF;
    if (lib.velI2C_ReadArray(handle, 1, address, sub, 1, buffer) == 0) return buffer[0];
  }
  NoteFailedRead();
  return buffer[0];
}

int16_t Bus::ReadReg16(int16_t address, int16_t sub) {
  uint8_t buffer[2];
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    buffer[0] = buffer[1] = 0xFF;
    if (lib.velI2C_ReadArray(handle, 1, address, sub, 2, buffer) == 0)
      return MakeInt(buffer[0], buffer[1]);
  }
  NoteFailedRead();
  return MakeInt(buffer[0], buffer[1]);
}

int16_t Bus::ReadReg8Addr16(int16_t address, int16_t registerAddress) {
  uint8_t addressBytes[2] = {uint8_t((registerAddress & 0xFF00) >> 8),
                             uint8_t(registerAddress & 0xFF)};
  uint8_t result[1];
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    result[0] = 0xFF;
    if (lib.velI2C_WriteRead(handle, address, 0, 0, 2, addressBytes, 0, 0, 1, result) == 0)
      return result[0];
  }
  NoteFailedRead();
  return result[0];
}

bool Bus::Answers(int16_t address, int bytes, int32_t mode) {
  uint8_t buffer[2] = {0, 0};
  return lib.velI2C_ReadArray(handle, mode, address, 0, bytes, buffer) == 0;
}

bool Bus::WriteReadOnce(int16_t address, std::vector<uint8_t> out, std::span<uint8_t> in) {
  if (lib.velI2C_WriteRead(handle, address, 0, 0, int32_t(out.size()), out.data(), 0, 0,
                           int32_t(in.size()), in.data()) == 0)
    return true;
  NoteFailedRead();
  return false;
}

bool Bus::WriteRead(int16_t address, std::vector<uint8_t> out, std::span<uint8_t> in) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    for (uint8_t& b : in) b = 0xFF;
    if (lib.velI2C_WriteRead(handle, address, 0, 0, int32_t(out.size()), out.data(), 0, 0,
                             int32_t(in.size()), in.data()) == 0)
      return true;
  }
  NoteFailedRead();
  return false;
}

bool Bus::ReadBlock(int16_t address, int16_t sub, std::span<uint8_t> block) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    for (uint8_t& b : block) b = 0xFF;
    if (lib.velI2C_ReadArray(handle, 1, address, sub, int32_t(block.size()), block.data()) == 0)
      return true;
  }
  NoteFailedRead();
  return false;
}
