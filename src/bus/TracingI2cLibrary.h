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

 protected:
  void Opened(int16_t boardType, int32_t reserved, uint32_t handle) override;
  void Passed(const Transfer& transfer) override;

 private:
  std::ostream& out_;
};
