// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "dvb/CapturedFrontend.h"
#include "dvb/FrontendDevice.h"

// Passes every call on to a frontend and keeps what it answered, for a
// capture to store: the last status, properties and version-3 numbers.
class CapturingFrontendDevice : public FrontendDevice {
 public:
  explicit CapturingFrontendDevice(FrontendDevice& device) : device_(device) {}
  const CapturedFrontend& captured() const { return captured_; }
  void Close(int fd) override { device_.Close(fd); }

 protected:
  // Only ever asked to open read-only, as every caller of the seam does.
  int Open(const std::string& path, int, int& error) override {
    return device_.OpenReadOnly(path, error);
  }
  int Ioctl(int fd, unsigned long request, void* argument, int& error) override;

 private:
  FrontendDevice& device_;
  CapturedFrontend captured_;
};
