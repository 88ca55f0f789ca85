#pragma once
#include <deque>
#include <map>
#include <utility>

#include "support/FakeI2c.h"
#include "tuner/tda18271.h"

// A library on which chips answer only at the given (address, sub-address)
// places; everything else fails. A 39-byte read from sub-address 0 hands
// back the next queued image (the last one stays).
struct PlacedFake : FakeI2c {
  std::map<std::pair<int, int>, uint8_t> bytes;  // single registers
  std::map<int, std::deque<tda18271::Image>> images;  // by address

  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    uint8_t result = 1;
    if (auto it = images.find(address); it != images.end() && count == 39 && sub == 0) {
      std::copy(it->second.front().begin(), it->second.front().end(), buffer);
      if (it->second.size() > 1) it->second.pop_front();
      result = 0;
    } else if (auto b = bytes.find({address, sub}); b != bytes.end() && count == 1) {
      buffer[0] = b->second;
      result = 0;
    } else if (auto i = images.find(address); i != images.end() && count == 1) {
      buffer[0] = i->second.front()[sub];
      result = 0;
    }
    calls.push_back({Call::Read, h, mode, address, sub, count, {buffer, buffer + count}});
    return result;
  }
  std::vector<std::pair<int, int>> ReadPlaces() const {
    std::vector<std::pair<int, int>> places;
    for (const auto& c : calls)
      if (c.kind == Call::Read) places.push_back({c.address, c.sub});
    return places;
  }
  std::vector<std::pair<int, std::vector<uint8_t>>> Writes() const {
    std::vector<std::pair<int, std::vector<uint8_t>>> writes;
    for (const auto& c : calls)
      if (c.kind == Call::Write) writes.push_back({c.sub, c.bytes});
    return writes;
  }
};

inline tda18271::Image ImageWith(std::map<int, uint8_t> entries) {
  tda18271::Image image{};
  image[0] = 0x84;
  for (auto [i, v] : entries) image[i] = v;
  return image;
}
