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

void TracingI2cLibrary::Opened(int16_t boardType, int32_t reserved, uint32_t handle) {
  out_ << "velI2C_InitByType(" << boardType << ", " << reserved << ") -> " << Hex(handle) << '\n';
}

void TracingI2cLibrary::Passed(const Transfer& t) {
  switch (t.kind) {
    case Transfer::Write:
      out_ << "velI2C_WriteArray(" << Hex(t.handle) << ", " << t.mode << ", " << Hex(t.address)
           << ", " << Hex(t.sub) << ", " << t.writeCount << ", " << Bytes(t.written, t.writeCount)
           << ") -> " << int(t.result) << '\n';
      break;
    case Transfer::Read:
      out_ << "velI2C_ReadArray(" << Hex(t.handle) << ", " << t.mode << ", " << Hex(t.address)
           << ", " << Hex(t.sub) << ", " << t.readCount << ") -> " << int(t.result) << ' '
           << Bytes(t.read, t.readCount) << '\n';
      break;
    case Transfer::WriteRead:
      out_ << "velI2C_WriteRead(" << Hex(t.handle) << ", " << Hex(t.address) << ", " << t.writeCount
           << ", " << Bytes(t.written, t.writeCount) << ", " << t.readCount << ") -> "
           << int(t.result) << ' ' << Bytes(t.read, t.readCount) << '\n';
      break;
  }
}
