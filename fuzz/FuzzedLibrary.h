// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>

#include "bus/I2cLibrary.h"

// A bus whose every answer comes from the fuzzer's bytes: whether a
// transaction succeeds and what a read hands back. When the bytes run out
// every transaction fails, as on a board that was unplugged.
class FuzzedLibrary : public I2cLibrary {
 public:
  FuzzedLibrary(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint32_t velI2C_InitByType(int16_t, int32_t) override { return 1; }
  uint8_t velI2C_WriteArray(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*) override {
    return Result();
  }
  uint8_t velI2C_ReadArray(uint32_t, int32_t, int32_t, int32_t, int32_t count,
                           uint8_t* buffer) override {
    uint8_t r = Result();
    if (r == 0) Fill(buffer, count);
    return r;
  }
  uint8_t velI2C_WriteRead(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*, int32_t, int32_t,
                           int32_t readCount, uint8_t* readBuffer) override {
    uint8_t r = Result();
    if (r == 0) Fill(readBuffer, readCount);
    return r;
  }

 private:
  uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
  // One transaction in eight fails.
  uint8_t Result() {
    if (pos_ >= size_) return 1;
    return Next() < 32 ? 1 : 0;
  }
  void Fill(uint8_t* buffer, int32_t count) {
    for (int32_t i = 0; i < count; ++i) buffer[i] = Next();
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};
