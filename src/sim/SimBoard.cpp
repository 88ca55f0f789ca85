// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimBoard.h"

#include <chrono>
#include <utility>

SimBoard::SimBoard() {
  auto start = std::chrono::steady_clock::now();
  clock_ = [start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
}

void SimBoard::AddDevice(int address, std::unique_ptr<SimDevice> device, SimFault fault) {
  devices_[address] = Slot{std::move(device), std::move(fault), 0};
}

SimDevice* SimBoard::DeviceAt(int address) const {
  auto it = devices_.find(address);
  return it == devices_.end() ? nullptr : it->second.device.get();
}

uint32_t SimBoard::velI2C_InitByType(int16_t boardType, int32_t) {
  for (int type : types)
    if (type == boardType) return openHandle_ = kHandle + uint32_t(boardType);
  return 0;
}

void SimBoard::SetFault(int address, SimFault fault) {
  auto it = devices_.find(address);
  if (it == devices_.end()) return;
  it->second.device->DropLock(false);  // the new faults say when it drops again
  it->second.fault = std::move(fault);
  it->second.seen = 0;
}

SimDevice* SimBoard::Take(uint32_t handle, int32_t address, int32_t count) {
  ++transactions_;
  if (handle == 0 || handle != openHandle_ || count < 0 || count > 4096) return nullptr;
  auto it = devices_.find(address);
  if (it == devices_.end()) return nullptr;
  Slot& slot = it->second;
  if (slot.fault.nak) return nullptr;
  int seen = slot.seen++;
  if (seen < slot.fault.failFirst) return nullptr;
  if (slot.fault.failAfter >= 0 && seen >= slot.fault.failAfter) return nullptr;  // vanished
  if (live) slot.device->Advance(clock_());
  if (!slot.fault.unlockedPolls.empty()) {
    const int poll = pollsEnded_ + 1;
    bool unlocked = false;
    for (const auto& [first, last] : slot.fault.unlockedPolls)
      unlocked |= poll >= first && poll <= last;
    slot.device->DropLock(unlocked);
  }
  return slot.device.get();
}

uint8_t SimBoard::velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                                    int32_t count, uint8_t* buffer) {
  SimDevice* device = Take(handle, address, count);
  bytesWritten_ += (mode == 1) + (count > 0 ? count : 0);
  wireBytes_ += 1 + (mode == 1) + (count > 0 ? count : 0);
  return device && device->Write(mode, sub, buffer, count) ? 0 : 1;
}

uint8_t SimBoard::velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                                   int32_t count, uint8_t* buffer) {
  SimDevice* device = Take(handle, address, count);
  bytesWritten_ += mode == 1;
  wireBytes_ += (mode == 1 ? 3 : 1) + (count > 0 ? count : 0);
  return device && device->Read(mode, sub, buffer, count) ? 0 : 1;
}

uint8_t SimBoard::velI2C_WriteRead(uint32_t handle, int32_t address, int32_t, int32_t,
                                   int32_t writeCount, uint8_t* writeBuffer, int32_t, int32_t,
                                   int32_t readCount, uint8_t* readBuffer) {
  SimDevice* device = Take(handle, address, readCount < 0 || writeCount < 0 ? -1 : readCount);
  bytesWritten_ += writeCount > 0 ? writeCount : 0;
  wireBytes_ += 2 + (writeCount > 0 ? writeCount : 0) + (readCount > 0 ? readCount : 0);
  return device && device->WriteRead(writeBuffer, writeCount, readBuffer, readCount) ? 0 : 1;
}
