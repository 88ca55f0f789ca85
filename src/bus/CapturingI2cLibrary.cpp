// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/CapturingI2cLibrary.h"

namespace {
constexpr uint8_t kRefused = 1;
}

uint8_t CapturingI2cLibrary::velI2C_WriteArray(uint32_t, int32_t, int32_t, int32_t, int32_t,
                                               uint8_t*) {
  ++refusedWrites_;
  return kRefused;
}

void CapturingI2cLibrary::Opened(int16_t boardType, int32_t, uint32_t handle) {
  if (handle != 0 && openedType_ == 0) openedType_ = boardType;
}

void CapturingI2cLibrary::Passed(const Transfer& t) {
  if (t.readCount <= 0) return;
  Read read{t.address, t.kind == Transfer::WriteRead, t.mode, t.sub, {}, {}, t.result == 0};
  if (t.written && t.writeCount > 0) read.command.assign(t.written, t.written + t.writeCount);
  read.bytes.assign(t.read, t.read + t.readCount);
  reads_.push_back(std::move(read));
}
