#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "bus/Bus.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"

// A FakeI2c where only the listed addresses acknowledge (the others fail and
// hand back nothing); every call is still recorded, so a test sees which
// addresses a probe tried.
class AddressedI2c : public FakeI2c {
 public:
  std::set<int> present;

  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    if (!present.count(address)) results.push_front(1);
    return FakeI2c::velI2C_ReadArray(h, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t r1, int32_t r2, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t r3, int32_t r4, int32_t readCount,
                           uint8_t* readBuffer) override {
    if (!present.count(address)) results.push_front(1);
    return FakeI2c::velI2C_WriteRead(h, address, r1, r2, writeCount, writeBuffer, r3, r4, readCount,
                                     readBuffer);
  }
  std::vector<int> Addresses() const {
    std::vector<int> a;
    for (const auto& c : calls) a.push_back(c.address);
    return a;
  }
};

// A driver under test over a scripted bus and a recording window.
template <typename Driver, typename Library = FakeI2c>
struct Rig {
  Library fake;
  Bus bus{fake};
  FakeView view;
  Driver driver{bus, view};
  Rig() { bus.handle = 7; }
  // A register of 16-bit addresses holding a 16-bit value, MSB first.
  void Set16(int reg, int value) { fake.readData[reg] = {uint8_t(value >> 8), uint8_t(value)}; }
  void Set8(int reg, int value) { fake.readData[reg] = {uint8_t(value)}; }
  std::vector<int> SubsRead() const {
    std::vector<int> subs;
    for (const auto& c : fake.calls) subs.push_back(c.sub);
    return subs;
  }
};

// A twenty-byte statistics block of five words, least significant byte first.
inline std::vector<uint8_t> StatsBlock(uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3,
                                       uint32_t d4) {
  std::vector<uint8_t> bytes;
  for (uint32_t w : {d0, d1, d2, d3, d4})
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(w >> (8 * i)));
  return bytes;
}

// What one poll sees of a driver on a built-in board found by detection.
struct PollView {
  std::string className, name;
  int16_t mode = -1;
  float snr = 0, avg = 0;
  int32_t color = 0;
  int16_t locks[5] = {};
  int16_t tps[6] = {};
};

inline PollView PollBuiltInBoard(const std::string& board, double seconds) {
  std::string error;
  auto sim = MakeBuiltInBoard(board, error);
  PollView p;
  if (!sim) return p;
  sim->SetClock([seconds] { return seconds; });
  Bus bus(*sim);
  bus.handle = sim->velI2C_InitByType(24, 0);
  FakeView view;
  Detection detection(BuiltInDrivers(bus, view));
  if (detection.Run() != 0) return p;
  Demodulator& d = *detection.current();
  p.className = detection.currentClass();
  p.name = d.name();
  p.mode = d.OperatingMode();
  int16_t reset = 1;
  p.snr = d.SNR(p.mode, p.avg, p.color, reset);
  d.GetLockStatus(p.locks[0], p.locks[1], p.locks[2], p.locks[3], p.locks[4]);
  d.GetTPS(p.tps[0], p.tps[1], p.tps[2], p.tps[3], p.tps[4], p.tps[5]);
  return p;
}
