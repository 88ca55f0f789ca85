// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "bus/I2cLibrary.h"
#include "sim/SimDevice.h"
#include "sim/SimFrontend.h"

// Faults a board file can give a device.
struct SimFault {
  bool nak = false;    // never acknowledges
  int failFirst = 0;   // fails its first N transactions
  int failAfter = -1;  // fails every transaction after its first N (-1: never)
  // Polls, counted from 1, that find the chip without lock: each stretch
  // [first, last] drops the lock and the poll after it restores it.
  std::vector<std::pair<int, int>> unlockedPolls{};
};

// A virtual board: devices answer at their 8-bit addresses, the board opens
// for the listed board types, and live boards let their devices' signals
// wander with time.
class SimBoard : public I2cLibrary {
 public:
  SimBoard();

  std::vector<int> types{24};
  bool live = false;
  // The card's frontend node, and the driver faults it shows.
  SimFrontendFaults frontend;

  void AddDevice(int address, std::unique_ptr<SimDevice> device, SimFault fault = {});
  SimDevice* DeviceAt(int address) const;
  // Gives a device new faults while the board runs (a board that vanishes
  // and comes back); its transaction count starts again.
  void SetFault(int address, SimFault fault);
  // Tells the board that a poll of the monitor ended: the next one starts.
  void PollEnded() { ++pollsEnded_; }
  // Every transaction that reached the board, answered or not.
  long transactions() const { return transactions_; }
  // Bytes those transactions put on the wire: address bytes (one per
  // message), sub-addresses and data.
  long wireBytes() const { return wireBytes_; }
  // Every byte sent towards a chip: a write's sub-address and data, the
  // sub-address of a read and the write part of a write-read, which a chip
  // may take as a write as well.
  long bytesWritten() const { return bytesWritten_; }
  // Replaces the wall clock (seconds since start) that drives live devices.
  void SetClock(std::function<double()> clock) { clock_ = std::move(clock); }

  uint32_t velI2C_InitByType(int16_t boardType, int32_t reserved) override;
  uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                            int32_t count, uint8_t* buffer) override;
  uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                           int32_t count, uint8_t* buffer) override;
  uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1, int32_t reserved2,
                           int32_t writeCount, uint8_t* writeBuffer, int32_t reserved3,
                           int32_t reserved4, int32_t readCount, uint8_t* readBuffer) override;

  static constexpr uint32_t kHandle = 0x5100;

 private:
  struct Slot {
    std::unique_ptr<SimDevice> device;
    SimFault fault;
    int seen = 0;
  };
  // The device that takes a transaction, nullptr when nothing acknowledges.
  SimDevice* Take(uint32_t handle, int32_t address, int32_t count);

  std::map<int, Slot> devices_;
  uint32_t openHandle_ = 0;
  long transactions_ = 0;
  int pollsEnded_ = 0;
  long wireBytes_ = 0;
  long bytesWritten_ = 0;
  std::function<double()> clock_;
};
