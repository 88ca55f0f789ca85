// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <map>
#include <optional>

#include "dvb/CapturedFrontend.h"
#include "dvb/FrontendDevice.h"
#include "monitor/Reading.h"

// The faults real drivers have, as a board file's "frontend" object names
// them.
struct SimFrontendFaults {
  double cnrScale = 1;              // "cnr_scale": C/N reported times this
  int signalSign = 1;               // "signal_sign": -1 flips the sign of dBm
  bool v3Only = false;              // "stats": "v3": no version-5 statistics
  bool noWriter = false;            // "no_writer": the version-3 calls answer EAGAIN
  bool availableAfterLock = false;  // "available_after_lock": nothing before lock
  bool absent = false;              // "absent": the card has no frontend node
  // "captured": what a real driver answered, replayed as it was instead of
  // following the chip's signal.
  std::optional<CapturedFrontend> captured;
};

// The frontend node of a simulated card, with a driver that reports the
// signal the board's chip carries (the register view's reading of it), as
// a correct driver would: status from the lock, strength and C/N in dB,
// counters that grow each poll. It keeps the kernel's rules for a
// read-only open: only _IOR requests, version-3 calls EAGAIN without a
// writer. A captured frontend answers what it answered when captured.
class SimFrontend : public FrontendDevice {
 public:
  static constexpr const char* kNode = "sim:frontend0";
  // Bits and blocks the simulated driver counts between two polls.
  static constexpr uint64_t kBitsPerPoll = 1000000, kBlocksPerPoll = 1000;

  SimFrontend(const SimFrontendFaults& faults, std::function<const Reading&()> signal)
      : faults_(faults), signal_(std::move(signal)) {}

  void Close(int) override {}

 protected:
  int Open(const std::string& path, int flags, int& error) override;
  int Ioctl(int fd, unsigned long request, void* argument, int& error) override;

 private:
  void Update();  // the driver's cache from the current signal
  int V3(void* argument, uint64_t value, size_t size, int& error);

  SimFrontendFaults faults_;
  std::function<const Reading&()> signal_;
  bool readOnly_ = true;
  uint32_t status_ = 0, system_ = SYS_UNDEFINED, modulation_ = QAM_AUTO;
  uint32_t frequency_ = 575000000;
  std::map<uint32_t, dtv_stats> stats_;
  uint64_t preErrors_ = 0, postErrors_ = 0, bits_ = 0, blockErrors_ = 0, blocks_ = 0;
};
