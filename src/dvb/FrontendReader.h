// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include "dvb/FrontendDevice.h"
#include "dvb/KernelReading.h"

// Where the kernel's view of the signal comes from, one reading per poll.
class KernelSource {
 public:
  virtual ~KernelSource() = default;
  virtual KernelReading Poll() = 0;
};

// Reads a DVB frontend node the way a monitor may: opened read-only and
// non-blocking, so any number of readers can sit beside the application
// that tunes it; only the _IOR requests. Each poll asks for the status and
// for one FE_GET_PROPERTY of the delivery system, frequency, modulation
// and the eight statistics; only a driver whose statistics all have len 0
// is asked the version-3 questions instead.
class FrontendReader : public KernelSource {
 public:
  explicit FrontendReader(FrontendDevice& device = SystemFrontendDevice()) : device_(device) {}
  ~FrontendReader() override;

  // False with a message naming the node and why it cannot be read.
  bool Open(const std::string& path, std::string& error);
  // The driver's name for the frontend (FE_GET_INFO), empty if it gave none.
  const std::string& name() const { return name_; }

  KernelReading Poll() override;

 private:
  struct Counter {
    uint64_t errors, total;
  };
  // The rate of errors over total since the previous poll of this counter.
  static std::optional<double> Rate(std::optional<Counter>& previous,
                                    const std::optional<Counter>& now);
  void ReadVersion3(KernelReading& r);

  FrontendDevice& device_;
  int fd_ = -1;
  std::string path_, name_;
  std::optional<Counter> pre_, post_, blocks_;
};
